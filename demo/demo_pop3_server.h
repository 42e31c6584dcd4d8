// The demo mailbox served over POP3 on 127.0.0.1, for trying Quillet without an account of
// one's own. Each connection runs a TDemoPop3Session; the server adds the wire rules: lines end
// with CR LF (a bare LF is taken too), several commands may arrive in one piece and are answered
// in order, a line longer than MaxLineLength bytes gets "-ERR" and the connection is closed, at
// most MaxConnections clients are served at once, and a client silent for IdleSeconds is logged
// out. Everything runs on the thread's event loop.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <string>

class QTcpServer;

namespace quillet {

class TDemoMailbox;

class TDemoPop3Server : public QObject {
    Q_OBJECT
public:
    static constexpr std::size_t MaxLineLength = 1000;
    static constexpr int MaxConnections = 8;
    // RFC 1939 asks for at least ten minutes before a silent client is logged out.
    static constexpr int IdleSeconds = 600;

    // Mailbox must outlive the server.
    TDemoPop3Server(TDemoMailbox& Mailbox, std::string UserName, std::string Password,
                    QObject* Owner = nullptr);
    ~TDemoPop3Server() override;

    // Starts listening on 127.0.0.1 at Port (0: a free port); false when that fails (ErrorText says why).
    bool Listen(std::uint16_t Port);
    std::uint16_t Port() const;
    QString ErrorText() const;
    // Clients connected now, refused ones not counted.
    int ConnectionCount() const;

private:
    void Accept();

    TDemoMailbox& FMailbox;
    const std::string FUserName;
    const std::string FPassword;
    QTcpServer* FServer;
};

} // namespace quillet

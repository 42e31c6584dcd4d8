// TLoopbackReceiver is the one-shot listener that receives the browser's redirect at the end of
// a sign-in (RFC 8252 section 7.3): it listens on 127.0.0.1 only, on a port the system picks,
// reads no more than a request line from each connection, takes the first request that answers
// the sign-in and stops listening then. Other requests (a browser's pre-connection, a favicon)
// get a small "not found" page. The browser that brought the answer waits for Respond.
#pragma once

#include "auth/redirect_request.h"

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

class QTcpServer;
class QTcpSocket;

namespace quillet {

class TLoopbackReceiver : public QObject {
    Q_OBJECT
public:
    explicit TLoopbackReceiver(QObject* Parent = nullptr);
    ~TLoopbackReceiver() override;

    // Starts listening on 127.0.0.1 at a free port; false (Why saying so) when it cannot.
    bool Listen(std::string& Why);
    bool Listening() const;
    std::uint16_t Port() const { return FPort; }
    // The address it listens (or listened) on.
    QHostAddress Address() const { return FAddress; }
    // Told the first request that answers the sign-in; no other is taken after it.
    std::function<void(const TRedirectRequest&)> OnAnswer;
    // Sends the browser that brought the answer a plain page, then closes its connection.
    void Respond(int Status, const std::string& Text);
    // Stops listening and drops every connection still open (the one being answered finishes
    // sending its page first).
    void Close();

private:
    void Accept();
    void Read(QTcpSocket* Socket);
    void Answer(QTcpSocket* Socket, int Status, const std::string& Text);

    QTcpServer* FServer;
    std::uint16_t FPort = 0;
    QHostAddress FAddress;
    std::map<QTcpSocket*, std::string> FReceived; // connections still being read
    QPointer<QTcpSocket> FAnswering;              // the browser waiting for the result
    bool FAnswered = false;
};

} // namespace quillet

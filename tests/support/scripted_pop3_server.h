// A POP3 server for tests that runs in-process on 127.0.0.1 (ephemeral port) and replays a
// transcript: expected client lines, server replies (whole or split into chunks written apart),
// silences, a close, and the next connection of the same client. It runs on the test's own
// thread through the event loop, so it answers while the client under test waits. Every client
// line that the transcript did not expect is reported by Errors().
#pragma once

#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QSslKey>
#include <cstdint>
#include <string>
#include <vector>

class QTcpServer;
class QTcpSocket;

namespace quillet::test {

class TScriptedPop3Server : public QObject {
    Q_OBJECT
public:
    TScriptedPop3Server();
    ~TScriptedPop3Server() override;

    // Transcript steps, replayed in order on the first connection.
    TScriptedPop3Server& Send(std::string Bytes);
    // Writes each chunk separately with GapMs of silence between them, so the client receives
    // them as separate pieces of data.
    TScriptedPop3Server& SendChunks(std::vector<std::string> Chunks, int GapMs = 40);
    // The next client line (without its CR LF) must be Line.
    TScriptedPop3Server& Expect(std::string Line);
    TScriptedPop3Server& Silence(int Ms);
    // Closes the connection (after what was written has been sent).
    TScriptedPop3Server& Close();
    // The rest of the transcript is played on the client's next connection (a re-check on the
    // same port); this connection is closed once what came before was played.
    TScriptedPop3Server& NextConnection();
    // Starts TLS as the server side with this certificate and key; the transcript goes on once
    // the handshake is done (a client that fails it leaves the rest unplayed). Issuers, when
    // given, are sent after the certificate, as a server does that presents its whole chain.
    TScriptedPop3Server& StartTls(const QSslCertificate& Certificate, const QSslKey& Key,
                                  const QList<QSslCertificate>& Issuers = {});

    // Starts listening; false when no port could be had.
    bool Listen();
    std::uint16_t Port() const;

    // Every line the client sent, in order.
    const std::vector<std::string>& Received() const { return FReceived; }
    // The same lines grouped by the read that brought them: what the client wrote at once (a
    // small write over the loopback arrives whole) forms one group, and a client that waits for
    // a reply before it writes again starts a new group, so the groups count its round trips.
    const std::vector<std::vector<std::string>>& Arrivals() const { return FArrivals; }
    // Mismatches, unexpected lines (also those still unread), and extra connections.
    std::vector<std::string> Errors() const;
    // True when every step of the transcript has run.
    bool Finished() const { return FNext >= FSteps.size(); }

private:
    struct TStep {
        enum Kind { kSend, kChunks, kExpect, kSilence, kClose, kStartTls, kNextConnection } kind;
        std::string text;
        std::vector<std::string> chunks;
        int ms = 0;
    };

    void Accept();
    void ReadLines();
    void Advance();
    void Write(const std::string& Bytes);

    std::vector<TStep> FSteps;
    std::size_t FNext = 0;
    std::size_t FChunkIndex = 0;
    bool FPaused = false; // a timer will resume the transcript
    QTcpServer* FServer;
    QTcpSocket* FClient = nullptr;
    std::string FBuffer;
    std::vector<std::string> FPending;
    std::vector<std::string> FReceived;
    std::vector<std::vector<std::string>> FArrivals;
    std::vector<std::string> FErrors;
    QList<QSslCertificate> FChain; // the server's certificate first, then its issuers
    QSslKey FKey;
};

} // namespace quillet::test

#include "tests/support/scripted_pop3_server.h"

#include <QHostAddress>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace quillet::test {

namespace {

// Hands out TLS-capable sockets, so that a transcript can start TLS on its connection.
class TTlsCapableServer : public QTcpServer {
public:
    using QTcpServer::QTcpServer;

protected:
    void incomingConnection(qintptr Descriptor) override {
        auto* socket = new QSslSocket(this);
        if (socket->setSocketDescriptor(Descriptor))
            addPendingConnection(socket);
        else
            delete socket;
    }
};

// A client line as failure messages show it: a SASL response, which carries an access token,
// only by its length (on the AUTH line, or on a line of its own: long and without a space).
std::string Shown(const std::string& Line) {
    const std::size_t space = Line.find(' ', 5);
    if (Line.starts_with("AUTH ") && space != std::string::npos)
        return Line.substr(0, space) + " <response of " + std::to_string(Line.size() - space - 1) +
               " characters>";
    if (Line.size() > 40 && Line.find(' ') == std::string::npos)
        return "<response of " + std::to_string(Line.size()) + " characters>";
    return Line;
}

} // namespace

TScriptedPop3Server::TScriptedPop3Server() : FServer(new TTlsCapableServer(this)) {
    connect(FServer, &QTcpServer::newConnection, this, &TScriptedPop3Server::Accept);
}

TScriptedPop3Server::~TScriptedPop3Server() {
    if (FClient)
        FClient->disconnect(this);
}

TScriptedPop3Server& TScriptedPop3Server::Send(std::string Bytes) {
    FSteps.push_back({TStep::kSend, std::move(Bytes), {}, 0});
    return *this;
}

TScriptedPop3Server& TScriptedPop3Server::SendChunks(std::vector<std::string> Chunks, int GapMs) {
    FSteps.push_back({TStep::kChunks, {}, std::move(Chunks), GapMs});
    return *this;
}

TScriptedPop3Server& TScriptedPop3Server::Expect(std::string Line) {
    FSteps.push_back({TStep::kExpect, std::move(Line), {}, 0});
    return *this;
}

TScriptedPop3Server& TScriptedPop3Server::Silence(int Ms) {
    FSteps.push_back({TStep::kSilence, {}, {}, Ms});
    return *this;
}

TScriptedPop3Server& TScriptedPop3Server::Close() {
    FSteps.push_back({TStep::kClose, {}, {}, 0});
    return *this;
}

TScriptedPop3Server& TScriptedPop3Server::NextConnection() {
    FSteps.push_back({TStep::kNextConnection, {}, {}, 0});
    return *this;
}

TScriptedPop3Server& TScriptedPop3Server::StartTls(const QSslCertificate& Certificate, const QSslKey& Key,
                                                   const QList<QSslCertificate>& Issuers) {
    FChain = QList<QSslCertificate>{Certificate} + Issuers;
    FKey = Key;
    FSteps.push_back({TStep::kStartTls, {}, {}, 0});
    return *this;
}

bool TScriptedPop3Server::Listen() {
    return FServer->listen(QHostAddress::LocalHost, 0);
}

std::uint16_t TScriptedPop3Server::Port() const {
    return FServer->serverPort();
}

std::vector<std::string> TScriptedPop3Server::Errors() const {
    std::vector<std::string> errors = FErrors;
    for (const auto& line : FPending)
        errors.push_back("unexpected client line '" + Shown(line) + "'");
    return errors;
}

void TScriptedPop3Server::Accept() {
    while (QTcpSocket* socket = FServer->nextPendingConnection()) {
        if (FClient) {
            FErrors.push_back("unexpected second connection");
            socket->abort();
            socket->deleteLater();
            continue;
        }
        FClient = socket;
        connect(FClient, &QIODevice::readyRead, this, &TScriptedPop3Server::ReadLines);
        Advance();
    }
}

void TScriptedPop3Server::ReadLines() {
    const QByteArray bytes = FClient->readAll();
    FBuffer.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    std::vector<std::string> arrived;
    std::size_t end;
    while ((end = FBuffer.find('\n')) != std::string::npos) {
        std::string line = FBuffer.substr(0, end);
        FBuffer.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        FReceived.push_back(line);
        FPending.push_back(line);
        arrived.push_back(line);
    }
    if (!arrived.empty())
        FArrivals.push_back(std::move(arrived));
    Advance();
}

void TScriptedPop3Server::Write(const std::string& Bytes) {
    FClient->write(Bytes.data(), static_cast<qint64>(Bytes.size()));
    FClient->flush();
}

void TScriptedPop3Server::Advance() {
    while (!FPaused && FClient && FNext < FSteps.size()) {
        TStep& step = FSteps[FNext];
        switch (step.kind) {
        case TStep::kSend:
            Write(step.text);
            ++FNext;
            break;
        case TStep::kChunks:
            if (FChunkIndex < step.chunks.size())
                Write(step.chunks[FChunkIndex++]);
            if (FChunkIndex >= step.chunks.size()) {
                FChunkIndex = 0;
                ++FNext;
                break;
            }
            FPaused = true;
            QTimer::singleShot(step.ms, Qt::PreciseTimer, this, [this] {
                FPaused = false;
                Advance();
            });
            return;
        case TStep::kExpect:
            if (FPending.empty())
                return; // wait for the client
            if (FPending.front() != step.text)
                FErrors.push_back("expected '" + Shown(step.text) + "', got '" + Shown(FPending.front()) +
                                  "'");
            FPending.erase(FPending.begin());
            ++FNext;
            break;
        case TStep::kSilence:
            ++FNext;
            FPaused = true;
            QTimer::singleShot(step.ms, Qt::PreciseTimer, this, [this] {
                FPaused = false;
                Advance();
            });
            return;
        case TStep::kClose:
            ++FNext;
            FClient->disconnectFromHost();
            return;
        case TStep::kNextConnection:
            // Lines still pending were not expected on this connection.
            for (const auto& line : FPending)
                FErrors.push_back("unexpected client line '" + Shown(line) + "'");
            FPending.clear();
            ++FNext;
            FClient->disconnect(this);
            FClient->disconnectFromHost();
            FClient = nullptr;
            FBuffer.clear();
            return; // the next connection plays on
        case TStep::kStartTls: {
            ++FNext;
            auto* tls = static_cast<QSslSocket*>(FClient);
            QSslConfiguration config = tls->sslConfiguration();
            config.setLocalCertificateChain(FChain);
            config.setPrivateKey(FKey);
            tls->setSslConfiguration(config);
            FPaused = true;
            connect(tls, &QSslSocket::encrypted, this, [this] {
                FPaused = false;
                Advance();
            });
            connect(tls, &QSslSocket::sslErrors, this, [](const QList<QSslError>&) {});
            tls->startServerEncryption();
            return;
        }
        }
    }
}

} // namespace quillet::test

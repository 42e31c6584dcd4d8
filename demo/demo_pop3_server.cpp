#include "demo/demo_pop3_server.h"

#include "demo/demo_pop3_session.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace quillet {

namespace {

// Past this many unsent reply bytes the connection stops reading commands until the client
// has taken some: a client that pipelines RETR after RETR without reading cannot make the
// server hold its whole mailbox many times over.
constexpr qint64 MaxPendingOutput = 1024 * 1024;
constexpr qint64 ReadPiece = 4096;

// One client: its socket, its session and the bytes of a command line not yet complete.
class TDemoConnection : public QObject {
    Q_OBJECT
public:
    TDemoConnection(QTcpSocket* Socket, TDemoMailbox& Mailbox, const std::string& UserName,
                    const std::string& Password, QObject* Owner)
        : QObject(Owner), FSocket(Socket), FSession(Mailbox, UserName, Password), FIdle(new QTimer(this)) {
        FSocket->setParent(this);
        FSocket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        // Qt stops taking bytes from the network when this is full, so a client that floods
        // the server is held back by TCP itself.
        FSocket->setReadBufferSize(64 * 1024);
        FIdle->setSingleShot(true);
        FIdle->setInterval(TDemoPop3Server::IdleSeconds * 1000);
        connect(FIdle, &QTimer::timeout, this, [this] { Refuse("autologout: idle for too long"); });
        connect(FSocket, &QIODevice::readyRead, this, &TDemoConnection::Pump);
        connect(FSocket, &QIODevice::bytesWritten, this, &TDemoConnection::Pump);
        connect(FSocket, &QAbstractSocket::disconnected, this, &TDemoConnection::Gone);
        Write(TDemoPop3Session::Greeting());
        FIdle->start();
    }

    ~TDemoConnection() override {
        // The socket goes after this object; what it reports on its way out is not for us.
        FSocket->disconnect(this);
        FSocket->abort();
    }

    // False once the connection is closing or closed.
    bool Live() const { return !FClosing; }

private:
    void Write(const std::string& Bytes) { FSocket->write(Bytes.data(), static_cast<qint64>(Bytes.size())); }

    // Answers every complete line, in order, as far as the output allowance reaches.
    void Pump() {
        while (!FClosing && FSocket->bytesToWrite() <= MaxPendingOutput) {
            const std::size_t lf = FBuffer.find('\n');
            if (lf == std::string::npos) {
                // The longest line allowed, plus its CR, may still be waiting for its LF.
                if (FBuffer.size() > TDemoPop3Server::MaxLineLength + 1) {
                    Refuse("line too long");
                    return;
                }
                if (FSocket->bytesAvailable() <= 0)
                    return;
                const QByteArray piece = FSocket->read(ReadPiece);
                FBuffer.append(piece.constData(), static_cast<std::size_t>(piece.size()));
                FIdle->start();
                continue;
            }
            std::string_view line(FBuffer.data(), lf);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            if (line.size() > TDemoPop3Server::MaxLineLength) {
                Refuse("line too long");
                return;
            }
            Write(FSession.Reply(line));
            FBuffer.erase(0, lf + 1);
            if (FSession.Ended()) {
                Close();
                return;
            }
        }
    }

    void Refuse(const std::string& Why) {
        if (FClosing)
            return;
        Write("-ERR " + Why + "\r\n");
        Close();
    }

    // Closes once everything written has been sent.
    void Close() {
        FClosing = true;
        FIdle->stop();
        FBuffer.clear();
        FSocket->disconnectFromHost();
    }

    void Gone() {
        FClosing = true;
        FIdle->stop();
        deleteLater();
    }

    QTcpSocket* FSocket;
    TDemoPop3Session FSession;
    QTimer* FIdle;
    std::string FBuffer;
    bool FClosing = false;
};

} // namespace

TDemoPop3Server::TDemoPop3Server(TDemoMailbox& Mailbox, std::string UserName, std::string Password,
                                 QObject* Owner)
    : QObject(Owner), FMailbox(Mailbox), FUserName(std::move(UserName)), FPassword(std::move(Password)),
      FServer(new QTcpServer(this)) {
    connect(FServer, &QTcpServer::newConnection, this, &TDemoPop3Server::Accept);
}

TDemoPop3Server::~TDemoPop3Server() = default;

bool TDemoPop3Server::Listen(std::uint16_t Port) {
    return FServer->listen(QHostAddress::LocalHost, Port);
}

std::uint16_t TDemoPop3Server::Port() const {
    return FServer->serverPort();
}

QString TDemoPop3Server::ErrorText() const {
    return FServer->errorString();
}

int TDemoPop3Server::ConnectionCount() const {
    int count = 0;
    for (const TDemoConnection* connection : findChildren<TDemoConnection*>(Qt::FindDirectChildrenOnly))
        count += connection->Live() ? 1 : 0;
    return count;
}

void TDemoPop3Server::Accept() {
    while (QTcpSocket* socket = FServer->nextPendingConnection()) {
        if (ConnectionCount() >= MaxConnections) {
            socket->write("-ERR too many connections, try again later\r\n");
            connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
            socket->disconnectFromHost();
            continue;
        }
        new TDemoConnection(socket, FMailbox, FUserName, FPassword, this);
    }
}

} // namespace quillet

#include "demo_pop3_server.moc"

#include "auth/loopback_receiver.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>

namespace quillet {

TLoopbackReceiver::TLoopbackReceiver(QObject* Parent) : QObject(Parent), FServer(new QTcpServer(this)) {
    connect(FServer, &QTcpServer::newConnection, this, &TLoopbackReceiver::Accept);
}

TLoopbackReceiver::~TLoopbackReceiver() {
    Close();
}

bool TLoopbackReceiver::Listen(std::string& Why) {
    Close();
    FAnswered = false;
    // The loopback address only: no other machine can reach the listener.
    if (!FServer->listen(QHostAddress(QHostAddress::LocalHost), 0)) {
        Why = QCoreApplication::translate("OAuth", "cannot wait for the browser on this machine (%1)")
                  .arg(FServer->errorString())
                  .toStdString();
        return false;
    }
    FPort = FServer->serverPort();
    FAddress = FServer->serverAddress();
    return true;
}

bool TLoopbackReceiver::Listening() const {
    return FServer->isListening();
}

void TLoopbackReceiver::Accept() {
    while (QTcpSocket* socket = FServer->nextPendingConnection()) {
        if (FAnswered) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        FReceived[socket];
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            FReceived.erase(socket);
            socket->deleteLater();
        });
    }
}

void TLoopbackReceiver::Read(QTcpSocket* Socket) {
    const auto found = FReceived.find(Socket);
    if (found == FReceived.end())
        return;
    std::string& received = found->second;
    // A request line, and no more: what follows it is never needed.
    const qint64 room = static_cast<qint64>(MaxRedirectRequestLine + 2 - received.size());
    received += Socket->read(std::max<qint64>(room, 0)).toStdString();
    Socket->readAll(); // the rest of the request is not looked at
    const TRedirectRequest request = ParseRedirectRequest(received);
    if (!request.Complete)
        return;
    FReceived.erase(found);
    if (!request.Valid) {
        Answer(Socket, 400, QCoreApplication::translate("OAuth", "Bad request.").toStdString());
        return;
    }
    if (!request.IsAnswer() || FAnswered) {
        Answer(Socket, 404, QCoreApplication::translate("OAuth", "Not found.").toStdString());
        return;
    }
    FAnswered = true;
    FAnswering = Socket;
    FServer->close(); // one answer only
    if (OnAnswer)
        OnAnswer(request);
}

void TLoopbackReceiver::Answer(QTcpSocket* Socket, int Status, const std::string& Text) {
    Socket->disconnect(this);
    connect(Socket, &QTcpSocket::disconnected, Socket, &QObject::deleteLater);
    Socket->write(QByteArray::fromStdString(HttpPage(Status, Text)));
    Socket->disconnectFromHost(); // after the page has gone out
}

void TLoopbackReceiver::Respond(int Status, const std::string& Text) {
    if (FAnswering.isNull())
        return;
    QTcpSocket* socket = FAnswering;
    FAnswering.clear();
    Answer(socket, Status, Text);
}

void TLoopbackReceiver::Close() {
    FServer->close();
    for (auto& [socket, received] : FReceived) {
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
    FReceived.clear();
    if (!FAnswering.isNull()) {
        FAnswering->abort();
        FAnswering->deleteLater();
        FAnswering.clear();
    }
}

} // namespace quillet

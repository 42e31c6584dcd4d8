#include "mail/socket_conversation.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QHostAddress>
#include <QSslSocket>
#include <QTimer>
#include <algorithm>
#include <climits>

namespace quillet {

namespace {

std::int32_t ClampLength(std::size_t N) {
    return static_cast<std::int32_t>(std::min<std::size_t>(N, INT32_MAX));
}

bool EndsWith(const std::string& S, const std::string& Tail) {
    return S.size() >= Tail.size() && S.compare(S.size() - Tail.size(), Tail.size(), Tail) == 0;
}

} // namespace

std::uint8_t ErrorKindFor(QAbstractSocket::SocketError Error, QAbstractSocket::SocketState State) {
    switch (Error) {
    case QAbstractSocket::ConnectionRefusedError:
    case QAbstractSocket::HostNotFoundError:
    case QAbstractSocket::ProxyAuthenticationRequiredError:
    case QAbstractSocket::ProxyConnectionRefusedError:
    case QAbstractSocket::ProxyConnectionClosedError:
    case QAbstractSocket::ProxyConnectionTimeoutError:
    case QAbstractSocket::ProxyNotFoundError:
    case QAbstractSocket::ProxyProtocolError:
        return ekConnect;
    case QAbstractSocket::RemoteHostClosedError:
        return ekDisconnect;
    case QAbstractSocket::SocketTimeoutError:
    case QAbstractSocket::NetworkError:
        // A failure on an established connection is a receive error; before that, a connect error.
        if (State == QAbstractSocket::ConnectedState || State == QAbstractSocket::ClosingState)
            return ekReceive;
        return ekConnect;
    default:
        return ekGeneral;
    }
}

TSocketConversation::TSocketConversation(QObject* Owner)
    : QObject(Owner), FSocket(new QSslSocket(this)), FReplyTimer(new QTimer(this)) {
    FReplyTimer->setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the time-out is a promise of that much silence.
    FReplyTimer->setTimerType(Qt::PreciseTimer);
    connect(FReplyTimer, &QTimer::timeout, this, &TSocketConversation::TimedOut);
    connect(FSocket, &QIODevice::readyRead, this, &TSocketConversation::DataReadable);
    connect(FSocket, &QAbstractSocket::disconnected, this, &TSocketConversation::Disconnected);
    connect(FSocket, &QAbstractSocket::errorOccurred, this, &TSocketConversation::SocketError);
    connect(FSocket, &QIODevice::bytesWritten, this, [this] { Wake(); });
}

TSocketConversation::~TSocketConversation() {
    // Leave no hook to run from the socket's own teardown.
    FSocket->disconnect(this);
    FReplyTimer->stop();
}

bool TSocketConversation::Active() const {
    return FSocket->state() == QAbstractSocket::ConnectedState;
}

bool TSocketConversation::Opened() const {
    return FSocket->state() != QAbstractSocket::UnconnectedState;
}

void TSocketConversation::Open() {
    if (!Address.empty())
        FSocket->connectToHost(QHostAddress(QString::fromStdString(Address)), Port);
    else
        FSocket->connectToHost(QString::fromStdString(HostName), Port);
}

void TSocketConversation::Close() {
    FSocket->abort();
    // A socket that never connected raises no close notification: end the wait the same way.
    if (Waiting)
        EndWaitByClose();
}

void TSocketConversation::StartTimer() {
    if (TimeOut <= 0)
        return; // no time-out: the wait ends only by the reply, an error, a close or Cancel
    const std::int32_t seconds = std::min<std::int32_t>(TimeOut, INT_MAX / 1000);
    FReplyTimer->start(seconds * 1000);
}

void TSocketConversation::Report(std::int32_t Total, std::int32_t Current) {
    if (OnProgress)
        OnProgress(parent(), Total, Current);
}

void TSocketConversation::PrepareWait(std::uint8_t Code) {
    Terminator.clear();
    ReplyText.clear();
    StartTimer();
    ExpectedSize = 0;
    ErrorKind = ekNone;
    TalkCode = Code;
    Waiting = true;
    ReplyOK = false;
    ReplyTooLong = false;
    FReplyBreaks = 0;
}

bool TSocketConversation::SendPiece(const std::string& Piece) {
    if (FSocket->write(Piece.data(), static_cast<qint64>(Piece.size())) < 0)
        return false;
    // Hand the command to the network now rather than on the next pass of the event loop.
    FSocket->flush();
    return true;
}

void TSocketConversation::Talk(const std::string& Data, const std::string& NewTerminator, std::uint8_t Code) {
    Terminator = NewTerminator;
    TalkCode = Code;
    ReplyText.clear();
    ErrorKind = ekNone;
    Waiting = true;
    ReplyOK = false;
    ReplyTooLong = false;
    FReplyBreaks = 0;

    const std::int32_t length = ClampLength(Data.size());
    if (PacketSize > 0 && Data.size() > static_cast<std::size_t>(PacketSize)) {
        Report(length, 0);
        std::size_t p = 0;
        while (p < Data.size()) {
            QCoreApplication::processEvents();
            if (!Waiting)
                break; // the connection closed or failed meanwhile: the rest has nowhere to go
            const std::size_t n =
                std::min<std::size_t>(static_cast<std::size_t>(PacketSize), Data.size() - p);
            StartTimer();
            if (!SendPiece(Data.substr(p, n))) {
                EndWaitByError(ekSend);
                break;
            }
            // Let the socket hand the piece to the network before the next one, so that a long
            // upload neither piles up in memory nor freezes the window.
            RunLoopUntil([this] { return FSocket->bytesToWrite() == 0 || !Waiting || !Active(); });
            FReplyTimer->stop();
            if (!Waiting)
                break;
            p += n;
            Report(length, ClampLength(p));
        }
        if (Waiting)
            Report(length, length);
    } else if (!SendPiece(Data)) {
        EndWaitByError(ekSend);
    }
    PacketSize = 0;
}

void TSocketConversation::WaitReply() {
    const auto done = [this] { return !Waiting || ReplyOK; };
    if (!done() && !FReplyTimer->isActive())
        StartTimer();
    RunLoopUntil(done);
    FReplyTimer->stop();
}

void TSocketConversation::RunLoopUntil(const std::function<bool()>& Done) {
    if (Done())
        return;
    QEventLoop loop;
    QEventLoop* const outerLoop = FLoop;
    std::function<bool()> outerDone = std::move(FLoopDone);
    FLoop = &loop;
    FLoopDone = Done;
    loop.exec();
    FLoop = outerLoop;
    FLoopDone = std::move(outerDone);
}

void TSocketConversation::Wake() {
    if (FLoop && FLoopDone && FLoopDone())
        FLoop->quit();
}

void TSocketConversation::Cancel() {
    FReplyTimer->stop();
    ErrorKind = ekNone;
    TalkCode = 0;
    Terminator.clear();
    ExpectedSize = 0;
    Waiting = false;
    ReplyOK = false;
    Wake();
}

void TSocketConversation::DataReadable() {
    const QByteArray bytes = FSocket->readAll();
    if (bytes.isEmpty())
        return;
    // Lines cost memory of their own when a reply is cut into lines, so a flood of empty lines
    // is bounded as well as the bytes.
    FReplyBreaks += std::count_if(bytes.begin(), bytes.end(), [](char c) { return c == '\r' || c == '\n'; });
    const bool tooManyBytes = static_cast<std::int64_t>(ReplyText.size()) + bytes.size() > MaxReplySize;
    if (tooManyBytes || FReplyBreaks > MaxReplyLineBreaks) {
        ReplyText = tooManyBytes ? "Reply too long: more than " + std::to_string(MaxReplySize) +
                                       " bytes arrived; the connection was dropped"
                                 : "Reply too long: more than " + std::to_string(MaxReplyLineBreaks / 2) +
                                       " lines arrived; the connection was dropped";
        ReplyTooLong = true;
        EndWaitByError(ekReceive);
        FSocket->abort();
        return;
    }
    const std::string chunk(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    ReplyText += chunk;
    ErrorKind = ekNone;
    FReplyTimer->stop();
    if (OnReceiveData)
        OnReceiveData(this, TalkCode, ReplyOK, chunk);
    if (ExpectedSize > 0)
        Report(ExpectedSize, ClampLength(ReplyText.size()));
    if (!Terminator.empty() && !EndsWith(ReplyText, Terminator)) {
        if (Waiting)
            StartTimer();
        Wake();
        return;
    }
    ErrorKind = ekNone;
    ExpectedSize = 0;
    Terminator.clear();
    Waiting = false;
    if (OnReplyReady)
        OnReplyReady(this, TalkCode, ReplyOK, ReplyText);
    TalkCode = 0;
    Wake();
}

void TSocketConversation::EndWaitByError(std::uint8_t Kind) {
    FReplyTimer->stop();
    ErrorKind = Kind;
    ExpectedSize = 0;
    Terminator.clear();
    Waiting = false;
    ReplyOK = false;
    if (OnTalkError)
        OnTalkError(this, TalkCode, Kind);
    TalkCode = 0;
    Wake();
}

void TSocketConversation::TimedOut() {
    EndWaitByError(ekTimeOut);
}

void TSocketConversation::SocketError(QAbstractSocket::SocketError Error) {
    // The server closing the connection is reported by the close notification, which keeps
    // ReplyOK as it was; treating it as an error as well would fail a reply already accepted.
    if (Error == QAbstractSocket::RemoteHostClosedError)
        return;
    EndWaitByError(ErrorKindFor(Error, FSocket->state()));
}

void TSocketConversation::Disconnected() {
    if (OnClose)
        OnClose(this);
    EndWaitByClose();
}

void TSocketConversation::EndWaitByClose() {
    FReplyTimer->stop();
    Waiting = false;
    TalkCode = 0;
    Terminator.clear();
    ExpectedSize = 0;
    PacketSize = 0;
    Wake();
}

} // namespace quillet

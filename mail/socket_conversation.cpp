#include "mail/socket_conversation.h"

#include "mail/tls_policy.h"
#include "util/strings.h"
#include "util/text_convert.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QHostAddress>
#include <QSslCipher>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTimer>
#include <algorithm>
#include <climits>

namespace quillet {

namespace {

std::int32_t ClampLength(std::size_t N) {
    return static_cast<std::int32_t>(std::min<std::size_t>(N, INT32_MAX));
}

std::int64_t LineBreaks(std::string_view S) {
    return std::count_if(S.begin(), S.end(), [](char c) { return c == '\r' || c == '\n'; });
}

std::string NotTakenText() {
    return FromQString(QCoreApplication::translate("quillet::TSocketConversation",
                                                   "Not sent: the connection did not take the data"));
}

// The server ended the connection during a wait for Awaited, after sending Sent (may be empty).
std::string ClosedText(const std::string& Awaited, const std::string& Sent) {
    return FromQString(
        Sent.empty() ? QCoreApplication::translate("quillet::TSocketConversation",
                                                   "Connection closed by the server while waiting for %1")
                           .arg(ToQString(Awaited))
                     : QCoreApplication::translate(
                           "quillet::TSocketConversation",
                           "Connection closed by the server while waiting for %1; it had sent: %2")
                           .arg(ToQString(Awaited), ToQString(Sent)));
}

// "the reply to TOP 3 50": the first line of a command names what its wait is for.
std::string ReplyToCommand(const std::string& Data) {
    const std::string line = Data.substr(0, Data.find_first_of("\r\n"));
    return AwaitedReplyTo(line.substr(0, 60));
}

} // namespace

std::string AwaitedReplyTo(std::string_view Command) {
    //: What a wait is for, as in "while waiting for the reply to LIST"; %1 is the command.
    return FromQString(QCoreApplication::translate("quillet::TSocketConversation", "the reply to %1")
                           .arg(ToQString(Command)));
}

TErrorKind ErrorKindFor(QAbstractSocket::SocketError Error, QAbstractSocket::SocketState State) {
    switch (Error) {
    case QAbstractSocket::ConnectionRefusedError:
    case QAbstractSocket::HostNotFoundError:
    case QAbstractSocket::ProxyAuthenticationRequiredError:
    case QAbstractSocket::ProxyConnectionRefusedError:
    case QAbstractSocket::ProxyConnectionClosedError:
    case QAbstractSocket::ProxyConnectionTimeoutError:
    case QAbstractSocket::ProxyNotFoundError:
    case QAbstractSocket::ProxyProtocolError:
        return TErrorKind::Connect;
    case QAbstractSocket::RemoteHostClosedError:
        return TErrorKind::Disconnect;
    case QAbstractSocket::SocketTimeoutError:
    case QAbstractSocket::NetworkError:
        // A failure on an established connection is a receive error; before that, a connect error.
        if (State == QAbstractSocket::ConnectedState || State == QAbstractSocket::ClosingState)
            return TErrorKind::Receive;
        return TErrorKind::Connect;
    default:
        return TErrorKind::General;
    }
}

TSocketConversation::TSocketConversation(QObject* Owner)
    : QObject(Owner), FSocket(new QSslSocket(this)), FSilenceTimer(new QTimer(this)),
      FSpeedTimer(new QTimer(this)) {
    FSilenceTimer->setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the time-out is a promise of that much silence.
    FSilenceTimer->setTimerType(Qt::PreciseTimer);
    FSpeedTimer->setTimerType(Qt::PreciseTimer);
    connect(FSilenceTimer, &QTimer::timeout, this, &TSocketConversation::SilenceTimedOut);
    connect(FSpeedTimer, &QTimer::timeout, this, &TSocketConversation::SpeedCheck);
    connect(FSocket, &QIODevice::readyRead, this, &TSocketConversation::DataReadable);
    connect(FSocket, &QAbstractSocket::disconnected, this, &TSocketConversation::Disconnected);
    connect(FSocket, &QAbstractSocket::errorOccurred, this, &TSocketConversation::SocketError);
    connect(FSocket, &QIODevice::bytesWritten, this, [this] { Wake(); });
    connect(FSocket, &QSslSocket::sslErrors, this, &TSocketConversation::SslErrors);
    connect(FSocket, &QSslSocket::encrypted, this, &TSocketConversation::HandshakeDone);
    connect(FSocket, &QSslSocket::newSessionTicketReceived, this, &TSocketConversation::KeepTlsSession);
    connect(FSocket, &QAbstractSocket::connected, this, &TSocketConversation::Connected);
}

TSocketConversation::~TSocketConversation() {
    // Leave no hook to run from the socket's own teardown.
    FSocket->disconnect(this);
    StopTimers();
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

void TSocketConversation::Connected() {
    // Without Nagle's algorithm: a batch of commands written at once goes out at once, instead of
    // its last segment waiting up to ~40 ms for the server's delayed acknowledgement.
    FSocket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
}

std::string TSocketConversation::TlsSessionFor() const {
    std::string key =
        (HostName.empty() ? Address : HostName) + ":" + std::to_string(Port) + "\n" + TrustedFingerprint;
    for (const QSslCertificate& ca : ExtraCaCertificates)
        key += "\n" + CertificateFingerprint(ca);
    return key;
}

void TSocketConversation::PrepareTls() {
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.setProtocol(QSsl::TlsV1_2OrLater);
    config.setPeerVerifyMode(QSslSocket::VerifyPeer);
    if (!ExtraCaCertificates.isEmpty())
        config.addCaCertificates(ExtraCaCertificates);
    // Qt keeps no session unless asked; kept, the next check may resume it.
    config.setSslOption(QSsl::SslOptionDisableSessionPersistence, false);
    if (!FTlsSession.isEmpty() && FTlsSessionFor != TlsSessionFor())
        ForgetTlsSession(); // another server, or another trust: start afresh
    FTlsSessionOffered = !FTlsSession.isEmpty();
    if (FTlsSessionOffered)
        config.setSessionTicket(FTlsSession);
    FSocket->setSslConfiguration(config);
    FSocket->setPeerVerifyName(QString::fromStdString(HostName.empty() ? Address : HostName));
    FTlsFailure.clear();
    FPeerCertificate = QSslCertificate();
}

void TSocketConversation::KeepTlsSession() {
    const QByteArray session = FSocket->sslConfiguration().sessionTicket();
    if (session.isEmpty() || FPeerCertificate.isNull() || !FTlsFailure.empty())
        return;
    FTlsSession = session;
    FTlsSessionFor = TlsSessionFor();
}

void TSocketConversation::ForgetTlsSession() {
    FTlsSession.clear();
    FTlsSessionFor.clear();
}

void TSocketConversation::OpenEncrypted() {
    PrepareTls();
    FHandshaking = false; // the greeting's wait ends with the greeting, after the handshake
    if (!Address.empty())
        FSocket->connectToHostEncrypted(QString::fromStdString(Address), Port,
                                        QString::fromStdString(Address));
    else
        FSocket->connectToHostEncrypted(QString::fromStdString(HostName), Port);
}

void TSocketConversation::StartTls(std::uint8_t Code) {
    if (FSocket->bytesAvailable() > 0)
        FSocket->readAll(); // sent before the handshake: never read as a later reply
    FUnexpectedDropped = UnreadView().size();
    ClearReceived();
    BeginWait(Code, {}, "the TLS handshake");
    FHandshaking = true;
    PrepareTls();
    FSocket->startClientEncryption();
}

bool TSocketConversation::Encrypted() const {
    return FSocket->isEncrypted();
}

std::string TSocketConversation::TlsSummary() const {
    const QSslCipher cipher = FSocket->sessionCipher();
    return cipher.protocolString().toStdString() + ", " + cipher.name().toStdString();
}

void TSocketConversation::SslErrors(const QList<QSslError>& Errors) {
    FPeerCertificate = FSocket->peerCertificate();
    if (TrustedCertificateForgives(Errors, FPeerCertificate, TrustedFingerprint)) {
        FSocket->ignoreSslErrors(Errors);
        return;
    }
    QStringList reasons;
    for (const QSslError& error : Errors)
        reasons << error.errorString();
    FTlsFailure = reasons.join(QStringLiteral("; ")).toStdString();
}

void TSocketConversation::HandshakeDone() {
    FPeerCertificate = FSocket->peerCertificate();
    // A trusted certificate is that exact certificate: a valid chain for another one is not it.
    if (!TrustedFingerprint.empty() && CertificateFingerprint(FPeerCertificate) != TrustedFingerprint) {
        FTlsFailure = FromQString(tr("The server's certificate is not the one trusted for this account"));
        ForgetTlsSession();
        Fail(TErrorKind::General, FromQString(tr("TLS handshake failed: %1").arg(ToQString(FTlsFailure))));
        return;
    }
    KeepTlsSession();
    if (FHandshaking && FWaiting) {
        FHandshaking = false;
        FReplyOK = true;
        FReplyText = "TLS: " + TlsSummary();
        FinishWait(TWaitEnd::Complete);
    }
}

void TSocketConversation::Close() {
    FClosing = true;
    FSocket->abort();
    FClosing = false;
    ClearReceived();
    // A socket that never connected raises no close notification: end the wait the same way.
    if (FWaiting)
        FinishWait(TWaitEnd::Closed);
}

void TSocketConversation::StartTimers() {
    FSpeedChecks = 0;
    FSinceData.start();
    if (TimeOut <= 0)
        return; // no time-out: the wait ends only by the reply, an error, a close or Cancel
    const std::int32_t ms = std::min<std::int32_t>(TimeOut, INT_MAX / 1000) * 1000;
    FSilenceTimer->start(ms);
    FSpeedTimer->start(ms);
}

void TSocketConversation::StopTimers() {
    FSilenceTimer->stop();
    FSpeedTimer->stop();
}

void TSocketConversation::Report(std::int32_t Total, std::int32_t Current) {
    if (OnProgress)
        OnProgress(parent(), Total, Current);
}

// Every wait starts from the same state: nothing received for it, nothing accepted, no error.
void TSocketConversation::BeginWait(std::uint8_t Code, const std::string& Terminator, std::string What) {
    FTerminator = Terminator;
    FAwaited = std::move(What);
    FTalkCode = Code;
    FReplyText.clear();
    FErrorKind = TErrorKind::None;
    FWaiting = true;
    FReplyOK = false;
    FReplyTooLong = false;
    FSearchFrom = 0;
    FWaitBytes = 0;
    StartTimers();
}

// How each end differs: a complete reply is judged by OnReplyReady; an error clears ReplyOK and
// reports its kind through OnTalkError; a close keeps ReplyOK as a hook may have set it and
// forgets a pending piece-wise send; Cancel clears ReplyOK and reports nothing.
void TSocketConversation::FinishWait(TWaitEnd How, TErrorKind Kind) {
    StopTimers();
    const bool wasWaiting = FWaiting;
    const std::uint8_t code = FTalkCode;
    FWaiting = false;
    FTerminator.clear();
    ExpectedSize = 0;
    switch (How) {
    case TWaitEnd::Complete:
        FErrorKind = TErrorKind::None;
        if (OnReplyReady)
            OnReplyReady(this, code, FReplyOK, FReplyText);
        break;
    case TWaitEnd::Error:
        FErrorKind = Kind;
        FReplyOK = false;
        if (wasWaiting && OnTalkError)
            OnTalkError(this, code, Kind);
        break;
    case TWaitEnd::Closed:
        PacketSize = 0;
        break;
    case TWaitEnd::Cancelled:
        FErrorKind = TErrorKind::None;
        FReplyOK = false;
        break;
    }
    FTalkCode = 0;
    Wake();
}

void TSocketConversation::Fail(TErrorKind Kind, std::string Text) {
    const bool wasWaiting = FWaiting;
    if (wasWaiting || !Text.empty())
        FReplyText = std::move(Text);
    FinishWait(TWaitEnd::Error, Kind);
    // The stream can no longer be trusted: whatever the server sends later would be taken for
    // the answer to a later command.
    Close();
}

void TSocketConversation::PrepareWait(std::uint8_t Code, const std::string& Terminator,
                                      const std::string& What) {
    ClearReceived();
    ExpectedSize = 0;
    //: What a wait is for, as in "while waiting for the server's greeting".
    BeginWait(Code, Terminator, What.empty() ? FromQString(tr("the server's greeting")) : What);
}

bool TSocketConversation::SendPiece(const std::string& Piece) {
    if (FSocket->write(Piece.data(), static_cast<qint64>(Piece.size())) < 0)
        return false;
    // Hand the command to the network now rather than on the next pass of the event loop.
    FSocket->flush();
    return true;
}

void TSocketConversation::Talk(const std::string& Data, const std::string& NewTerminator, std::uint8_t Code,
                               const std::string& What) {
    // Anything that arrived since the last reply was not asked for: it must not answer this
    // command.
    DropUnread();
    BeginWait(Code, NewTerminator, What.empty() ? ReplyToCommand(Data) : What);
    StopTimers(); // the time-out starts with the wait, not with the send

    const std::int32_t length = ClampLength(Data.size());
    if (PacketSize > 0 && Data.size() > static_cast<std::size_t>(PacketSize)) {
        Report(length, 0);
        std::size_t p = 0;
        while (p < Data.size()) {
            QCoreApplication::processEvents();
            if (!FWaiting)
                break; // the connection closed or failed meanwhile: the rest has nowhere to go
            const std::size_t n =
                std::min<std::size_t>(static_cast<std::size_t>(PacketSize), Data.size() - p);
            StartTimers();
            if (!SendPiece(Data.substr(p, n))) {
                Fail(TErrorKind::Send, NotTakenText());
                break;
            }
            // Let the socket hand the piece to the network before the next one, so that a long
            // upload neither piles up in memory nor freezes the window.
            const bool ran =
                RunLoopUntil([this] { return FSocket->bytesToWrite() == 0 || !FWaiting || !Active(); });
            StopTimers();
            if (!ran) {
                Cancel();
                break;
            }
            if (!FWaiting)
                break;
            p += n;
            Report(length, ClampLength(p));
        }
        if (FWaiting)
            Report(length, length);
    } else if (!SendPiece(Data)) {
        Fail(TErrorKind::Send, NotTakenText());
    }
    PacketSize = 0;
}

std::string_view TSocketConversation::UnreadView() const {
    return std::string_view(FReceived).substr(FConsumed);
}

void TSocketConversation::ClearReceived() {
    // The replies to a pipelined run can grow the buffer to megabytes: that room is given back
    // once everything is taken, rather than kept with the account's connection between checks.
    if (FReceived.capacity() > 256 * 1024)
        std::string().swap(FReceived);
    FReceived.clear();
    FConsumed = 0;
    FReplyBreaks = 0;
}

void TSocketConversation::DropUnread() {
    // Bytes the socket holds but has not announced yet count too.
    if (FSocket->bytesAvailable() > 0)
        FReceived += FSocket->readAll().toStdString();
    FUnexpectedDropped = UnreadView().size();
    ClearReceived();
}

void TSocketConversation::Send(const std::string& Data) {
    if (!SendPiece(Data))
        Fail(TErrorKind::Send, NotTakenText());
}

void TSocketConversation::AwaitReply(std::uint8_t Code, const std::string& Terminator,
                                     const std::string& What) {
    if (!Active() && UnreadView().empty()) {
        Refuse(FromQString(tr("Not received: the connection to the server is closed")));
        return;
    }
    BeginWait(Code, Terminator, What);
    if (!UnreadView().empty())
        TryCompleteReply(); // it may have arrived while an earlier reply was handled
    if (FWaiting && !Active()) {
        // The server closed the connection after sending this much: the rest will never come.
        FReplyText = ClosedText(FAwaited, std::string(UnreadView().substr(0, 200)));
        ClearReceived();
        FinishWait(TWaitEnd::Closed);
    }
}

void TSocketConversation::WaitReply() {
    const auto done = [this] { return !FWaiting || FReplyOK; };
    if (!done() && !FSilenceTimer->isActive())
        StartTimers();
    if (!RunLoopUntil(done)) {
        // The event loop was ended from outside (the application is quitting): the reply will
        // not be read, so the connection goes and the caller meets a cancelled wait.
        Cancel();
        FReplyText = FromQString(tr("Cancelled: the program is ending"));
    }
    StopTimers();
}

bool TSocketConversation::RunLoopUntil(const std::function<bool()>& Done) {
    if (Done())
        return true;
    QEventLoop loop;
    QEventLoop* const outerLoop = FLoop;
    std::function<bool()> outerDone = std::move(FLoopDone);
    FLoop = &loop;
    FLoopDone = Done;
    loop.exec();
    FLoop = outerLoop;
    FLoopDone = std::move(outerDone);
    return Done();
}

void TSocketConversation::Wake() {
    if (FLoop && FLoopDone && FLoopDone())
        FLoop->quit();
}

void TSocketConversation::Cancel() {
    if (FWaiting)
        FReplyText = std::string(UnreadView()); // what did arrive for the cancelled reply
    FinishWait(TWaitEnd::Cancelled);
    Close();
}

void TSocketConversation::Refuse(const std::string& Text) {
    FReplyText = Text;
    FReplyOK = false;
}

void TSocketConversation::DataReadable() {
    const QByteArray bytes = FSocket->readAll();
    if (bytes.isEmpty())
        return;
    const std::string chunk(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    // Lines cost memory of their own when a reply is cut into lines, so a flood of empty lines
    // is bounded as well as the bytes.
    FReplyBreaks += LineBreaks(chunk);
    const bool tooManyBytes = static_cast<std::int64_t>(UnreadView().size() + chunk.size()) > MaxReplySize;
    if (tooManyBytes || FReplyBreaks > MaxReplyLineBreaks) {
        FReplyTooLong = true;
        Fail(TErrorKind::Receive,
             FromQString(tooManyBytes
                             ? tr("Reply too long: more than %1 bytes arrived; the connection was dropped")
                                   .arg(MaxReplySize)
                             : tr("Reply too long: more than %1 lines arrived; the connection was dropped")
                                   .arg(MaxReplyLineBreaks / 2)));
        return;
    }
    FReceived += chunk;
    if (!FWaiting)
        return; // kept unread: the next command drops it
    FWaitBytes += static_cast<std::int64_t>(chunk.size());
    FErrorKind = TErrorKind::None;
    FSinceData.start();
    if (TimeOut > 0)
        FSilenceTimer->start(); // the silence starts again
    if (OnReceiveData)
        OnReceiveData(this, FTalkCode, FReplyOK, chunk);
    if (!FWaiting)
        return; // the owner ended the wait
    if (ExpectedSize > 0)
        Report(ExpectedSize, ClampLength(UnreadView().size()));
    TryCompleteReply();
}

void TSocketConversation::TryCompleteReply() {
    const std::string_view unread = UnreadView();
    const std::size_t length = OnReplyLength ? OnReplyLength(this, unread, FSearchFrom)
                                             : TerminatedLength(unread, FTerminator, FSearchFrom);
    if (length == 0 || length > unread.size()) {
        // A terminator split across reads is found when its last byte arrives.
        const std::size_t keep = std::max<std::size_t>(FTerminator.size(), 2) - 1;
        FSearchFrom = unread.size() > keep ? unread.size() - keep : 0;
        Wake();
        return;
    }
    // The reply ends at its terminator wherever that falls in a read; what follows it was not
    // part of this reply and stays unread.
    FReplyText = std::string(unread.substr(0, length));
    // Replies that came in one read are taken one after another without moving the rest each
    // time; the buffer is compacted once most of it has been taken.
    FConsumed += length;
    FReplyBreaks -= LineBreaks(FReplyText);
    if (FConsumed == FReceived.size()) {
        ClearReceived();
    } else if (FConsumed > FReceived.size() / 2) {
        FReceived.erase(0, FConsumed);
        FConsumed = 0;
    }
    FSearchFrom = 0;
    FinishWait(TWaitEnd::Complete);
}

void TSocketConversation::SilenceTimedOut() {
    if (FWaiting)
        Fail(TErrorKind::TimeOut, FromQString(tr("Timed out: no data for %1 seconds while waiting for %2")
                                                  .arg(QString::number(TimeOut), ToQString(FAwaited))));
}

void TSocketConversation::SpeedCheck() {
    if (!FWaiting)
        return;
    ++FSpeedChecks;
    if (FSinceData.elapsed() >= static_cast<qint64>(TimeOut) * 1000 - 50) {
        SilenceTimedOut(); // due at this moment too: silence is the plainer reason
        return;
    }
    if (FWaitBytes >= MinBytesPerTimeOut * FSpeedChecks)
        return; // still flowing fast enough
    Fail(TErrorKind::TimeOut,
         FromQString(tr("Timed out: only %1 bytes in %2 seconds while waiting for %3")
                         .arg(QString::number(FWaitBytes),
                              QString::number(static_cast<std::int64_t>(TimeOut) * FSpeedChecks),
                              ToQString(FAwaited))));
}

void TSocketConversation::SocketError(QAbstractSocket::SocketError Error) {
    // The server closing the connection is reported by the close notification, which keeps
    // ReplyOK as it was; treating it as an error as well would fail a reply already accepted.
    if (Error == QAbstractSocket::RemoteHostClosedError)
        return;
    const TErrorKind kind = ErrorKindFor(Error, FSocket->state());
    if (Error == QAbstractSocket::SslHandshakeFailedError || Error == QAbstractSocket::SslInternalError ||
        Error == QAbstractSocket::SslInvalidUserDataError) {
        if (FTlsFailure.empty())
            FTlsFailure = FSocket->errorString().toStdString();
        ForgetTlsSession();
        Fail(kind, FromQString(tr("TLS handshake failed: %1").arg(ToQString(FTlsFailure))));
        return;
    }
    Fail(kind,
         FWaiting
             ? FromQString(tr("%1 (while waiting for %2)").arg(FSocket->errorString(), ToQString(FAwaited)))
             : std::string());
}

void TSocketConversation::Disconnected() {
    if (FWaiting && !FClosing) {
        FReplyText = ClosedText(FAwaited, std::string(UnreadView().substr(0, 200)));
    }
    // Replies that arrived whole before the server closed the connection (a pipelined run's last
    // replies, the reply to QUIT) stay to be taken in order; a reply cut off by the close, or a
    // connection that this side dropped, leaves nothing worth reading.
    if (FWaiting || FClosing)
        ClearReceived();
    if (OnClose)
        OnClose(this);
    if (FWaiting)
        FinishWait(TWaitEnd::Closed);
}

} // namespace quillet

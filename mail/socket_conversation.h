// TSocketConversation turns an event-driven TCP client socket into a request-and-reply
// conversation that looks blocking to its owner (the POP3 or SMTP client): the owner sends one
// command with Talk, naming the text that must end the reply, then calls WaitReply, which runs a
// local event loop (the user interface stays alive) until the reply is complete, the owner
// cancels, the socket errs or closes, the server has been silent for TimeOut seconds, or the
// reply arrives so slowly that it would hold the check for ever.
// The conversation never judges a reply: its owner does that through the hooks and ReplyOK.
//
// The byte stream is trusted only while every reply ends where it should. A wait that ends any
// other way (time-out, low speed, error, Cancel, an overlong reply, the application quitting)
// drops the connection: what the server sends later could otherwise be read as the answer to a
// later command.
#pragma once

#include <QAbstractSocket>
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSslCertificate>
#include <QSslError>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class QEventLoop;
class QSslSocket;
class QTimer;

namespace quillet {

class TSocketConversation;

// Why the last wait ended abnormally: the socket layer's own kinds, then the time-out, then none.
enum class TErrorKind : std::uint8_t {
    General = 0,
    Send = 1,
    Receive = 2,
    Connect = 3,
    Disconnect = 4,
    Accept = 5,
    TimeOut = 6,
    None = 7,
};

// Progress of a long send or receive; Sender is the conversation's owner component.
using TProgressEvent = std::function<void(QObject* Sender, std::int32_t Total, std::int32_t Current)>;
using TReplyReadyEvent = std::function<void(TSocketConversation* Sender, std::uint8_t TalkCode, bool& ReplyOK,
                                            const std::string& ReplyText)>;
using TTalkErrorEvent =
    std::function<void(TSocketConversation* Sender, std::uint8_t TalkCode, TErrorKind Kind)>;
using TReceiveDataEvent = std::function<void(TSocketConversation* Sender, std::uint8_t TalkCode,
                                             bool& ReplyOK, const std::string& Chunk)>;
using TCloseEvent = std::function<void(TSocketConversation* Sender)>;
// The length of the complete reply at the start of Received, or 0 while it is incomplete.
// SearchFrom is where new bytes begin, less what a terminator split across reads needs.
using TReplyLengthEvent = std::function<std::size_t(const TSocketConversation* Sender,
                                                    std::string_view Received, std::size_t SearchFrom)>;

// The error kind that a socket error of Qt stands for. State is the socket's state when the
// error was reported: a network failure while connecting is a connect error.
TErrorKind ErrorKindFor(QAbstractSocket::SocketError Error, QAbstractSocket::SocketState State);

// What a wait for the reply to Command is called in the texts that name the wait ("Timed out:
// ... while waiting for the reply to LIST"), in the user's language.
std::string AwaitedReplyTo(std::string_view Command);

class TSocketConversation : public QObject {
    Q_OBJECT
public:
    // Largest reply kept in memory (64 MiB). A TOP of 32767 lines at the longest line that mail
    // allows (1000 bytes) is about 33 MB, so no real reply comes near it; a reply that grows past
    // it ends the wait as a receive error, ReplyText explains that, and the connection is dropped.
    static constexpr std::int64_t DefaultMaxReplySize = 64 * 1024 * 1024;
    // Most line breaks (CR or LF bytes) one reply may hold: a million CR LF lines. A listing of a
    // million messages or a TOP of 32767 body lines under any real header stays far below it,
    // while a reply of nothing but line breaks cannot make the line lists that the client builds
    // from it grow to gigabytes.
    static constexpr std::int64_t DefaultMaxReplyLineBreaks = 2'000'000;
    // Least a reply must deliver per TimeOut seconds, counted from the command. A server that
    // trickles a byte now and then never lets the silence time-out fire; this lets its wait end.
    static constexpr std::int64_t MinBytesPerTimeOut = 1024;

    explicit TSocketConversation(QObject* Owner);
    ~TSocketConversation() override;

    // Settings the owner chooses.
    std::int32_t TimeOut = 60;
    std::int32_t ExpectedSize = 0; // announced size of the coming reply, for progress only
    std::int32_t PacketSize = 0;   // send the next Talk in pieces of this size (one Talk only)
    std::int64_t MaxReplySize = DefaultMaxReplySize;
    std::int64_t MaxReplyLineBreaks = DefaultMaxReplyLineBreaks;

    TProgressEvent OnProgress;
    TReplyReadyEvent OnReplyReady;
    TTalkErrorEvent OnTalkError;
    TReceiveDataEvent OnReceiveData;
    TCloseEvent OnClose;
    TReplyLengthEvent OnReplyLength; // unset: the reply ends at its Terminator

    // Where Open connects: a numeric Address, or else a HostName that the socket layer looks up
    // without blocking. The owner sets one of the two and clears the other.
    std::string Address;
    std::string HostName;
    std::uint16_t Port = 0;

    // State of the conversation, changed only by the conversation itself.
    const std::string& ReplyText() const { return FReplyText; }
    const std::string& Terminator() const { return FTerminator; }
    bool Waiting() const { return FWaiting; }
    bool ReplyOK() const { return FReplyOK; }
    TErrorKind ErrorKind() const { return FErrorKind; }
    std::uint8_t TalkCode() const { return FTalkCode; }
    // The last reply outgrew MaxReplySize or MaxReplyLineBreaks (the connection was dropped for it).
    bool ReplyTooLong() const { return FReplyTooLong; }
    // Bytes that arrived before the last command although nothing had asked for them; they were
    // thrown away unread.
    std::size_t UnexpectedBytesDropped() const { return FUnexpectedDropped; }

    QSslSocket* Socket() const { return FSocket; }
    // True from the connected notification until the socket closes.
    bool Active() const;
    // True while the socket is looking up, connecting, connected or closing.
    bool Opened() const;
    // Starts an asynchronous connect to Address or HostName at Port (plain TCP).
    void Open();

    // TLS. The server's certificate is verified against the system's trust store (and
    // ExtraCaCertificates, which only tests fill) and against the host name; TrustedFingerprint
    // names the one certificate an account trusts instead. TLS 1.2 is the least accepted.
    QList<QSslCertificate> ExtraCaCertificates;
    std::string TrustedFingerprint;
    // Connects and does the handshake at once (implicit TLS); the greeting's wait covers it.
    void OpenEncrypted();
    // The handshake on the open connection (after STLS), as a wait of its own: WaitReply ends
    // when it is done (ReplyOK) or failed. Bytes the server sent before it are thrown away.
    void StartTls(std::uint8_t Code);
    bool Encrypted() const;
    // Why the last handshake failed (empty when none failed), and the certificate it was about.
    const std::string& TlsFailure() const { return FTlsFailure; }
    const QSslCertificate& PeerCertificate() const { return FPeerCertificate; }
    // "TLSv1.3, TLS_AES_256_GCM_SHA384" once encrypted.
    std::string TlsSummary() const;
    // The TLS session of the last handshake, kept for as long as the conversation lives (its
    // owner lives as long as the account), and offered again by the next handshake with the same
    // server, trust and certificate, so that a server that allows it resumes the session instead
    // of sending its certificate chain and deriving new keys from scratch. Memory only. A failed
    // handshake forgets it.
    bool HasTlsSession() const { return !FTlsSession.isEmpty(); }
    // The last handshake offered a kept session.
    bool TlsSessionOffered() const { return FTlsSessionOffered; }
    // Closes the socket at once, dropping unsent data. A connected socket raises the close
    // notification; a wait still running after that ends as a close would end it.
    void Close();

    // Arms a wait for a reply that the server sends without a command (the greeting); What names
    // it in time-out texts.
    void PrepareWait(std::uint8_t Code, const std::string& Terminator = {}, const std::string& What = {});
    // Sends one command and arms the wait for its reply. Bytes received before it that no command
    // asked for are dropped first. What names the reply in time-out texts (by default the
    // command's first line).
    void Talk(const std::string& Data, const std::string& Terminator, std::uint8_t Code,
              const std::string& What = {});
    void WaitReply();
    // Pipelining (several commands in flight): Send writes commands (a batch of them in one write)
    // without waiting and without dropping what has arrived; AwaitReply arms the wait for the
    // next reply in the stream, which may already be here, also when the server has closed the
    // connection since it sent it. Replies are taken in the order the commands were sent.
    void Send(const std::string& Data);
    void AwaitReply(std::uint8_t Code, const std::string& Terminator, const std::string& What);
    // Throws away what arrived unasked (counted in UnexpectedBytesDropped), as Talk does first.
    void DropUnread();
    // Bytes received and not yet taken as a reply (pipelined replies waiting their turn; they
    // outlive a close by the server, not a close or a failure on this side).
    std::size_t Unread() const { return FReceived.size() - FConsumed; }
    // Ends the wait with the reply not accepted and drops the connection; ReplyText stays.
    void Cancel();
    // Records why a command was not sent: ReplyText becomes Text, ReplyOK false, nothing is sent.
    void Refuse(const std::string& Text);

private:
    // How a wait ended; each end differs as FinishWait describes.
    enum class TWaitEnd { Complete, Error, Closed, Cancelled };

    void BeginWait(std::uint8_t Code, const std::string& Terminator, std::string What);
    void FinishWait(TWaitEnd How, TErrorKind Kind = TErrorKind::None);
    // Ends the wait as an error with Text as the reply and drops the connection.
    void Fail(TErrorKind Kind, std::string Text);
    void DataReadable();
    void SilenceTimedOut();
    void SpeedCheck();
    void SocketError(QAbstractSocket::SocketError Error);
    void Disconnected();
    void TryCompleteReply();
    std::string_view UnreadView() const;
    void ClearReceived();
    void PrepareTls();
    void SslErrors(const QList<QSslError>& Errors);
    void HandshakeDone();
    void KeepTlsSession();
    void ForgetTlsSession();
    // What a kept session is good for: the server's name and port, and what the account trusts.
    std::string TlsSessionFor() const;
    void Connected();
    void StartTimers();
    void StopTimers();
    void Report(std::int32_t Total, std::int32_t Current);
    // Runs a local event loop until Done() holds; handlers wake it through Wake(). False when the
    // loop ended without Done() holding: the application is quitting.
    bool RunLoopUntil(const std::function<bool()>& Done);
    void Wake();
    bool SendPiece(const std::string& Piece);

    std::string FReplyText;
    std::string FTerminator;
    std::string FAwaited;  // what the wait is for, as time-out texts name it
    std::string FReceived; // bytes received; those from FConsumed on are not yet taken as a reply
    std::size_t FConsumed = 0;
    std::size_t FSearchFrom = 0;
    std::int64_t FReplyBreaks = 0; // CR and LF bytes in FReceived
    std::int64_t FWaitBytes = 0;   // bytes received during the current wait
    int FSpeedChecks = 0;
    QElapsedTimer FSinceData; // since the wait began or its last data arrived
    std::size_t FUnexpectedDropped = 0;
    bool FWaiting = false;
    bool FReplyOK = false;
    bool FReplyTooLong = false;
    bool FClosing = false;     // Close is dropping the connection: not the server's doing
    bool FHandshaking = false; // the wait is for a TLS handshake
    std::string FTlsFailure;
    QSslCertificate FPeerCertificate;
    QByteArray FTlsSession;     // the session of the last handshake (ASN.1, as Qt gives it)
    std::string FTlsSessionFor; // ... and what it is good for
    bool FTlsSessionOffered = false;
    TErrorKind FErrorKind = TErrorKind::None;
    std::uint8_t FTalkCode = 0;

    QSslSocket* FSocket = nullptr;
    QTimer* FSilenceTimer = nullptr;
    QTimer* FSpeedTimer = nullptr;
    QEventLoop* FLoop = nullptr;
    std::function<bool()> FLoopDone;
};

} // namespace quillet

// TSocketConversation turns an event-driven TCP client socket into a request-and-reply
// conversation that looks blocking to its owner (the POP3 or SMTP client): the owner sends one
// command with Talk, naming the text that must end the reply, then calls WaitReply, which runs a
// local event loop (the user interface stays alive) until the reply is complete, the owner
// cancels, the socket errs or closes, or the server has been silent for TimeOut seconds.
// The conversation never judges a reply: its owner does that through the hooks and sets ReplyOK.
#pragma once

#include <QAbstractSocket>
#include <QObject>
#include <cstdint>
#include <functional>
#include <string>

class QEventLoop;
class QSslSocket;
class QTimer;

namespace quillet {

class TSocketConversation;

// Progress of a long send or receive; Sender is the conversation's owner component.
using TProgressEvent = std::function<void(QObject* Sender, std::int32_t Total, std::int32_t Current)>;
using TReplyReadyEvent = std::function<void(TSocketConversation* Sender, std::uint8_t TalkCode, bool& ReplyOK,
                                            const std::string& ReplyText)>;
using TTalkErrorEvent =
    std::function<void(TSocketConversation* Sender, std::uint8_t TalkCode, std::uint8_t ErrorKind)>;
using TReceiveDataEvent = std::function<void(TSocketConversation* Sender, std::uint8_t TalkCode,
                                             bool& ReplyOK, const std::string& Chunk)>;
using TCloseEvent = std::function<void(TSocketConversation* Sender)>;

// Why the last wait ended abnormally.
enum : std::uint8_t {
    ekGeneral = 0,
    ekSend = 1,
    ekReceive = 2,
    ekConnect = 3,
    ekDisconnect = 4,
    ekAccept = 5,
    ekTimeOut = 6,
    ekNone = 7,
};

// The error kind (0..5) that a socket error of Qt stands for. State is the socket's state when
// the error was reported: a network failure while connecting is a connect error.
std::uint8_t ErrorKindFor(QAbstractSocket::SocketError Error, QAbstractSocket::SocketState State);

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

    explicit TSocketConversation(QObject* Owner);
    ~TSocketConversation() override;

    std::int32_t TimeOut = 60;
    std::string Terminator;
    std::string ReplyText;
    std::int32_t ExpectedSize = 0;
    std::int32_t PacketSize = 0;
    std::uint8_t ErrorKind = ekNone;
    std::uint8_t TalkCode = 0;
    bool Waiting = false;
    bool ReplyOK = false;
    std::int64_t MaxReplySize = DefaultMaxReplySize;
    std::int64_t MaxReplyLineBreaks = DefaultMaxReplyLineBreaks;
    // Set when the last reply outgrew MaxReplySize or MaxReplyLineBreaks (and the connection was dropped for
    // it); cleared by PrepareWait and Talk.
    bool ReplyTooLong = false;

    TProgressEvent OnProgress;
    TReplyReadyEvent OnReplyReady;
    TTalkErrorEvent OnTalkError;
    TReceiveDataEvent OnReceiveData;
    TCloseEvent OnClose;

    // Where Open connects: a numeric Address, or else a HostName that the socket layer looks up
    // without blocking. The owner sets one of the two and clears the other.
    std::string Address;
    std::string HostName;
    std::uint16_t Port = 0;

    QSslSocket* Socket() const { return FSocket; }
    // True from the connected notification until the socket closes.
    bool Active() const;
    // True while the socket is looking up, connecting, connected or closing.
    bool Opened() const;
    // Starts an asynchronous connect to Address or HostName at Port (plain TCP).
    void Open();
    // Closes the socket at once, dropping unsent data. A connected socket raises the close
    // notification; a wait still running after that ends as a close would end it.
    void Close();

    void PrepareWait(std::uint8_t Code);
    void Talk(const std::string& Data, const std::string& Terminator, std::uint8_t Code);
    void WaitReply();
    void Cancel();

private:
    void DataReadable();
    void TimedOut();
    void SocketError(QAbstractSocket::SocketError Error);
    void Disconnected();
    // Ends a wait the way a closed connection does; ReplyOK keeps its value.
    void EndWaitByClose();
    void EndWaitByError(std::uint8_t Kind);
    void StartTimer();
    void Report(std::int32_t Total, std::int32_t Current);
    // Runs a local event loop until Done() holds; handlers wake it through Wake().
    void RunLoopUntil(const std::function<bool()>& Done);
    void Wake();
    bool SendPiece(const std::string& Piece);

    QSslSocket* FSocket = nullptr;
    QTimer* FReplyTimer = nullptr;
    QEventLoop* FLoop = nullptr;
    std::function<bool()> FLoopDone;
    std::int64_t FReplyBreaks = 0; // CR and LF bytes in ReplyText so far
};

} // namespace quillet

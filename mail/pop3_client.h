// TPop3Client checks one mailbox over POP3 (RFC 1939): USER/PASS log-in, LIST, TOP, DELE and
// QUIT, one command at a time through its socket conversation. Every operation is synchronous for
// its caller (the user interface keeps running while it waits) and reports failure only by
// returning false; LastReply then explains it.
#pragma once

#include "mail/pop3_text.h"
#include "mail/security.h"
#include "mail/socket_conversation.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quillet {

class TMailMessage;

// Size in bytes of message n at index n; index 0 holds 0.
using TMessageSize = std::vector<std::int32_t>;

// The exchanges of a POP3 session, as the conversation's talk codes name them.
enum class TPop3Exchange : std::uint8_t {
    Greeting = 1,
    User = 2,
    Pass = 3,
    List = 5,
    Top = 6,
    Dele = 7,
    Quit = 14,
    Capa = 15,
    Stls = 16,
    Handshake = 17,
    Uidl = 18,
    Utf8 = 19,
};

class TPop3Client : public QObject {
    Q_OBJECT
public:
    explicit TPop3Client(QObject* Owner = nullptr);
    ~TPop3Client() override;

    std::string UserName;
    std::string Password;
    std::int32_t Port = 110;
    std::string Host;
    TMailMessage* MailMessage = nullptr; // not owned
    bool DeleteOnRetrieve = false;
    TSecurity Security = TSecurity::None;
    // The one certificate the account trusts (SHA-256, see tls_policy.h); empty: the usual checks.
    std::string TrustedCert;
    // Fast checks: ask CAPA after the greeting, and when the server offers them, keep several
    // TOP or DELE commands in flight (PIPELINING) and read the unique ids after LIST (UIDL).
    // Off, the client speaks as a plain RFC 1939 client does: one command, one reply.
    bool UseFastChecks = false;
    // Most commands in flight, and most command bytes not yet answered, on a pipelined run.
    static constexpr std::int32_t PipelineWindow = 64;
    static constexpr std::int32_t PipelineBytes = 2048;

    std::int32_t TimeOut() const { return FConversation->TimeOut; }
    void SetTimeOut(std::int32_t Value) { FConversation->TimeOut = Value; }
    const TProgressEvent& OnProgress() const { return FConversation->OnProgress; }
    void SetOnProgress(TProgressEvent Value) { FConversation->OnProgress = std::move(Value); }

    // Session state, changed only by the client itself.
    std::int32_t MessageCount() const { return FMessageCount; }
    const TMessageSize& MessageSizes() const { return FMessageSizes; }
    bool Connected() const { return FConnected; }
    bool LoggedIn() const { return FLoggedIn; }
    const std::string& LastTopText() const { return FLastTopText; }
    // What CAPA listed on this connection (upper case); empty when it was not asked or refused.
    const std::vector<std::string>& Capabilities() const { return FCapabilities; }
    bool HasCapability(const std::string& Name) const;
    // Seconds the server wants between log-ins (CAPA "LOGIN-DELAY n"); -1 when it says nothing.
    std::int32_t LoginDelay() const { return FLoginDelay; }
    // Set when the last Connect failed on TLS (no STLS offered or accepted, or a handshake that
    // failed); LastReply then says why, and TlsCertificateText describes the certificate.
    bool TlsFailed() const { return FTlsFailed; }
    std::string TlsCertificateText() const;
    std::string TlsCertificateFingerprint() const;
    // "TLSv1.3, <cipher>" while the connection is encrypted; empty otherwise.
    std::string TlsSummary() const;

    TSocketConversation* Conversation() const { return FConversation; }

    // Opens the connection and waits for the greeting. A refused or missing greeting leaves the
    // connection closed, ready for the next attempt, with LastReply saying why.
    bool Connect();
    // Sends USER and PASS, then LIST (and UIDL where offered). True once USER and PASS were
    // accepted, even when the listing then failed: ListingFailure says so.
    bool Login();
    // PASS was accepted on this connection (it stays true after the connection closes, until the
    // next Connect): the server counts a log-in.
    bool PassAccepted() const { return FPassAccepted; }
    // Why the listing of this session cannot be used, as "LIST: <reason>" or "UIDL: <reason>":
    // refused, lost with the connection, or malformed (numbers that are not 1..n in order).
    // Empty when LIST (and UIDL, where asked) gave a listing to work with.
    const std::string& ListingFailure() const { return FListingFailure; }
    // TOP N LineCount on its own: the text is LastTopText, and is loaded into MailMessage when
    // one is attached.
    bool FetchTop(std::int32_t N, std::int32_t LineCount);
    // TOP for every message of Numbers (or First..Last), replies handed to Each(n, ok, text) in
    // order: text is the message text as TopTextFromReply gives it (empty when refused).
    // Pipelined when the server offers it. Each returns false to stop: no further reply is read
    // then (and a connection with replies still owed is dropped). A connection lost on the way
    // fails the rest. False when it stopped early. Nothing is loaded into MailMessage.
    using TEachReply = std::function<bool(std::int32_t N, bool Ok, const std::string& Text)>;
    bool FetchTops(const std::vector<std::int32_t>& Numbers, std::int32_t LineCount, const TEachReply& Each);
    bool FetchTopRange(std::int32_t First, std::int32_t Last, std::int32_t LineCount, const TEachReply& Each);
    // DELE for every message of Numbers, pipelined when offered; Each(n, ok, reply) after each.
    // StillWanted(n) is asked at the moment DELE n would be written (with pipelining: when its
    // batch is written); a message it turns down is not sent and gets no Each call.
    using TWanted = std::function<bool(std::int32_t N)>;
    bool DeleteMessages(const std::vector<std::int32_t>& Numbers, const TWanted& StillWanted,
                        const TEachReply& Each);
    // The unique id of message N from the UIDL listing read at log-in; empty when there is none.
    std::string UniqueIdOf(std::int32_t N) const;
    bool HasUniqueIds() const { return !FUniqueIds.empty(); }
    const TUniqueIds& UniqueIds() const { return FUniqueIds; }
    bool Pipelining() const { return UseFastChecks && HasCapability("PIPELINING"); }
    bool DeleteMessage(std::int32_t N);
    bool Quit();
    void Abort();
    const std::string& LastReply() const { return FConversation->ReplyText(); }

private:
    // Sends one command line (CR LF is added) and waits for its reply. A command whose argument
    // could end the line early is refused: nothing is sent and LastReply says why. So is any
    // command once the connection is gone.
    bool Exchange(const std::string& Command, const std::string& Argument, const std::string& What,
                  const std::string& Terminator, TPop3Exchange Code);
    void ClearConnectionState();
    // Runs Numbers through Command ("TOP n l", "DELE n"), pipelined, replies to Each in order.
    bool Pipeline(const std::vector<std::int32_t>& Numbers,
                  const std::function<std::string(std::int32_t)>& Command, TPop3Exchange Code,
                  const std::string& Terminator, const std::function<std::string()>& Text,
                  const TEachReply& Each, const TWanted& StillWanted = nullptr);
    void LoadTop();
    void AskCapabilities();
    // CAPA, then STLS and the handshake. False (LastReply saying why) when TLS cannot be had.
    bool StartTls();
    void FailTls(const std::string& Why);

    TSocketConversation* FConversation;
    std::int32_t FMessageCount = -1;
    TMessageSize FMessageSizes;
    bool FConnected = false;
    bool FLoggedIn = false;
    bool FPassAccepted = false;
    std::string FListingFailure;
    std::string FLastTopText;
    std::vector<std::string> FCapabilities;
    TUniqueIds FUniqueIds;
    std::int32_t FLoginDelay = -1;
    bool FTlsFailed = false;
};

} // namespace quillet

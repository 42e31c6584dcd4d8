// TPop3Client checks one mailbox over POP3 (RFC 1939): USER/PASS log-in, LIST, TOP, DELE and
// QUIT through its socket conversation. Every operation is synchronous for its caller (the user
// interface keeps running while it waits) and reports failure only by returning false; LastReply
// then explains it. With fast checks and a server that offers PIPELINING (RFC 2449), commands
// whose replies need not be waited for go out together in one write, and their replies are still
// taken one by one, in order. The client lives as long as its account: what the last session
// learnt (the capabilities, the TLS session) is kept in memory for the next one.
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
    Auth = 20,         // AUTH with a SASL mechanism (and maybe its initial response)
    AuthResponse = 21, // a SASL response line after the server's "+"
};

class TPop3Client : public QObject {
    Q_OBJECT
public:
    explicit TPop3Client(QObject* Owner = nullptr);
    ~TPop3Client() override;

    std::string UserName;
    std::string Password;
    // Log in with an OAuth 2.0 access token through SASL (RFC 5034: AUTH XOAUTH2 or OAUTHBEARER,
    // whichever the server's CAPA offers) instead of USER and PASS. The token appears in no text
    // the client gives out (LastReply, the time-out texts), only on the wire.
    bool UseOAuth = false;
    std::string AccessToken;
    std::int32_t Port = 110;
    std::string Host;
    TMailMessage* MailMessage = nullptr; // not owned
    bool DeleteOnRetrieve = false;
    TSecurity Security = TSecurity::None;
    // The one certificate the account trusts (SHA-256, see tls_policy.h); empty: the usual checks.
    std::string TrustedCert;
    // Fast checks: ask CAPA after the greeting, and when the server offers them, write commands
    // together (PIPELINING: USER, PASS, LIST and UIDL in one write, runs of TOP or DELE) and read
    // the unique ids after LIST (UIDL). A re-check of a server that offered PIPELINING in the
    // last session writes CAPA with the log-in and takes this session's capabilities from its
    // reply. Off, the client speaks as a plain RFC 1939 client does: one command, one reply.
    bool UseFastChecks = false;
    // Most command bytes written and not yet answered on a pipelined run. The socket is read
    // while it is written, so neither side's buffers can block the other; a run of TOP commands
    // for a few thousand messages goes out in one write.
    static constexpr std::int32_t PipelineBytes = 64 * 1024;

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
    // What CAPA listed on this connection (upper case); empty when it was not asked or refused,
    // or while a re-check's CAPA waits to go out with the log-in.
    const std::vector<std::string>& Capabilities() const { return FCapabilities; }
    // What CAPA listed in the last session with this server (host, port and security), after
    // TLS where TLS is started on the connection: what a re-check counts on before this
    // session's CAPA reply arrives. Memory only.
    const std::vector<std::string>& KeptCapabilities() const { return FKeptCapabilities; }
    bool HasCapability(const std::string& Name) const;
    // The SASL mechanisms CAPA listed on this connection (upper case): what a refused password
    // log-in can point to ("XOAUTH2", "OAUTHBEARER").
    const std::vector<std::string>& SaslMechanisms() const { return FSaslMechanisms; }
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
    // accepted, even when the listing then failed: ListingFailure says so. Pipelined, the four go
    // out in one write (after CAPA, on a re-check): the PASS reply decides, and a refused USER
    // fails the log-in as it does one command at a time; a refused log-in drops the connection,
    // as the replies still owed to it are worth nothing. With UseOAuth, AUTH takes the place of
    // USER and PASS: AccessTokenRefused then tells a refused token from other failures.
    bool Login();
    // PASS was accepted on this connection (it stays true after the connection closes, until the
    // next Connect): the server counts a log-in.
    bool PassAccepted() const { return FPassAccepted; }
    // The last Login with OAuth failed because the server refused the access token (its error
    // challenge, or -ERR with no response code that blames the mailbox): a new token may help.
    // Not set for a server that offers no OAuth, closes the connection or times out.
    bool AccessTokenRefused() const { return FTokenRefused; }
    // What the server's error challenge said about the refused token ("status 401"); empty when
    // it sent none.
    const std::string& SaslRefusal() const { return FSaslRefusal; }
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
    // FetchTops, and when the run is pipelined and NothingToDelete() says so at the moment the
    // last TOP is written, QUIT goes out in that same write: the caller has nothing to delete in
    // this session. Quit then only reads the reply; no other command is sent after it.
    bool FetchTopsThenQuit(const std::vector<std::int32_t>& Numbers, std::int32_t LineCount,
                           const std::function<bool()>& NothingToDelete, const TEachReply& Each);
    bool FetchTopRange(std::int32_t First, std::int32_t Last, std::int32_t LineCount, const TEachReply& Each);
    // DELE for every message of Numbers, pipelined when offered; Each(n, ok, reply) after each.
    // StillWanted(n) is asked at the moment DELE n would be written (with pipelining: when its
    // batch is written); a message it turns down is not sent and gets no Each call.
    using TWanted = std::function<bool(std::int32_t N)>;
    bool DeleteMessages(const std::vector<std::int32_t>& Numbers, const TWanted& StillWanted,
                        const TEachReply& Each);
    // DeleteMessages for a caller that quits next: pipelined, QUIT goes out in the write of the
    // last DELE, and Quit then only reads its reply (the server deletes on QUIT, so whether the
    // deletions took effect is still known only from that reply).
    bool DeleteMessagesThenQuit(const std::vector<std::int32_t>& Numbers, const TWanted& StillWanted,
                                const TEachReply& Each);
    // The unique id of message N from the UIDL listing read at log-in; empty when there is none.
    std::string UniqueIdOf(std::int32_t N) const;
    bool HasUniqueIds() const { return !FUniqueIds.empty(); }
    const TUniqueIds& UniqueIds() const { return FUniqueIds; }
    bool Pipelining() const { return UseFastChecks && HasCapability("PIPELINING"); }
    bool DeleteMessage(std::int32_t N);
    // Sends QUIT and waits for its reply; after a run that already wrote QUIT, reads its reply
    // (also when the server closed the connection right after sending it). True when accepted.
    bool Quit();
    // QUIT went out with the last run; its reply is still to be read by Quit.
    bool QuitSent() const { return FQuitSent; }
    void Abort();
    const std::string& LastReply() const { return FConversation->ReplyText(); }

private:
    // Sends one command line (CR LF is added) and waits for its reply. A command whose argument
    // could end the line early is refused: nothing is sent and LastReply says why. So is any
    // command once the connection is gone.
    bool Exchange(const std::string& Command, const std::string& Argument, const std::string& What,
                  const std::string& Terminator, TPop3Exchange Code);
    void ClearConnectionState();
    // Ends the session once the server has closed the connection and nothing it sent before is
    // left to read.
    void SettleClosed();
    // Runs Numbers through Command ("TOP n l", "DELE n"), pipelined, replies to Each in order.
    // ThenQuit, when set, is asked as the last command is written: true adds QUIT to that write.
    bool Pipeline(const std::vector<std::int32_t>& Numbers,
                  const std::function<std::string(std::int32_t)>& Command, TPop3Exchange Code,
                  const std::string& Terminator, const std::function<std::string()>& Text,
                  const TEachReply& Each, const TWanted& StillWanted = nullptr,
                  const std::function<bool()>& ThenQuit = nullptr);
    bool FetchTopsSerially(const std::vector<std::int32_t>& Numbers, std::int32_t LineCount,
                           const TEachReply& Each);
    bool DeleteMessagesSerially(const std::vector<std::int32_t>& Numbers, const TWanted& StillWanted,
                                const TEachReply& Each);
    // USER, PASS, LIST and UIDL (after CAPA and UTF8 where due) in one write.
    bool PipelinedLogin();
    // AUTH with the access token (after CAPA, which names the mechanisms), then the listing. An
    // error challenge is answered so that the server's -ERR ends the exchange.
    bool OAuthLogin();
    // The log-in has been accepted: LIST, and UIDL where offered; always true.
    bool ReadListing();
    // Takes a LIST reply as the count and sizes; false (ListingFailure saying why) when it cannot
    // be used. LastReply becomes the listing.
    bool TakeListing(bool Ok, const std::string& Reply);
    // Takes a UIDL reply as the unique ids; refused, there are none, and lost with the
    // connection, the listing fails too. LastReply stays Listing unless the listing failed.
    void TakeUniqueIds(bool Ok, const std::string& Reply, const std::string& Listing);
    void FailListing(const std::string& Command, const std::string& Why);
    void LoadTop();
    // CAPA now. Final: asked where the session's capabilities count (not before STLS), so that
    // its answer is kept for the next session.
    void AskCapabilities(bool Final);
    // Takes a CAPA reply as this connection's capabilities.
    void TakeCapabilities(bool Ok, const std::string& Reply, bool Final);
    // After the greeting (or the STLS handshake): CAPA now, or, when the last session with this
    // server listed PIPELINING, with the log-in.
    void AskOrDeferCapabilities();
    // The kept capabilities belong to this server and list Name.
    bool KeptCapability(const std::string& Name) const;
    std::string ServerKey() const;
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
    std::vector<std::string> FKeptCapabilities;
    std::string FKeptFor;       // the server the kept capabilities came from
    bool FCapaDeferred = false; // CAPA goes out with the log-in
    bool FQuitSent = false;     // QUIT written, its reply not yet read
    TUniqueIds FUniqueIds;
    std::int32_t FLoginDelay = -1;
    bool FTlsFailed = false;
    bool FCapaAsked = false; // CAPA was asked on this connection (since TLS, where started)
    std::vector<std::string> FSaslMechanisms;
    bool FTokenRefused = false;
    std::string FSaslRefusal;
};

} // namespace quillet

// TPop3Client checks one mailbox over POP3 (RFC 1939): USER/PASS log-in, LIST, TOP, DELE and
// QUIT, one command at a time through its socket conversation. Every operation is synchronous for
// its caller (the user interface keeps running while it waits) and reports failure only by
// returning false; LastReply then explains it.
#pragma once

#include "mail/security.h"
#include "mail/socket_conversation.h"

#include <QObject>
#include <cstdint>
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
    // Sends USER and PASS, then LIST. True once USER and PASS were accepted, even when LIST then
    // failed. Throws EConvertError for a malformed listing (LoggedIn is already true then).
    bool Login();
    bool FetchTop(std::int32_t N, std::int32_t LineCount);
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
    // CAPA, then STLS and the handshake. False (LastReply saying why) when TLS cannot be had.
    bool StartTls();
    void FailTls(const std::string& Why);

    TSocketConversation* FConversation;
    std::int32_t FMessageCount = -1;
    TMessageSize FMessageSizes;
    bool FConnected = false;
    bool FLoggedIn = false;
    std::string FLastTopText;
    std::vector<std::string> FCapabilities;
    bool FTlsFailed = false;
};

} // namespace quillet

// TPop3Client checks one mailbox over POP3 (RFC 1939): USER/PASS log-in, LIST, TOP, DELE and
// QUIT, one command at a time through its socket conversation. Every operation is synchronous for
// its caller (the user interface keeps running while it waits) and reports failure only by
// returning false; LastReply then explains it.
#pragma once

#include "mail/socket_conversation.h"

#include <QObject>
#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

class TMailMessage;

// Size in bytes of message n at index n; index 0 holds 0.
using TMessageSize = std::vector<std::int32_t>;

class TPop3Client : public QObject {
    Q_OBJECT
public:
    // Exchange numbers passed to the conversation.
    static constexpr std::uint8_t tcGreeting = 1, tcUser = 2, tcPass = 3, tcList = 5, tcTop = 6, tcDele = 7,
                                  tcQuit = 14;

    explicit TPop3Client(QObject* Owner = nullptr);
    ~TPop3Client() override;

    std::string UserName;
    std::string Password;
    std::int32_t Port = 110;
    std::string Host;
    TMailMessage* MailMessage = nullptr; // not owned
    bool DeleteOnRetrieve = false;

    std::int32_t TimeOut() const { return FConversation->TimeOut; }
    void SetTimeOut(std::int32_t Value) { FConversation->TimeOut = Value; }
    const TProgressEvent& OnProgress() const { return FConversation->OnProgress; }
    void SetOnProgress(TProgressEvent Value) { FConversation->OnProgress = std::move(Value); }

    std::int32_t MessageCount = -1;
    TMessageSize MessageSizes;
    bool Connected = false;
    bool LoggedIn = false;
    std::string LastTopText;

    TSocketConversation* Conversation() const { return FConversation; }

    bool Connect();
    // Sends USER and PASS, then LIST. True once USER and PASS were accepted, even when LIST then
    // failed. Throws EPop3ListingError for a malformed listing (LoggedIn is already true then).
    bool Login();
    bool FetchTop(std::int32_t N, std::int32_t LineCount);
    bool DeleteMessage(std::int32_t N);
    bool Quit();
    void Abort();
    const std::string& LastReply() const { return FConversation->ReplyText; }

private:
    // Sends one command line (CR LF is added) and waits for its reply. A command whose argument
    // could end the line early is refused: nothing is sent and LastReply says why.
    bool Exchange(const std::string& Command, const std::string& Argument, const std::string& What,
                  const std::string& Terminator, std::uint8_t Code);
    // After every wait: a reply that outgrew its bound has cost the connection.
    void DropIfReplyTooLong();
    void ClearConnectionState();

    TSocketConversation* FConversation;
};

} // namespace quillet

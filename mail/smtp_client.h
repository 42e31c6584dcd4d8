// TSmtpClient stands beside the POP3 client of every account. The program sends no mail, so it
// offers no sending operation; it carries its settings, the rules by which it would accept or
// reject an SMTP server's replies (RFC 821 reply codes), its Connected flag and Abort.
#pragma once

#include "mail/socket_conversation.h"

#include <QObject>
#include <cstdint>
#include <string>

namespace quillet {

class TMailMessage;

// The exchanges of an SMTP session (RFC 821), as the conversation's talk codes name them.
enum class TSmtpExchange : std::uint8_t {
    Greeting = 1,
    Helo = 9,
    MailFrom = 10,
    RcptTo = 11,
    Data = 12,
    DataEnd = 13,
    Quit = 14,
};

class TSmtpClient : public QObject {
    Q_OBJECT
public:
    explicit TSmtpClient(QObject* Owner = nullptr);
    ~TSmtpClient() override;

    std::int32_t Port = 25;
    std::string Host;
    TMailMessage* MailMessage = nullptr; // not owned
    std::int32_t PacketSize = 102400;

    std::int32_t TimeOut() const { return FConversation->TimeOut; }
    void SetTimeOut(std::int32_t Value) { FConversation->TimeOut = Value; }
    const TProgressEvent& OnProgress() const { return FConversation->OnProgress; }
    void SetOnProgress(TProgressEvent Value) { FConversation->OnProgress = std::move(Value); }

    // Changed only by the client itself.
    bool Connected() const { return FConnected; }
    TSocketConversation* Conversation() const { return FConversation; }

    // Closes the connection at once without sending anything.
    void Abort();

    // The reply code ("220", "250", ...) that accepts the reply to exchange Code (a talk code);
    // empty when no reply accepts it.
    static std::string ExpectedReplyCode(std::uint8_t Code);

private:
    TSocketConversation* FConversation;
    bool FConnected = false;
};

} // namespace quillet

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

    bool Connected = false;
    TSocketConversation* Conversation() const { return FConversation; }

    // Closes the connection at once without sending anything.
    void Abort();

    // The reply code ("220", "250", ...) that accepts the reply to exchange Code; empty when no
    // reply accepts it.
    static std::string ExpectedReplyCode(std::uint8_t Code);

private:
    TSocketConversation* FConversation;
};

} // namespace quillet

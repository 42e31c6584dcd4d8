#include "mail/smtp_client.h"

namespace quillet {

namespace {

// The first three characters of Text read as a decimal number; 0 when they are not one.
int ReplyCodeOf(const std::string& Text) {
    if (Text.size() < 3)
        return 0;
    int code = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        if (Text[i] < '0' || Text[i] > '9')
            return 0;
        code = code * 10 + (Text[i] - '0');
    }
    return code;
}

} // namespace

std::string TSmtpClient::ExpectedReplyCode(std::uint8_t Code) {
    switch (static_cast<TSmtpExchange>(Code)) {
    case TSmtpExchange::Greeting:
        return "220";
    case TSmtpExchange::Helo:
    case TSmtpExchange::MailFrom:
    case TSmtpExchange::RcptTo:
    case TSmtpExchange::DataEnd:
        return "250";
    case TSmtpExchange::Data:
        return "354";
    case TSmtpExchange::Quit:
        return "221";
    }
    return {};
}

TSmtpClient::TSmtpClient(QObject* Owner) : QObject(Owner), FConversation(new TSocketConversation(this)) {
    FConversation->OnReplyReady = [](TSocketConversation*, std::uint8_t Code, bool& ReplyOK,
                                     const std::string& ReplyText) {
        const std::string expected = ExpectedReplyCode(Code);
        if (!expected.empty() && ReplyText.compare(0, 3, expected) == 0)
            ReplyOK = true;
    };
    // A permanent failure (5xx) ends the wait at its line end, and the session with it; a
    // transient one (4xx) just fails the reply check when the reply is complete.
    FConversation->OnReceiveData = [](TSocketConversation* Sender, std::uint8_t, bool& ReplyOK,
                                      const std::string& Chunk) {
        if (ReplyCodeOf(Chunk) >= 500 && Chunk.ends_with("\r\n")) {
            ReplyOK = false;
            Sender->Cancel();
        }
    };
    FConversation->OnClose = [this](TSocketConversation*) { FConnected = false; };
}

TSmtpClient::~TSmtpClient() {
    FConversation->OnClose = nullptr;
}

void TSmtpClient::Abort() {
    FConversation->Close();
    FConnected = false;
}

} // namespace quillet

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

bool EndsWithLineEnd(const std::string& S) {
    return S.size() >= 2 && S.compare(S.size() - 2, 2, "\r\n") == 0;
}

} // namespace

std::string TSmtpClient::ExpectedReplyCode(std::uint8_t Code) {
    switch (Code) {
    case 1:
        return "220";
    case 9:
    case 10:
    case 11:
    case 13:
        return "250";
    case 12:
        return "354";
    case 14:
        return "221";
    default:
        return {};
    }
}

TSmtpClient::TSmtpClient(QObject* Owner) : QObject(Owner), FConversation(new TSocketConversation(this)) {
    FConversation->OnReplyReady = [](TSocketConversation*, std::uint8_t Code, bool& ReplyOK,
                                     const std::string& ReplyText) {
        const std::string expected = ExpectedReplyCode(Code);
        if (!expected.empty() && ReplyText.compare(0, 3, expected) == 0)
            ReplyOK = true;
    };
    // A permanent failure (5xx) ends the wait at its line end; a transient one (4xx) just fails
    // the reply check when the reply is complete.
    FConversation->OnReceiveData = [](TSocketConversation* Sender, std::uint8_t, bool& ReplyOK,
                                      const std::string& Chunk) {
        if (ReplyCodeOf(Chunk) >= 500 && EndsWithLineEnd(Chunk)) {
            ReplyOK = false;
            Sender->Cancel();
        }
    };
    FConversation->OnTalkError = [](TSocketConversation* Sender, std::uint8_t, std::uint8_t) {
        Sender->Cancel();
    };
    FConversation->OnClose = [this](TSocketConversation*) { Connected = false; };
}

TSmtpClient::~TSmtpClient() {
    FConversation->OnClose = nullptr;
}

void TSmtpClient::Abort() {
    FConversation->Close();
    Connected = false;
}

} // namespace quillet

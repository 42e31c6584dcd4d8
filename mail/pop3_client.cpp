#include "mail/pop3_client.h"

#include "mail/mail_message.h"
#include "mail/pop3_text.h"
#include "util/strings.h"

namespace quillet {

namespace {

const std::string kLineEnd = "\r\n";
const std::string kListEnd = "\r\n.\r\n";

std::uint8_t CodeOf(TPop3Exchange Code) {
    return static_cast<std::uint8_t>(Code);
}

} // namespace

TPop3Client::TPop3Client(QObject* Owner) : QObject(Owner), FConversation(new TSocketConversation(this)) {
    FConversation->OnReplyReady = [](TSocketConversation*, std::uint8_t Code, bool& ReplyOK,
                                     const std::string& ReplyText) {
        if (((Code >= 1 && Code <= 8) || Code == 14) && ReplyText.starts_with("+OK"))
            ReplyOK = true;
    };
    FConversation->OnReplyLength = [](const TSocketConversation* Sender, std::string_view Received,
                                      std::size_t SearchFrom) {
        return Pop3ReplyLength(Received, Sender->Terminator() == kListEnd, SearchFrom);
    };
    FConversation->OnClose = [this](TSocketConversation*) { ClearConnectionState(); };
}

TPop3Client::~TPop3Client() {
    // The close notification must not reach a half-destroyed client.
    FConversation->OnClose = nullptr;
}

bool TPop3Client::Exchange(const std::string& Command, const std::string& Argument, const std::string& What,
                           const std::string& Terminator, TPop3Exchange Code) {
    if (!IsSafeArgument(Argument)) {
        FConversation->Refuse("Not sent: the " + What +
                              " holds a line break or a zero byte, which would end the command early");
        return false;
    }
    if (!FConversation->Active()) {
        FConversation->Refuse("Not sent: the connection to the server is closed");
        return false;
    }
    // The password stays out of every text that may be shown.
    const std::string awaited = Code == TPop3Exchange::Pass ? "the reply to PASS" : std::string();
    FConversation->Talk(Command + Argument + kLineEnd, Terminator, CodeOf(Code), awaited);
    FConversation->WaitReply();
    return FConversation->ReplyOK();
}

bool TPop3Client::Connect() {
    if (FConnected || FConversation->Opened() || Host.empty())
        return false;
    if (Port < 1 || Port > 65535) {
        FConversation->Refuse("Not connected: " + std::to_string(Port) + " is not a TCP port");
        return false;
    }
    if (IsNumericHost(Host)) {
        FConversation->Address = Host;
        FConversation->HostName.clear();
    } else {
        FConversation->HostName = Host;
        FConversation->Address.clear();
    }
    FConversation->Port = static_cast<std::uint16_t>(Port);
    // The greeting is one line, complete only at its CR LF, however the network splits it.
    FConversation->PrepareWait(CodeOf(TPop3Exchange::Greeting), kLineEnd);
    FConversation->Open();
    FConversation->WaitReply();
    FConnected = FConversation->ReplyOK();
    if (!FConnected && FConversation->Opened()) {
        // A refused greeting leaves nothing worth keeping open; LastReply keeps the reason.
        const std::string reason = LastReply();
        Abort();
        FConversation->Refuse(reason);
    }
    return FConnected;
}

bool TPop3Client::Login() {
    if (!FConnected || !FConversation->Active())
        return false;
    if (!Exchange("USER ", UserName, "user name", kLineEnd, TPop3Exchange::User))
        return FLoggedIn;
    if (!Exchange("PASS ", Password, "password", kLineEnd, TPop3Exchange::Pass))
        return FLoggedIn;
    FLoggedIn = true;
    if (!Exchange("LIST", "", "", kListEnd, TPop3Exchange::List))
        return FLoggedIn; // still true when LIST was refused; false when the reply cost the connection
    ParseListing(LastReply(), FMessageCount, FMessageSizes);
    return true;
}

bool TPop3Client::FetchTop(std::int32_t N, std::int32_t LineCount) {
    FLastTopText.clear();
    if (!FConnected || !FLoggedIn || !FConversation->Active())
        return false;
    FConversation->ExpectedSize = N >= 0 && static_cast<std::size_t>(N) < FMessageSizes.size()
                                      ? FMessageSizes[static_cast<std::size_t>(N)]
                                      : 0;
    if (!Exchange("TOP " + std::to_string(N) + " " + std::to_string(LineCount), "", "", kListEnd,
                  TPop3Exchange::Top))
        return false;
    FLastTopText = TopTextFromReply(LastReply());
    if (MailMessage) {
        MailMessage->Reset();
        MailMessage->Header = SplitTextLines(FLastTopText);
    }
    return true;
}

bool TPop3Client::DeleteMessage(std::int32_t N) {
    if (!FConnected || !FLoggedIn || !FConversation->Active())
        return false;
    return Exchange("DELE " + std::to_string(N), "", "", kLineEnd, TPop3Exchange::Dele);
}

bool TPop3Client::Quit() {
    if (!FConnected || !FConversation->Active())
        return false;
    if (!Exchange("QUIT", "", "", kLineEnd, TPop3Exchange::Quit))
        return false;
    FConversation->Close();
    ClearConnectionState();
    return true;
}

void TPop3Client::Abort() {
    FConversation->Close();
    ClearConnectionState();
}

void TPop3Client::ClearConnectionState() {
    FConnected = false;
    FLoggedIn = false;
    FMessageCount = -1;
    FMessageSizes.clear();
}

} // namespace quillet

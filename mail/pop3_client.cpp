#include "mail/pop3_client.h"

#include "mail/mail_message.h"
#include "mail/pop3_text.h"
#include "util/strings.h"

namespace quillet {

namespace {

const std::string kLineEnd = "\r\n";
const std::string kListEnd = "\r\n.\r\n";

bool StartsWith(const std::string& S, std::string_view Head) {
    return S.size() >= Head.size() && std::string_view(S).substr(0, Head.size()) == Head;
}

bool EndsWith(const std::string& S, std::string_view Tail) {
    return S.size() >= Tail.size() && std::string_view(S).substr(S.size() - Tail.size()) == Tail;
}

} // namespace

TPop3Client::TPop3Client(QObject* Owner) : QObject(Owner), FConversation(new TSocketConversation(this)) {
    FConversation->OnReplyReady = [](TSocketConversation*, std::uint8_t Code, bool& ReplyOK,
                                     const std::string& ReplyText) {
        if (((Code >= 1 && Code <= 8) || Code == 14) && StartsWith(ReplyText, "+OK"))
            ReplyOK = true;
    };
    // A "-ERR" reply is one line even where the answer to the command would have been a
    // multi-line listing: end such a wait at its first line end instead of waiting for a "."
    // that never comes. Only the reply's own start counts: a body line of a fetched message that
    // happens to begin a later network chunk with "-ERR" is mail content, not a failure.
    FConversation->OnReceiveData = [](TSocketConversation* Sender, std::uint8_t, bool& ReplyOK,
                                      const std::string&) {
        if (Sender->Waiting && StartsWith(Sender->ReplyText, "-ERR") &&
            EndsWith(Sender->ReplyText, kLineEnd)) {
            ReplyOK = false;
            Sender->Cancel();
        }
    };
    FConversation->OnTalkError = [](TSocketConversation* Sender, std::uint8_t, std::uint8_t) {
        Sender->Cancel();
    };
    FConversation->OnClose = [this](TSocketConversation*) {
        MessageCount = -1;
        Connected = false;
        LoggedIn = false;
        MessageSizes.clear();
    };
}

TPop3Client::~TPop3Client() {
    // The close notification must not reach a half-destroyed client.
    FConversation->OnClose = nullptr;
    MessageSizes.clear();
}

void TPop3Client::DropIfReplyTooLong() {
    if (FConversation->ReplyTooLong)
        Abort();
}

bool TPop3Client::Exchange(const std::string& Command, const std::string& Argument, const std::string& What,
                           const std::string& Terminator, std::uint8_t Code) {
    if (!IsSafeArgument(Argument)) {
        FConversation->ReplyText =
            "Not sent: the " + What + " holds a line break or a zero byte, which would end the command early";
        FConversation->ReplyOK = false;
        return false;
    }
    FConversation->Talk(Command + Argument + kLineEnd, Terminator, Code);
    FConversation->WaitReply();
    const bool ok = FConversation->ReplyOK;
    DropIfReplyTooLong();
    return ok && !FConversation->ReplyTooLong;
}

bool TPop3Client::Connect() {
    if (Connected || FConversation->Opened() || Host.empty())
        return false;
    if (Port < 1 || Port > 65535) {
        FConversation->ReplyText = "Not connected: " + std::to_string(Port) + " is not a TCP port";
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
    FConversation->PrepareWait(tcGreeting);
    FConversation->Open();
    FConversation->WaitReply();
    Connected = FConversation->ReplyOK;
    DropIfReplyTooLong();
    return Connected;
}

bool TPop3Client::Login() {
    if (!Connected || !FConversation->Active())
        return false;
    if (!Exchange("USER ", UserName, "user name", kLineEnd, tcUser))
        return LoggedIn;
    if (!Exchange("PASS ", Password, "password", kLineEnd, tcPass))
        return LoggedIn;
    LoggedIn = true;
    if (!Exchange("LIST", "", "", kListEnd, tcList))
        return LoggedIn; // still true when LIST was refused; false when an overlong reply cost the connection
    ParseListing(LastReply(), MessageCount, MessageSizes);
    return true;
}

bool TPop3Client::FetchTop(std::int32_t N, std::int32_t LineCount) {
    LastTopText.clear();
    if (!Connected || !LoggedIn || !FConversation->Active())
        return false;
    FConversation->ExpectedSize = N >= 0 && static_cast<std::size_t>(N) < MessageSizes.size()
                                      ? MessageSizes[static_cast<std::size_t>(N)]
                                      : 0;
    if (!Exchange("TOP " + std::to_string(N) + " " + std::to_string(LineCount), "", "", kListEnd, tcTop))
        return false;
    LastTopText = TopTextFromReply(LastReply());
    if (MailMessage) {
        MailMessage->Reset();
        MailMessage->Header = SplitTextLines(LastTopText);
    }
    return true;
}

bool TPop3Client::DeleteMessage(std::int32_t N) {
    if (!Connected || !LoggedIn || !FConversation->Active())
        return false;
    return Exchange("DELE " + std::to_string(N), "", "", kLineEnd, tcDele);
}

bool TPop3Client::Quit() {
    if (!Connected || !FConversation->Active())
        return false;
    if (!Exchange("QUIT", "", "", kLineEnd, tcQuit))
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
    Connected = false;
    LoggedIn = false;
    MessageCount = -1;
}

} // namespace quillet

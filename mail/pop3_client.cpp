#include "mail/pop3_client.h"

#include "mail/mail_message.h"
#include "mail/pop3_text.h"
#include "mail/tls_policy.h"
#include "util/strings.h"

#include <algorithm>

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
        if (Code != 0 && ReplyText.starts_with("+OK"))
            ReplyOK = true;
    };
    FConversation->OnReplyLength = [](const TSocketConversation* Sender, std::string_view Received,
                                      std::size_t SearchFrom) -> std::size_t {
        if (Sender->TalkCode() == CodeOf(TPop3Exchange::Handshake))
            return 0; // the handshake's wait ends when the handshake does
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
    FTlsFailed = false;
    FPassAccepted = false;
    FListingFailure.clear();
    FCapabilities.clear();
    FUniqueIds.clear();
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
    FConversation->TrustedFingerprint = TrustedCert;
    // The greeting is one line, complete only at its CR LF, however the network splits it.
    FConversation->PrepareWait(CodeOf(TPop3Exchange::Greeting), kLineEnd);
    if (Security == TSecurity::Tls)
        FConversation->OpenEncrypted();
    else
        FConversation->Open();
    FConversation->WaitReply();
    FConnected = FConversation->ReplyOK();
    if (!FConnected && Security == TSecurity::Tls && !FConversation->TlsFailure().empty())
        FTlsFailed = true;
    if (FConnected && Security == TSecurity::StartTls && !StartTls())
        FConnected = false;
    else if (FConnected && Security != TSecurity::StartTls && UseFastChecks)
        AskCapabilities();
    if (!FConnected && FConversation->Opened()) {
        // A refused greeting leaves nothing worth keeping open; LastReply keeps the reason.
        const std::string reason = LastReply();
        Abort();
        FConversation->Refuse(reason);
    }
    return FConnected;
}

void TPop3Client::FailTls(const std::string& Why) {
    FTlsFailed = true;
    const std::string reason = Why;
    Abort();
    FConversation->Refuse(reason);
}

bool TPop3Client::StartTls() {
    // CAPA tells whether STLS is offered; a server without CAPA (or refusing it) offers nothing.
    AskCapabilities();
    if (!FConversation->Active()) {
        FailTls("the connection closed before TLS could start");
        return false;
    }
    if (!HasCapability("STLS")) {
        FailTls("the server does not offer STLS");
        return false;
    }
    if (!Exchange("STLS", "", "", kLineEnd, TPop3Exchange::Stls)) {
        FailTls("the server refused STLS: " + LastReply());
        return false;
    }
    FConversation->StartTls(CodeOf(TPop3Exchange::Handshake));
    FConversation->WaitReply();
    if (!FConversation->ReplyOK() || !FConversation->Encrypted()) {
        FailTls(LastReply());
        return false;
    }
    // What was said before TLS cannot be trusted: the capabilities are asked again.
    AskCapabilities();
    return FConversation->Active();
}

void TPop3Client::AskCapabilities() {
    // A server without CAPA, or one that refuses it, has no capabilities.
    FCapabilities.clear();
    FLoginDelay = -1;
    if (Exchange("CAPA", "", "", kListEnd, TPop3Exchange::Capa)) {
        FCapabilities = ParseCapabilities(LastReply());
        FLoginDelay = CapabilityNumber(LastReply(), "LOGIN-DELAY");
    }
}

bool TPop3Client::HasCapability(const std::string& Name) const {
    return std::find(FCapabilities.begin(), FCapabilities.end(), Name) != FCapabilities.end();
}

std::string TPop3Client::TlsCertificateText() const {
    return CertificateText(FConversation->PeerCertificate());
}

std::string TPop3Client::TlsCertificateFingerprint() const {
    return CertificateFingerprint(FConversation->PeerCertificate());
}

std::string TPop3Client::TlsSummary() const {
    return FConversation->Encrypted() ? FConversation->TlsSummary() : std::string();
}

bool TPop3Client::Login() {
    if (!FConnected || !FConversation->Active())
        return false;
    FListingFailure.clear();
    // A server that offers UTF8 (RFC 6856) is told that the client reads raw UTF-8 headers, so
    // that it shows the real message rather than a notice in its place. Refused, nothing changes.
    if (HasCapability("UTF8") && !Exchange("UTF8", "", "", kLineEnd, TPop3Exchange::Utf8) &&
        !FConversation->Active())
        return false;
    if (!Exchange("USER ", UserName, "user name", kLineEnd, TPop3Exchange::User))
        return false;
    if (!Exchange("PASS ", Password, "password", kLineEnd, TPop3Exchange::Pass))
        return false;
    FLoggedIn = true;
    FPassAccepted = true;
    const auto fail = [this](const std::string& Command, const std::string& Why) {
        FListingFailure = Command + ": " + (Why.empty() ? "the connection to the server closed" : Why);
        FMessageCount = -1;
        FMessageSizes.clear();
        FUniqueIds.clear();
        return true; // the log-in itself stands
    };
    if (!Exchange("LIST", "", "", kListEnd, TPop3Exchange::List))
        return fail("LIST", ServerTextLines(LastReply()).empty() ? "" : ServerTextLines(LastReply()).front());
    try {
        ParseListing(LastReply(), FMessageCount, FMessageSizes);
    } catch (const EConvertError& e) {
        return fail("LIST", std::string("the listing cannot be read: ") + e.what());
    }
    if (const std::string problem = ListingNumbersProblem(LastReply()); !problem.empty())
        return fail("LIST", problem);
    if (UseFastChecks && HasCapability("UIDL") && FMessageCount > 0) {
        // The listing stays LastReply, as the check stores and compares it.
        const std::string listing = LastReply();
        if (Exchange("UIDL", "", "", kListEnd, TPop3Exchange::Uidl))
            FUniqueIds = ParseUidlListing(LastReply());
        else if (!FConversation->Active())
            return fail("UIDL",
                        ServerTextLines(LastReply()).empty() ? "" : ServerTextLines(LastReply()).front());
        FConversation->Refuse(listing);
    }
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
    LoadTop();
    return true;
}

void TPop3Client::LoadTop() {
    FLastTopText = TopTextFromReply(LastReply());
    if (MailMessage) {
        MailMessage->Reset();
        MailMessage->Header = ServerTextLines(FLastTopText);
    }
}

std::string TPop3Client::UniqueIdOf(std::int32_t N) const {
    const auto found = FUniqueIds.find(N);
    return found == FUniqueIds.end() ? std::string() : found->second;
}

bool TPop3Client::FetchTopRange(std::int32_t First, std::int32_t Last, std::int32_t LineCount,
                                const TEachReply& Each) {
    std::vector<std::int32_t> numbers;
    for (std::int32_t n = First; n <= Last; ++n)
        numbers.push_back(n);
    return FetchTops(numbers, LineCount, Each);
}

bool TPop3Client::FetchTops(const std::vector<std::int32_t>& Numbers, std::int32_t LineCount,
                            const TEachReply& Each) {
    if (!Pipelining()) {
        for (const std::int32_t n : Numbers) {
            const bool ok = FetchTop(n, LineCount);
            if (!Each(n, ok, FLastTopText))
                return false;
        }
        return true;
    }
    return Pipeline(
        Numbers,
        [LineCount](std::int32_t N) {
            std::string command = "TOP ";
            command += std::to_string(N);
            command += ' ';
            command += std::to_string(LineCount);
            return command;
        },
        TPop3Exchange::Top, kListEnd, [this] { return TopTextFromReply(LastReply()); }, Each);
}

bool TPop3Client::DeleteMessages(const std::vector<std::int32_t>& Numbers, const TWanted& StillWanted,
                                 const TEachReply& Each) {
    if (!Pipelining()) {
        for (const std::int32_t n : Numbers)
            if ((!StillWanted || StillWanted(n)) && !Each(n, DeleteMessage(n), LastReply()))
                return false;
        return true;
    }
    return Pipeline(
        Numbers, [](std::int32_t N) { return "DELE " + std::to_string(N); }, TPop3Exchange::Dele, kLineEnd,
        [this] { return LastReply(); }, Each, StillWanted);
}

bool TPop3Client::Pipeline(const std::vector<std::int32_t>& Numbers,
                           const std::function<std::string(std::int32_t)>& Command, TPop3Exchange Code,
                           const std::string& Terminator, const std::function<std::string()>& Text,
                           const TEachReply& Each, const TWanted& StillWanted) {
    if (!FConnected || !FLoggedIn || !FConversation->Active()) {
        for (const std::int32_t n : Numbers)
            if (!Each(n, false, {}))
                return false;
        return true;
    }
    // Unread bytes from before the run were asked for by nobody.
    FConversation->DropUnread();
    std::size_t sent = 0;
    std::int64_t outstanding = 0; // bytes of commands sent and not yet answered
    std::vector<std::int64_t> lengths(Numbers.size());
    for (std::size_t k = 0; k < Numbers.size(); ++k) {
        // Keep the window full: a bounded number of commands and command bytes in flight, so that
        // neither side's buffers fill while the other waits.
        while (sent < Numbers.size() && sent - k < static_cast<std::size_t>(PipelineWindow) &&
               (sent == k || outstanding + static_cast<std::int64_t>(Command(Numbers[sent]).size()) + 2 <=
                                 PipelineBytes) &&
               FConversation->Active()) {
            if (StillWanted && !StillWanted(Numbers[sent])) {
                lengths[sent++] = -1; // turned down as its batch is written: never sent
                continue;
            }
            const std::string line = Command(Numbers[sent]) + kLineEnd;
            lengths[sent] = static_cast<std::int64_t>(line.size());
            outstanding += lengths[sent];
            FConversation->Send(line);
            ++sent;
        }
        const std::int32_t n = Numbers[k];
        if (lengths[k] < 0)
            continue;
        bool ok = false;
        std::string text;
        if (FConversation->Active() || FConversation->Unread() > 0) {
            if (Code == TPop3Exchange::Top)
                FConversation->ExpectedSize = n >= 0 && static_cast<std::size_t>(n) < FMessageSizes.size()
                                                  ? FMessageSizes[static_cast<std::size_t>(n)]
                                                  : 0;
            FConversation->AwaitReply(CodeOf(Code), Terminator, Command(n));
            FConversation->WaitReply();
            ok = FConversation->ReplyOK();
            if (ok || Code != TPop3Exchange::Top)
                text = Text();
        }
        outstanding -= lengths[k];
        if (!Each(n, ok, text)) {
            // Replies are still owed for commands in flight: the stream cannot be used again.
            if (k + 1 < sent)
                Abort();
            return false;
        }
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

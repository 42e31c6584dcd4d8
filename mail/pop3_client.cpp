#include "mail/pop3_client.h"
#include "mail/pop3_wire.h"

#include "mail/mail_message.h"
#include "mail/pop3_text.h"
#include "util/convert_error_text.h"
#include "util/strings.h"
#include "util/text_convert.h"

#include <algorithm>

namespace quillet {

using pop3_wire::CodeOf;
using pop3_wire::kLineEnd;
using pop3_wire::kListEnd;

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
    FConversation->OnClose = [this](TSocketConversation*) {
        // A server closes the connection once it has answered QUIT: when that reply is here, the
        // session stays until Quit has read it.
        if (FQuitSent && FConversation->Unread() > 0)
            return;
        ClearConnectionState();
    };
}

TPop3Client::~TPop3Client() {
    // The close notification must not reach a half-destroyed client.
    FConversation->OnClose = nullptr;
}

bool TPop3Client::Exchange(const std::string& Command, const std::string& Argument, const std::string& What,
                           const std::string& Terminator, TPop3Exchange Code) {
    if (!IsSafeArgument(Argument)) {
        FConversation->Refuse(FromQString(
            tr("Not sent: the %1 holds a line break or a zero byte, which would end the command early")
                .arg(tr(What.c_str()))));
        return false;
    }
    if (!FConversation->Active()) {
        FConversation->Refuse(FromQString(tr("Not sent: the connection to the server is closed")));
        return false;
    }
    if (FQuitSent) {
        FConversation->Refuse(FromQString(tr("Not sent: QUIT has already been sent")));
        return false;
    }
    // The password stays out of every text that may be shown.
    const std::string awaited = Code == TPop3Exchange::Pass ? AwaitedReplyTo("PASS") : std::string();
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
    FCapaAsked = false;
    FSaslMechanisms.clear();
    FTokenRefused = false;
    FSaslRefusal.clear();
    FCapaDeferred = false;
    FQuitSent = false;
    FUniqueIds.clear();
    if (Port < 1 || Port > 65535) {
        FConversation->Refuse(FromQString(tr("Not connected: %1 is not a TCP port").arg(Port)));
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
        AskOrDeferCapabilities();
    if (!FConnected && FConversation->Opened()) {
        // A refused greeting leaves nothing worth keeping open; LastReply keeps the reason.
        const std::string reason = LastReply();
        Abort();
        FConversation->Refuse(reason);
    }
    return FConnected;
}

bool TPop3Client::Login() {
    if (!FConnected || !FConversation->Active() || FQuitSent)
        return false;
    FListingFailure.clear();
    if (UseOAuth)
        return OAuthLogin();
    const bool pipelining = FCapaDeferred ? KeptCapability("PIPELINING") : HasCapability("PIPELINING");
    // Arguments that could end a line early are refused one command at a time, as always.
    if (UseFastChecks && pipelining && IsSafeArgument(UserName) && IsSafeArgument(Password))
        return PipelinedLogin();
    if (FCapaDeferred) {
        FCapaDeferred = false;
        AskCapabilities(true);
        if (!FConversation->Active())
            return false;
    }
    // A server that offers UTF8 (RFC 6856) is told that the client reads raw UTF-8 headers, so
    // that it shows the real message rather than a notice in its place. Refused, nothing changes.
    if (HasCapability("UTF8") && !Exchange("UTF8", "", "", kLineEnd, TPop3Exchange::Utf8) &&
        !FConversation->Active())
        return false;
    // The names of the arguments, translated where a refusal names them.
    if (!Exchange("USER ", UserName, QT_TR_NOOP("user name"), kLineEnd, TPop3Exchange::User))
        return false;
    if (!Exchange("PASS ", Password, QT_TR_NOOP("password"), kLineEnd, TPop3Exchange::Pass))
        return false;
    FLoggedIn = true;
    FPassAccepted = true;
    return ReadListing();
}

bool TPop3Client::ReadListing() {
    const bool listOk = Exchange("LIST", "", "", kListEnd, TPop3Exchange::List);
    const std::string listing = LastReply();
    if (!TakeListing(listOk, listing) || !UseFastChecks || !HasCapability("UIDL") || FMessageCount <= 0)
        return true;
    const bool uidlOk = Exchange("UIDL", "", "", kListEnd, TPop3Exchange::Uidl);
    TakeUniqueIds(uidlOk, LastReply(), listing);
    return true;
}

bool TPop3Client::PipelinedLogin() {
    struct TStep {
        std::string Line;
        TPop3Exchange Code;
        const std::string& Terminator;
        std::string What;
        bool Ok = false;
        std::string Reply;
    };
    // What to write is decided by what is known before the replies: this connection's CAPA, or
    // the last session's when this one's goes out with the log-in.
    const bool capa = FCapaDeferred;
    FCapaDeferred = false;
    const auto listed = [&](const std::string& Name) {
        return capa ? KeptCapability(Name) : HasCapability(Name);
    };
    std::vector<TStep> steps;
    if (capa)
        steps.push_back({"CAPA", TPop3Exchange::Capa, kListEnd, AwaitedReplyTo("CAPA"), false, {}});
    if (listed("UTF8"))
        steps.push_back({"UTF8", TPop3Exchange::Utf8, kLineEnd, AwaitedReplyTo("UTF8"), false, {}});
    steps.push_back(
        {"USER " + UserName, TPop3Exchange::User, kLineEnd, AwaitedReplyTo("USER " + UserName), false, {}});
    // The password stays out of every text that may be shown.
    steps.push_back({"PASS " + Password, TPop3Exchange::Pass, kLineEnd, AwaitedReplyTo("PASS"), false, {}});
    steps.push_back({"LIST", TPop3Exchange::List, kListEnd, AwaitedReplyTo("LIST"), false, {}});
    const bool uidlAsked = UseFastChecks && listed("UIDL");
    if (uidlAsked)
        steps.push_back({"UIDL", TPop3Exchange::Uidl, kListEnd, AwaitedReplyTo("UIDL"), false, {}});

    std::string batch;
    for (const TStep& step : steps)
        batch += step.Line + kLineEnd;
    FConversation->DropUnread();
    FConversation->Send(batch);

    // Replies in order; each one is judged as it comes.
    for (TStep& step : steps) {
        FConversation->AwaitReply(CodeOf(step.Code), step.Terminator, step.What);
        FConversation->WaitReply();
        step.Ok = FConversation->ReplyOK();
        step.Reply = LastReply();
        switch (step.Code) {
        case TPop3Exchange::Capa:
            // This session's answer counts from here on: a server that stopped offering
            // PIPELINING gets one command at a time after the log-in.
            TakeCapabilities(step.Ok, step.Reply, true);
            break;
        case TPop3Exchange::User:
        case TPop3Exchange::Pass:
            if (step.Code == TPop3Exchange::Pass)
                FPassAccepted = step.Ok;
            if (!step.Ok) {
                // The log-in is refused: the replies still owed are of no use, and a server that
                // does not send them must not hold the check until the time-out.
                const std::string reason = step.Reply;
                Abort();
                FConversation->Refuse(reason);
                return false;
            }
            break;
        default:
            break;
        }
    }
    FLoggedIn = FConnected; // not when the server closed the connection meanwhile
    const TStep& list = steps[steps.size() - (uidlAsked ? 2 : 1)];
    // The unique ids count only where this session's CAPA (when it was asked again) lists UIDL.
    if (TakeListing(list.Ok, list.Reply) && uidlAsked && HasCapability("UIDL") && FMessageCount > 0)
        TakeUniqueIds(steps.back().Ok, steps.back().Reply, list.Reply);
    return true;
}

namespace {

std::string FirstLineOf(const std::string& Reply) {
    const std::vector<std::string> lines = ServerTextLines(Reply);
    return lines.empty() ? std::string() : lines.front();
}

} // namespace

void TPop3Client::FailListing(const std::string& Command, const std::string& Why) {
    FListingFailure =
        Command + ": " + (Why.empty() ? FromQString(tr("the connection to the server closed")) : Why);
    FMessageCount = -1;
    FMessageSizes.clear();
    FUniqueIds.clear();
}

bool TPop3Client::TakeListing(bool Ok, const std::string& Reply) {
    // The listing (or what came in its place) stays LastReply, as the check stores and compares it.
    FConversation->Refuse(Reply);
    if (!Ok) {
        FailListing("LIST", FirstLineOf(Reply));
        return false;
    }
    try {
        ParseListing(Reply, FMessageCount, FMessageSizes);
    } catch (const EConvertError& e) {
        FailListing("LIST", FromQString(tr("the listing cannot be read: %1").arg(ConvertErrorText(e))));
        return false;
    }
    if (const std::string problem = ListingNumbersProblem(Reply); !problem.empty()) {
        FailListing("LIST", problem);
        return false;
    }
    return true;
}

void TPop3Client::TakeUniqueIds(bool Ok, const std::string& Reply, const std::string& Listing) {
    if (Ok) {
        FUniqueIds = ParseUidlListing(Reply);
    } else if (!FConversation->Active()) {
        // Lost with the connection: the listing cannot be used either.
        FailListing("UIDL", FirstLineOf(Reply));
        FConversation->Refuse(Reply);
        return;
    }
    FConversation->Refuse(Listing);
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

namespace {

std::string TopCommand(std::int32_t N, std::int32_t LineCount) {
    std::string command = "TOP ";
    command += std::to_string(N);
    command += ' ';
    command += std::to_string(LineCount);
    return command;
}

} // namespace

bool TPop3Client::FetchTopsSerially(const std::vector<std::int32_t>& Numbers, std::int32_t LineCount,
                                    const TEachReply& Each) {
    for (const std::int32_t n : Numbers) {
        const bool ok = FetchTop(n, LineCount);
        if (!Each(n, ok, FLastTopText))
            return false;
    }
    return true;
}

bool TPop3Client::FetchTops(const std::vector<std::int32_t>& Numbers, std::int32_t LineCount,
                            const TEachReply& Each) {
    return FetchTopsThenQuit(Numbers, LineCount, nullptr, Each);
}

bool TPop3Client::FetchTopsThenQuit(const std::vector<std::int32_t>& Numbers, std::int32_t LineCount,
                                    const std::function<bool()>& NothingToDelete, const TEachReply& Each) {
    if (!Pipelining())
        return FetchTopsSerially(Numbers, LineCount, Each);
    return Pipeline(
        Numbers, [LineCount](std::int32_t N) { return TopCommand(N, LineCount); }, TPop3Exchange::Top,
        kListEnd, [this] { return TopTextFromReply(LastReply()); }, Each, nullptr, NothingToDelete);
}

bool TPop3Client::DeleteMessagesSerially(const std::vector<std::int32_t>& Numbers, const TWanted& StillWanted,
                                         const TEachReply& Each) {
    for (const std::int32_t n : Numbers)
        if ((!StillWanted || StillWanted(n)) && !Each(n, DeleteMessage(n), LastReply()))
            return false;
    return true;
}

bool TPop3Client::DeleteMessages(const std::vector<std::int32_t>& Numbers, const TWanted& StillWanted,
                                 const TEachReply& Each) {
    if (!Pipelining())
        return DeleteMessagesSerially(Numbers, StillWanted, Each);
    return Pipeline(
        Numbers, [](std::int32_t N) { return "DELE " + std::to_string(N); }, TPop3Exchange::Dele, kLineEnd,
        [this] { return LastReply(); }, Each, StillWanted);
}

bool TPop3Client::DeleteMessagesThenQuit(const std::vector<std::int32_t>& Numbers, const TWanted& StillWanted,
                                         const TEachReply& Each) {
    if (!Pipelining())
        return DeleteMessagesSerially(Numbers, StillWanted, Each);
    return Pipeline(
        Numbers, [](std::int32_t N) { return "DELE " + std::to_string(N); }, TPop3Exchange::Dele, kLineEnd,
        [this] { return LastReply(); }, Each, StillWanted, [] { return true; });
}

bool TPop3Client::Pipeline(const std::vector<std::int32_t>& Numbers,
                           const std::function<std::string(std::int32_t)>& Command, TPop3Exchange Code,
                           const std::string& Terminator, const std::function<std::string()>& Text,
                           const TEachReply& Each, const TWanted& StillWanted,
                           const std::function<bool()>& ThenQuit) {
    if (!FConnected || !FLoggedIn || !FConversation->Active() || FQuitSent) {
        if (FQuitSent)
            FConversation->Refuse(FromQString(tr("Not sent: QUIT has already been sent")));
        for (const std::int32_t n : Numbers) {
            if (FQuitSent && StillWanted && !StillWanted(n))
                continue;
            if (!Each(n, false, FQuitSent && Code != TPop3Exchange::Top ? LastReply() : std::string()))
                return false;
        }
        return true;
    }
    // Unread bytes from before the run were asked for by nobody.
    FConversation->DropUnread();
    const std::size_t count = Numbers.size();
    // Bytes of each command as written; 0: not written, -1: turned down as its batch was written.
    std::vector<std::int64_t> lengths(count, 0);
    std::size_t decided = 0;      // commands written or turned down, in order
    std::int64_t outstanding = 0; // bytes of commands written and not yet answered
    // Writes the next commands in one write, as many as the window holds (always at least one).
    const auto writeBatch = [&] {
        std::string batch;
        while (decided < count) {
            const std::int32_t n = Numbers[decided];
            std::string line = Command(n) + kLineEnd;
            const auto size = static_cast<std::int64_t>(line.size());
            if (!batch.empty() && outstanding + size > PipelineBytes)
                break;
            if (StillWanted && !StillWanted(n)) {
                lengths[decided++] = -1; // never sent
                continue;
            }
            batch += line;
            outstanding += size;
            lengths[decided++] = size;
        }
        if (decided == count && ThenQuit && ThenQuit()) {
            batch += "QUIT" + kLineEnd;
            FQuitSent = true;
        }
        if (!batch.empty())
            FConversation->Send(batch);
    };
    for (std::size_t k = 0; k < count; ++k) {
        // Keep the window full: the next batch goes out once half of the window is answered (or
        // nothing is in flight), while the replies to the earlier ones keep arriving.
        if (decided < count && FConversation->Active() && (decided == k || outstanding <= PipelineBytes / 2))
            writeBatch();
        const std::int32_t n = Numbers[k];
        if (lengths[k] < 0)
            continue;
        bool ok = false;
        std::string text;
        if (lengths[k] > 0 && (FConversation->Active() || FConversation->Unread() > 0)) {
            if (Code == TPop3Exchange::Top)
                FConversation->ExpectedSize = n >= 0 && static_cast<std::size_t>(n) < FMessageSizes.size()
                                                  ? FMessageSizes[static_cast<std::size_t>(n)]
                                                  : 0;
            FConversation->AwaitReply(CodeOf(Code), Terminator, Command(n));
            FConversation->WaitReply();
            ok = FConversation->ReplyOK();
            if (ok || Code != TPop3Exchange::Top)
                text = Text();
            outstanding -= lengths[k];
            SettleClosed();
        } else if (Code != TPop3Exchange::Top) {
            text = LastReply();
        }
        if (!Each(n, ok, text)) {
            // Replies are still owed for commands in flight: the stream cannot be used again.
            if (k + 1 < decided || FQuitSent)
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
    if (FQuitSent && FConnected) {
        // Written with the last run: its reply is here, or on its way.
        FQuitSent = false;
        FConversation->AwaitReply(CodeOf(TPop3Exchange::Quit), kLineEnd, AwaitedReplyTo("QUIT"));
        FConversation->WaitReply();
        if (!FConversation->ReplyOK()) {
            if (!FConversation->Active())
                ClearConnectionState();
            return false;
        }
        FConversation->Close();
        ClearConnectionState();
        return true;
    }
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

void TPop3Client::SettleClosed() {
    // The session outlives the connection only while replies that arrived before the close are
    // still to be read.
    if (FConnected && !FConversation->Opened() && FConversation->Unread() == 0)
        ClearConnectionState();
}

void TPop3Client::ClearConnectionState() {
    FConnected = false;
    FQuitSent = false;
    FCapaDeferred = false;
    FLoggedIn = false;
    FMessageCount = -1;
    FMessageSizes.clear();
}

} // namespace quillet

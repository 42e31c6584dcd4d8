#include "check/check_cycle.h"
#include "check/check_pass.h"

#include "check/check_plan.h"
#include "check/fetched_mail.h"
#include "check/status_texts.h"

#include "mail/pop3_client.h"
#include "mail/smtp_client.h"
#include "model/account.h"
#include "model/mails.h"
#include "model/seen_mail.h"
#include "util/strings.h"
#include "util/text_convert.h"

#include <QCoreApplication>
#include <QDateTime>
#include <exception>
#include <map>
#include <unordered_map>
#include <unordered_set>

namespace quillet {

using check_text::FirstLine;

namespace {

std::int64_t NowMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

// When an account whose server limits its log-ins may log in again ("hh:mm:ss"); empty when
// the server sets no limit.
std::string RetryTime(const TAccount& Account) {
    if (Account.LoginDelay <= 0 || Account.LastLoginMs <= 0)
        return {};
    const qint64 at = Account.LastLoginMs + std::int64_t{Account.LoginDelay} * 1000;
    return QDateTime::fromMSecsSinceEpoch(at).toString(QStringLiteral("HH:mm:ss")).toStdString();
}

} // namespace

// Marks an account as being checked for as long as it lives, whatever way its check ends: the
// account button and the commands follow.
class TCheckCycle::TAccountRun {
public:
    TAccountRun(TCheckCycle& Cycle, TAccount& Account, int Position)
        : FCycle(Cycle), FAccount(Account), FPosition(Position) {
        FAccount.Checking = true;
        FCycle.BeginRunning();
        FCycle.FHost.UpdateAccountButton(FPosition);
    }
    ~TAccountRun() {
        FAccount.Checking = false;
        FCycle.EndRunning();
        FCycle.FHost.RefreshStatus();
        FCycle.FHost.UpdateAccountButton(FPosition);
    }
    TAccountRun(const TAccountRun&) = delete;
    TAccountRun& operator=(const TAccountRun&) = delete;

private:
    TCheckCycle& FCycle;
    TAccount& FAccount;
    int FPosition;
};

TCheckCycle::TCheckCycle(TAccounts& Accounts, TMails& Mails, TCheckHost& Host)
    : FAccounts(Accounts), FMails(Mails), FHost(Host) {}

bool TCheckCycle::AnyConnected() const {
    for (int i = 0; i < FAccounts.Count(); ++i)
        if (FAccounts[i].Pop()->Connected() || FAccounts[i].Smtp()->Connected())
            return true;
    return false;
}

void TCheckCycle::ShowStatus(const std::string& Label, const std::string& Text) {
    FHost.SetStatusText(Label.empty() ? Text : Label + ": " + Text);
    LogSystem(Label.empty() ? Text : " >" + Label + ": " + Text);
}

void TCheckCycle::LogSystem(const std::string& Line) {
    FHost.AppendSystemLine(Line);
}

void TCheckCycle::CheckAll(bool Automatic) {
    if (FCommandRunning) {
        const TQueued queued{true, Automatic, -1};
        if (std::find(FQueue.begin(), FQueue.end(), queued) == FQueue.end())
            FQueue.push_back(queued);
        return;
    }
    RunCheckAll(Automatic);
    RunQueued();
}

void TCheckCycle::CheckOne(int Position) {
    if (Position < 0 || Position >= FAccounts.Count())
        return;
    if (FCommandRunning) {
        const TQueued queued{false, false, Position};
        if (std::find(FQueue.begin(), FQueue.end(), queued) == FQueue.end())
            FQueue.push_back(queued);
        return;
    }
    RunCheckOne(Position);
    RunQueued();
}

void TCheckCycle::RunQueued() {
    while (!FQueue.empty()) {
        const TQueued next = FQueue.front();
        FQueue.pop_front();
        if (next.All)
            RunCheckAll(next.Automatic);
        else if (next.Position < FAccounts.Count())
            RunCheckOne(next.Position);
    }
}

void TCheckCycle::RunCheckAll(bool Automatic) {
    FCommandRunning = true;
    FNewMailArrived = false;
    FNewMail.clear();
    FFailures.clear();
    FAbortRequested = false;
    const int count = FAccounts.Count();
    for (int i = 0; i < count && i < FAccounts.Count(); ++i) {
        if (FAccounts[i].Active)
            CheckOneAccount(i, true, Automatic);
        if (FAbortRequested)
            break;
    }
    FCommandRunning = false;
    FHost.SelectFirstRowIfNone();
    if (!FAbortRequested)
        FLastFullCheck = NowDateTime();
    FHost.RefreshStatus();
    ShowFailures();
    NotifyCheckResult();
}

void TCheckCycle::RunCheckOne(int Position) {
    FCommandRunning = true;
    FNewMailArrived = false;
    FNewMail.clear();
    FFailures.clear();
    FAbortRequested = false;
    CheckOneAccount(Position, false);
    FCommandRunning = false;
    FHost.SelectFirstRowIfNone();
    ShowFailures();
    NotifyCheckResult();
}

void TCheckCycle::ShowFailures() {
    // A later account's "done" must not hide why an earlier one failed.
    if (FAbortRequested || FFailures.empty())
        return;
    std::string text;
    for (const std::string& failure : FFailures)
        text += (text.empty() ? "" : "; ") + failure;
    FHost.SetStatusText(text);
}

void TCheckCycle::Abort() {
    FQueue.clear();
    FAccounts.DropAllSessions();
    FAbortRequested = true;
    FRenewal.Cancel(); // a token request waited for ends at once
    ShowStatus("", FromQString(QCoreApplication::translate("CheckCycle", "Aborted!")));
}

void TCheckCycle::BeginRunning() {
    if (FRunning++ != 0)
        return;
    FHost.SetCommandsEnabled(false);
    if (RunningChanged)
        RunningChanged(true);
}

void TCheckCycle::EndRunning() {
    if (--FRunning != 0)
        return;
    FHost.SetCommandsEnabled(true);
    if (RunningChanged)
        RunningChanged(false);
}

void TCheckCycle::CheckOneAccount(int Position, bool CheckMarked, bool Automatic) {
    TAccount& account = FAccounts[Position];
    if (account.Checking || HeldBackByLoginDelay(account, Automatic) ||
        HeldBackBySchedule(account, Automatic))
        return;
    const TAccountRun run(*this, account, Position);
    TPop3Client& pop = *account.Pop();
    TPass pass;
    bool fetch = false;
    try {
        fetch = ShouldFetch(account, ConnectAndList(account, pass), CheckMarked, pass);
        if (fetch)
            RunPass(account, pass);
        bool quitAccepted = false;
        if (pop.Connected()) {
            quitAccepted = QuitSession(account);
            if (!quitAccepted)
                Fail(account, pass,
                     FromQString(QCoreApplication::translate("CheckCycle", "Failed on quit: %1")
                                     .arg(ToQString(FirstLine(pop.LastReply())))));
        }
        FinishDeletions(pass, quitAccepted);
    } catch (const std::exception& e) {
        // Whatever went wrong, this session is over and the next account and tick go on.
        pop.Abort();
        pass.Complete = false;
        Fail(account, pass,
             FromQString(
                 QCoreApplication::translate("CheckCycle", "Failed: %1").arg(QString::fromUtf8(e.what()))));
        FinishDeletions(pass, false);
    }
    RecordOutcome(account, pass);
    Sweep(account, fetch, pass);
    RememberSeen(account, fetch, pass);
}

bool TCheckCycle::HeldBackByLoginDelay(const TAccount& Account, bool Automatic) {
    if (!Automatic || Account.LoginDelay <= 0 || Account.LastLoginMs <= 0 ||
        NowMs() >= Account.LastLoginMs + std::int64_t{Account.LoginDelay} * 1000)
        return false;
    ShowStatus(Account.Label, LoginDelayText(Account.LoginDelay, RetryTime(Account)));
    return true;
}

bool TCheckCycle::HeldBackBySchedule(const TAccount& Account, bool Automatic) {
    if (!Automatic || !AutomaticCheckHeldBack)
        return false;
    const std::string why = AutomaticCheckHeldBack(Account);
    if (why.empty())
        return false;
    ShowStatus(Account.Label, why);
    return true;
}

void TCheckCycle::Fail(const TAccount& Account, TPass& Pass, const std::string& Text) {
    if (!Pass.Failure.empty() || FAbortRequested)
        return; // the first failure is the one that explains the check
    Pass.Failure = Text;
    ShowStatus(Account.Label, Text);
}

bool TCheckCycle::ShouldFetch(const TAccount& Account, TListResult Result, bool CheckMarked, TPass& Pass) {
    const TPop3Client& pop = *Account.Pop();
    switch (Result) {
    case TListResult::Changed:
        return true;
    case TListResult::Unchanged:
        if (!CheckMarked)
            return true; // a single-account check always looks at every header
        for (int j = 0; j < FMails.Count(); ++j)
            if (FMails[j].Account == Account.Label && FMails[j].MarkedForDelete)
                return true;
        ShowStatus(Account.Label, FromQString(QCoreApplication::translate("CheckCycle", "No new mail")));
        return false;
    case TListResult::ConnectFailed:
        Fail(Account, Pass, FromQString(QCoreApplication::translate("CheckCycle", "Failed on connect")));
        return false;
    case TListResult::LoginFailed:
        Fail(Account, Pass,
             WithOAuthHint(LoginFailureText(ResponseCodeOf(pop.LastReply()), RetryTime(Account)),
                           pop.SaslMechanisms(), ResponseCodeOf(pop.LastReply())));
        return false;
    case TListResult::TlsFailed:
        Fail(Account, Pass,
             FromQString(QCoreApplication::translate("CheckCycle", "Failed on TLS: %1")
                             .arg(ToQString(FirstLine(pop.LastReply())))));
        return false;
    case TListResult::ListFailed:
        //: %1 is the command and why it failed: "LIST: the connection to the server closed".
        Fail(Account, Pass,
             FromQString(QCoreApplication::translate("CheckCycle", "Failed on %1")
                             .arg(ToQString(pop.ListingFailure()))));
        return false;
    case TListResult::Aborted:
        return false;
    }
    return false;
}

void TCheckCycle::RunPass(TAccount& Account, TPass& Pass) {
    for (int j = 0; j < FMails.Count(); ++j)
        if (FMails[j].Account == Account.Label) {
            Pass.Before.emplace(&FMails[j], FMails[j].State);
            FMails[j].State = TMailState::Unseen;
        }
    FetchHeaders(Account, Pass);
    if (Pass.Complete && !FAbortRequested) {
        // Only a pass that met every listed message may say what the mailbox holds.
        Account.StoreListing(Pass.Listing);
        Account.LastUniqueIds = Account.Pop()->UniqueIds();
    }
    if (FAbortRequested)
        Account.StoreListing(""); // the next check fetches everything again
}

void TCheckCycle::RecordOutcome(TAccount& Account, TPass& Pass) {
    if (FAbortRequested)
        return; // an abort changes nothing else
    if (Pass.DeletionsLost) {
        // What matters most is that the marked mail is still there: the status says so first.
        Pass.Failure = DeletionNotDoneText(static_cast<int>(Pass.Deleted.size())) +
                       (Pass.Failure.empty() ? "" : " (" + Pass.Failure + ")");
        ShowStatus(Account.Label, Pass.Failure);
    }
    if (!Pass.Failure.empty())
        FFailures.push_back(Account.Label + ": " + Pass.Failure);
    if (!Pass.Failure.empty() && NetworkKnownDown)
        return; // the network, not the account, is at fault
    Account.RecordCheck(Pass.Failure, NowMs());
}

TListResult TCheckCycle::ConnectAndList(TAccount& Account, TPass& Pass) {
    if (const std::optional<TListResult> failed = LogIn(Account, Pass))
        return *failed;
    const TPop3Client& pop = *Account.Pop();
    if (!pop.ListingFailure().empty()) {
        LogSystem(pop.LastReply());
        return TListResult::ListFailed;
    }
    ShowStatus(
        Account.Label,
        FromQString(
            QCoreApplication::translate("CheckCycle", "%1 messages on server").arg(pop.MessageCount())));
    LogSystem(pop.LastReply());
    Pass.Listing = pop.LastReply();
    // With UIDL, a message replaced by another of the same size changes the unique ids.
    if (Account.SameListing(Pass.Listing) && pop.UniqueIds() == Account.LastUniqueIds)
        return TListResult::Unchanged;
    return TListResult::Changed;
}

void TCheckCycle::FetchHeaders(TAccount& Account, TPass& Pass) {
    TPop3Client& pop = *Account.Pop();
    const std::int32_t n = std::max(pop.MessageCount(), 0);
    const TFetchPlan plan = PlanFetch(n, pop.UniqueIds(), Account.UidlIdentities,
                                      [this](const std::string& Key) { return FMails.FindMail(Key) >= 0; });
    // Known messages are matched in their turn, so that the status runs through k/n in order.
    auto known = plan.Known.begin();
    const auto matchKnownBefore = [&](std::int32_t Before) {
        for (; known != plan.Known.end() && known->first < Before; ++known)
            if (!MatchKnown(Account, Pass, known->first, known->second))
                return false;
        return true;
    };
    const bool ran =
        pop.FetchTops(plan.Fetch, MaxLines, [&](std::int32_t K, bool Ok, const std::string& Text) {
            if (!matchKnownBefore(K))
                return false;
            if (Ok)
                TakeFetched(Account, Pass, K, Text);
            else if (pop.Connected()) {
                ++Pass.NotFetched;
                LogSystem(FromQString(
                    QCoreApplication::translate("CheckCycle", "Message %1 could not be fetched: %2")
                        .arg(QString::number(K), ToQString(FirstLine(pop.LastReply())))));
            }
            FHost.RefreshStatus();
            return !FAbortRequested && pop.Connected();
        });
    if (!ran && !pop.Connected())
        Fail(Account, Pass,
             FromQString(QCoreApplication::translate("CheckCycle", "Failed on TOP: %1")
                             .arg(ToQString(FirstLine(pop.LastReply())))));
    if (!ran || FAbortRequested || !matchKnownBefore(n + 1))
        return;
    Pass.Complete = Pass.NotFetched == 0;
    if (Pass.Complete && pop.HasUniqueIds()) {
        // Ids no longer listed belong to mail gone from the server.
        std::unordered_set<std::string> listed;
        for (const auto& [number, uid] : pop.UniqueIds())
            listed.insert(uid);
        std::erase_if(Account.UidlIdentities,
                      [&listed](const auto& Entry) { return !listed.contains(Entry.first); });
    }
    DeleteMarked(Account, Pass);
    if (!pop.Connected()) {
        Fail(Account, Pass,
             FromQString(QCoreApplication::translate("CheckCycle", "Failed on DELE: %1")
                             .arg(ToQString(FirstLine(pop.LastReply())))));
        return;
    }
    ShowStatus(Account.Label, DoneText(Pass.NotFetched, Pass.NotDeleted));
    FHost.RefreshStatus();
}

void TCheckCycle::Retrieved(const TAccount& Account, std::int32_t K) {
    ShowStatus(Account.Label,
               FromQString(QCoreApplication::translate("CheckCycle", "message %1/%2 retrieved")
                               .arg(QString::number(K),
                                    QString::number(std::max(Account.Pop()->MessageCount(), 0)))));
}

bool TCheckCycle::MatchKnown(const TAccount& Account, TPass& Pass, std::int32_t K, const std::string& Key) {
    if (const int j = FMails.FindMail(Key); j >= 0) {
        FMails[j].State = TMailState::Old;
        FMails[j].SetServerIdx(K);
        Pass.Keys[K] = Key;
        FHost.UpdateMail(j);
        Retrieved(Account, K);
    } else {
        ++Pass.NotFetched; // gone from the list during a wait: met by nobody
    }
    FHost.RefreshStatus();
    return !FAbortRequested;
}

void TCheckCycle::TakeFetched(TAccount& Account, TPass& Pass, std::int32_t K, const std::string& Text) {
    const TPop3Client& pop = *Account.Pop();
    if (const std::size_t dropped = pop.Conversation()->UnexpectedBytesDropped())
        LogSystem(FromQString(
            QCoreApplication::translate("CheckCycle", "Dropped %1 bytes that the server sent unasked")
                .arg(dropped)));
    const TMessageSize& sizes = pop.MessageSizes();
    TFetchedMail fetched =
        MailFromTop(Text, K, Account.Label,
                    static_cast<std::size_t>(K) < sizes.size() ? sizes[static_cast<std::size_t>(K)] : -1);
    if (fetched.DateError)
        LogSystem(FromQString(QCoreApplication::translate("CheckCycle", "DateSent error")));
    if (!fetched.Problems.empty())
        LogSystem(FromQString(QCoreApplication::translate("CheckCycle", "Header error in message %1: %2")
                                  .arg(QString::number(K), ToQString(fetched.Problems))));
    std::unique_ptr<TMail> mail = std::move(fetched.Mail);
    mail->Uid = pop.UniqueIdOf(K);
    std::string key = MailKey(Account.Label, mail->Uid, mail->HeaderLines());
    // Two messages with the very same header (a mail delivered twice) are two entries.
    if (const int seen = Pass.Seen[key]++; seen > 0)
        key += "#" + std::to_string(seen + 1);
    mail->Key = key;
    Pass.Keys[K] = key;
    if (!mail->Uid.empty())
        Account.UidlIdentities[mail->Uid] = key;
    const bool announced =
        SeenMail != nullptr && SeenMail->Contains(SeenAccountOf(Account), SeenMailId(*mail));
    AddOrUpdateMail(std::move(mail), announced);
    Retrieved(Account, K);
}

void TCheckCycle::AddOrUpdateMail(std::unique_ptr<TMail> Mail, bool AnnouncedBefore) {
    const int j = FMails.FindMail(Mail->MatchKey());
    if (j >= 0) {
        FMails[j].State = TMailState::Old;
        FMails[j].SetServerIdx(Mail->ServerIdx);
        FHost.UpdateMail(j);
        return;
    }
    if (AnnouncedBefore) {
        // Announced in an earlier run: listed again, but neither new nor announced.
        Mail->State = TMailState::Old;
        FHost.AddMail(std::move(Mail));
        return;
    }
    FNewMailArrived = true;
    FNewMail.push_back(Mail->MatchKey());
    Mail->State = TMailState::New;
    Mail->NotLookedAt = true;
    FHost.AddMail(std::move(Mail));
}

void TCheckCycle::Sweep(const TAccount& Account, bool Fetched, const TPass& Pass) {
    const bool gone = Fetched && Pass.Complete && !FAbortRequested;
    for (int j = 0; j < FMails.Count();) {
        TMail& mail = FMails[j];
        if (mail.Account != Account.Label) {
            ++j;
            continue;
        }
        if (Fetched && mail.State == TMailState::Unseen) {
            if (gone) {
                FHost.RemoveMail(j); // a complete pass did not meet it: the next entry moves up
                continue;
            }
            // Not met, but the pass did not see everything: it stays as it was.
            const auto before = Pass.Before.find(&mail);
            mail.State = before == Pass.Before.end() ? TMailState::Old : before->second;
        } else if (!Fetched && mail.State == TMailState::New && !FAbortRequested) {
            mail.State = TMailState::Old;
        }
        FHost.UpdateMail(j);
        ++j;
    }
}

void TCheckCycle::RememberSeen(const TAccount& Account, bool Fetched, const TPass& Pass) {
    if (SeenMail == nullptr || !Fetched)
        return;
    // Every mail listed now was announced (or is, at the end of this check command).
    std::vector<std::string> listed;
    for (int j = 0; j < FMails.Count(); ++j)
        if (FMails[j].Account == Account.Label)
            listed.push_back(SeenMailId(FMails[j]));
    // Only a complete pass tells what the server no longer has; otherwise nothing is forgotten.
    const TSeenAccount account = SeenAccountOf(Account);
    const bool changed =
        Pass.Complete && !FAbortRequested ? SeenMail->Keep(account, listed) : SeenMail->Add(account, listed);
    if (changed && SeenMailChanged)
        SeenMailChanged();
}

void TCheckCycle::NotifyCheckResult() {
    if (FNewMailArrived) {
        FHost.AnnounceNewMail(FNewMail);
        std::vector<std::string>().swap(FNewMail); // a first check can add many thousand keys
        FHost.RestoreAndRaise();
        FHost.PlaySound(TCheckSound::NewMail);
    } else {
        FHost.PlaySound(TCheckSound::NoMail);
    }
}

} // namespace quillet

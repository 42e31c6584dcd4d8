#include "check/check_cycle.h"

#include "check/check_plan.h"
#include "check/fetched_mail.h"
#include "check/status_texts.h"

#include "mail/pop3_client.h"
#include "mail/smtp_client.h"
#include "model/account.h"
#include "model/mails.h"
#include "util/strings.h"

#include <QCoreApplication>
#include <QDateTime>
#include <exception>
#include <map>
#include <unordered_map>
#include <unordered_set>

namespace quillet {

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

// The first line of a text, for a status bar that shows one line.
std::string FirstLine(const std::string& Text) {
    return Text.substr(0, Text.find_first_of("\r\n"));
}

std::string Quoted(const TMail& Mail) {
    return "\"" + Mail.Subject + "\"";
}

} // namespace

// What one account's pass learns on its connection.
struct TCheckCycle::TPass {
    std::string Listing;                       // this connection's LIST reply
    std::map<std::int32_t, std::string> Keys;  // message number -> key of the mail it was matched to
    std::unordered_map<std::string, int> Seen; // keys met so far (headers alike twice are told apart)
    std::unordered_map<const TMail*, TMailState> Before; // states of the account's mails before the pass
    int NotFetched = 0;                                  // TOP refused for a message
    int NotDeleted = 0;                                  // marked mails not sent DELE, or refused
    std::string Failure;                                 // why the session ended before the pass did
    bool Complete = false;                               // every listed message was met, on a live session
    std::vector<std::string> Deleted;                    // keys whose DELE was accepted, waiting for QUIT
    bool DeletionsLost = false;                          // ... and QUIT was not accepted
};

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
    ShowStatus("", "Aborted!");
}

void TCheckCycle::BeginRunning() {
    if (FRunning++ == 0)
        FHost.SetCommandsEnabled(false);
}

void TCheckCycle::EndRunning() {
    if (--FRunning == 0)
        FHost.SetCommandsEnabled(true);
}

void TCheckCycle::CheckOneAccount(int Position, bool CheckMarked, bool Automatic) {
    TAccount& account = FAccounts[Position];
    if (account.Checking)
        return;
    if (Automatic && account.LoginDelay > 0 && account.LastLoginMs > 0 &&
        NowMs() < account.LastLoginMs + std::int64_t{account.LoginDelay} * 1000) {
        ShowStatus(account.Label, LoginDelayText(account.LoginDelay, RetryTime(account)));
        return;
    }
    const TAccountRun run(*this, account, Position);
    const std::string label = account.Label;
    TPop3Client& pop = *account.Pop();
    TPass pass;
    bool fetch = false;
    std::string failure;
    const auto fail = [&](const std::string& Text) {
        if (!failure.empty() || FAbortRequested)
            return; // the first failure is the one that explains the check
        failure = Text;
        ShowStatus(label, failure);
    };
    try {
        switch (ConnectAndList(account, pass)) {
        case TListResult::Changed:
            fetch = true;
            break;
        case TListResult::Unchanged:
            if (CheckMarked) {
                for (int j = 0; j < FMails.Count() && !fetch; ++j)
                    fetch = FMails[j].Account == label && FMails[j].MarkedForDelete;
            } else {
                fetch = true;
            }
            if (!fetch)
                ShowStatus(label, "No new mail");
            break;
        case TListResult::ConnectFailed:
            fail("Failed on connect");
            break;
        case TListResult::LoginFailed:
            fail(LoginFailureText(ResponseCodeOf(pop.LastReply()), RetryTime(account)));
            break;
        case TListResult::TlsFailed:
            fail("Failed on TLS: " + FirstLine(pop.LastReply()));
            break;
        case TListResult::ListFailed:
            fail("Failed on " + pop.ListingFailure());
            break;
        case TListResult::Aborted:
            break;
        }
        if (fetch) {
            for (int j = 0; j < FMails.Count(); ++j)
                if (FMails[j].Account == label) {
                    pass.Before.emplace(&FMails[j], FMails[j].State);
                    FMails[j].State = TMailState::Unseen;
                }
            FetchHeaders(account, pass);
            if (!pass.Failure.empty())
                fail(pass.Failure);
            if (pass.Complete && !FAbortRequested) {
                // Only a pass that met every listed message may say what the mailbox holds.
                account.StoreListing(pass.Listing);
                account.LastUniqueIds = pop.UniqueIds();
            }
            if (FAbortRequested)
                account.StoreListing(""); // the next check fetches everything again
        }
        bool quitAccepted = false;
        if (pop.Connected()) {
            quitAccepted = QuitSession(account);
            if (!quitAccepted)
                fail("Failed on quit: " + FirstLine(pop.LastReply()));
        }
        FinishDeletions(pass, quitAccepted);
    } catch (const std::exception& e) {
        // Whatever went wrong, this session is over and the next account and tick go on.
        pop.Abort();
        pass.Complete = false;
        fail(std::string("Failed: ") + e.what());
        FinishDeletions(pass, false);
    }
    if (pass.DeletionsLost && !FAbortRequested) {
        // What matters most is that the marked mail is still there: the status says so first.
        failure = DeletionNotDoneText(static_cast<int>(pass.Deleted.size())) +
                  (failure.empty() ? "" : " (" + failure + ")");
        ShowStatus(label, failure);
    }
    if (!FAbortRequested) {
        account.LastFailure = failure;
        if (!failure.empty())
            FFailures.push_back(label + ": " + failure);
    }
    Sweep(account, fetch, pass);
}

TListResult TCheckCycle::ConnectAndList(TAccount& Account, TPass& Pass) {
    TPop3Client& pop = *Account.Pop();
    pop.UserName = Account.UserName;
    pop.Password = Account.Password;
    pop.Host = Account.Host;
    pop.Port = Account.Port();
    pop.Security = Account.Security;
    pop.UseFastChecks = UseFastChecks;
    pop.TrustedCert = Account.TrustedCert;
    ShowStatus(Account.Label, "connecting");
    if (!pop.Connect()) {
        if (FAbortRequested)
            return TListResult::Aborted; // what the last check refused stays as it was
        const bool tls = pop.TlsFailed();
        const std::string reason = pop.LastReply();
        if (tls) {
            const std::string certificate = pop.TlsCertificateText();
            LogSystem("Certificate: " + certificate);
            Account.RefusedCertFingerprint = pop.TlsCertificateFingerprint();
            Account.RefusedCertText = certificate;
        }
        pop.Abort();
        LogSystem(reason);
        return tls ? TListResult::TlsFailed : TListResult::ConnectFailed;
    }
    if (const std::string tls = pop.TlsSummary(); !tls.empty())
        LogSystem("TLS: " + tls);
    ShowStatus(Account.Label, "sending name and password");
    if (!pop.Capabilities().empty())
        Account.LoginDelay = pop.LoginDelay(); // a server that lists nothing changes nothing
    const bool loggedIn = pop.Login();
    if (pop.PassAccepted())
        Account.LastLoginMs = NowMs(); // the server counts this log-in, whatever follows
    if (FAbortRequested)
        return TListResult::Aborted;
    if (!loggedIn) {
        pop.Abort();
        LogSystem(pop.LastReply());
        return TListResult::LoginFailed;
    }
    if (!pop.ListingFailure().empty()) {
        LogSystem(pop.LastReply());
        return TListResult::ListFailed;
    }
    ShowStatus(Account.Label, std::to_string(pop.MessageCount()) + " messages on server");
    LogSystem(pop.LastReply());
    Pass.Listing = pop.LastReply();
    // With UIDL, a message replaced by another of the same size changes the unique ids.
    if (Account.SameListing(Pass.Listing) && pop.UniqueIds() == Account.LastUniqueIds)
        return TListResult::Unchanged;
    return TListResult::Changed;
}

void TCheckCycle::FetchHeaders(TAccount& Account, TPass& Pass) {
    TPop3Client& pop = *Account.Pop();
    const std::string label = Account.Label;
    const std::int32_t n = std::max(pop.MessageCount(), 0);
    const auto retrieved = [&](std::int32_t K) {
        ShowStatus(label, "message " + std::to_string(K) + "/" + std::to_string(n) + " retrieved");
    };
    const TFetchPlan plan = PlanFetch(n, pop.UniqueIds(), Account.UidlIdentities,
                                      [this](const std::string& Key) { return FMails.FindMail(Key) >= 0; });
    // Known messages are matched in their turn, so that the status runs through k/n in order.
    auto known = plan.Known.begin();
    const auto matchKnownBefore = [&](std::int32_t Before) {
        for (; known != plan.Known.end() && known->first < Before; ++known) {
            const auto& [number, key] = *known;
            if (const int j = FMails.FindMail(key); j >= 0) {
                FMails[j].State = TMailState::Old;
                FMails[j].SetServerIdx(number);
                Pass.Keys[number] = key;
                FHost.UpdateMail(j);
                retrieved(number);
            } else {
                ++Pass.NotFetched; // gone from the list during a wait: met by nobody
            }
            FHost.RefreshStatus();
            if (FAbortRequested)
                return false;
        }
        return true;
    };
    const auto sizeOf = [&pop](std::int32_t K) {
        const TMessageSize& sizes = pop.MessageSizes();
        return K > 0 && static_cast<std::size_t>(K) < sizes.size() ? sizes[static_cast<std::size_t>(K)] : -1;
    };
    const bool ran =
        pop.FetchTops(plan.Fetch, MaxLines, [&](std::int32_t K, bool Ok, const std::string& Text) {
            if (!matchKnownBefore(K))
                return false;
            if (Ok) {
                if (const std::size_t dropped = pop.Conversation()->UnexpectedBytesDropped())
                    LogSystem("Dropped " + std::to_string(dropped) + " bytes that the server sent unasked");
                TFetchedMail fetched = MailFromTop(Text, K, label, sizeOf(K));
                if (fetched.DateError)
                    LogSystem("DateSent error");
                if (!fetched.Problems.empty())
                    LogSystem("Header error in message " + std::to_string(K) + ": " + fetched.Problems);
                std::unique_ptr<TMail> mail = std::move(fetched.Mail);
                mail->Uid = pop.UniqueIdOf(K);
                std::string key = MailKey(label, mail->Uid, mail->HeaderLines);
                // Two messages with the very same header (a mail delivered twice) are two entries.
                if (const int seen = Pass.Seen[key]++; seen > 0)
                    key += "#" + std::to_string(seen + 1);
                mail->Key = key;
                Pass.Keys[K] = key;
                if (!mail->Uid.empty())
                    Account.UidlIdentities[mail->Uid] = key;
                AddOrUpdateMail(std::move(mail));
                retrieved(K);
            } else if (pop.Connected()) {
                ++Pass.NotFetched;
                LogSystem("Message " + std::to_string(K) +
                          " could not be fetched: " + FirstLine(pop.LastReply()));
            } else if (Pass.Failure.empty() && !FAbortRequested) {
                Pass.Failure = "Failed on TOP: " + FirstLine(pop.LastReply());
            }
            FHost.RefreshStatus();
            return !FAbortRequested && (Ok || pop.Connected());
        });
    if (!ran || FAbortRequested || !matchKnownBefore(n + 1))
        return;
    if (!pop.Connected()) {
        if (Pass.Failure.empty())
            Pass.Failure = "Failed on TOP: " + FirstLine(pop.LastReply());
        return;
    }
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
        if (Pass.Failure.empty() && !FAbortRequested)
            Pass.Failure = "Failed on DELE: " + FirstLine(pop.LastReply());
        return;
    }
    ShowStatus(label, DoneText(Pass.NotFetched, Pass.NotDeleted));
    FHost.RefreshStatus();
}

void TCheckCycle::DeleteMarked(TAccount& Account, TPass& Pass) {
    TPop3Client& pop = *Account.Pop();
    const std::string label = Account.Label;
    const TSessionFacts session{pop.UniqueIds(), pop.MessageSizes(), Pass.Keys};
    std::map<std::int32_t, std::string> targets; // message number -> key of the marked mail
    for (int j = 0; j < FMails.Count(); ++j) {
        const TMail& mail = FMails[j];
        if (mail.Account != label || !mail.MarkedForDelete)
            continue;
        if (mail.State == TMailState::Unseen && Pass.Complete)
            continue; // gone from the server already: the sweep takes it out of the list
        if (const std::string refusal = DeletionRefusal(mail, session); !refusal.empty()) {
            ++Pass.NotDeleted;
            LogSystem("Not deleted: " + Quoted(mail) + ": " + refusal + "; it stays marked");
            continue;
        }
        targets.emplace(mail.ServerIdx, mail.MatchKey());
    }
    if (targets.empty())
        return;
    std::vector<std::int32_t> numbers;
    for (const auto& [number, key] : targets)
        numbers.push_back(number);
    // The mark is read again as each DELE is written: a mark taken off meanwhile is respected.
    const auto stillMarked = [&](std::int32_t N) {
        const int j = FMails.FindMail(targets[N]);
        return j >= 0 && FMails[j].MarkedForDelete;
    };
    pop.DeleteMessages(numbers, stillMarked, [&](std::int32_t N, bool Ok, const std::string& Reply) {
        LogSystem("DELE " + std::to_string(N));
        LogSystem(Reply);
        if (Ok) {
            Pass.Deleted.push_back(targets[N]);
        } else {
            ++Pass.NotDeleted;
            if (const int j = FMails.FindMail(targets[N]); j >= 0)
                LogSystem("Not deleted: " + Quoted(FMails[j]) + ": " + FirstLine(Reply) +
                          "; it stays marked");
        }
        FHost.RefreshStatus();
        QCoreApplication::processEvents();
        return !FAbortRequested;
    });
}

void TCheckCycle::FinishDeletions(TPass& Pass, bool QuitAccepted) {
    if (Pass.Deleted.empty())
        return;
    if (!QuitAccepted) {
        Pass.DeletionsLost = true; // the rows stay, marked
        return;
    }
    // The server deletes on QUIT: only now are the rows taken out.
    for (const std::string& key : Pass.Deleted)
        if (const int j = FMails.FindMail(key); j >= 0)
            FHost.RemoveMail(j);
    FHost.RefreshStatus();
}

void TCheckCycle::AddOrUpdateMail(std::unique_ptr<TMail> Mail) {
    const int j = FMails.FindMail(Mail->MatchKey());
    if (j >= 0) {
        FMails[j].State = TMailState::Old;
        FMails[j].SetServerIdx(Mail->ServerIdx);
        FHost.UpdateMail(j);
        return;
    }
    FNewMailArrived = true;
    FNewMail.push_back(Mail->MatchKey());
    Mail->State = TMailState::New;
    FHost.AddMail(std::move(Mail));
}

bool TCheckCycle::QuitSession(TAccount& Account) {
    TPop3Client& pop = *Account.Pop();
    LogSystem("QUIT");
    const bool accepted = pop.Quit();
    if (!accepted) {
        LogSystem("QUIT failed. Aborting...");
        pop.Abort();
    }
    LogSystem(pop.LastReply());
    return accepted;
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

void TCheckCycle::NotifyCheckResult() {
    if (FNewMailArrived) {
        FHost.AnnounceNewMail(FNewMail);
        FHost.RestoreAndRaise();
        FHost.PlaySound(TCheckSound::NewMail);
    } else {
        FHost.PlaySound(TCheckSound::NoMail);
    }
}

} // namespace quillet

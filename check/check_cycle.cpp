#include "check/check_cycle.h"

#include "check/fetched_mail.h"
#include "check/status_texts.h"

#include "mail/mail_message.h"
#include "mail/pop3_client.h"
#include "mail/smtp_client.h"
#include "model/account.h"
#include "model/mails.h"
#include "util/strings.h"

#include <QCoreApplication>
#include <QDateTime>
#include <unordered_set>

namespace quillet {

namespace {

// The entry at Index of Mails is Entry; after a wait, entries may have moved or gone.
int IndexOfEntry(const TMails& Mails, const std::string& ID, const TMail* Entry) {
    const int first = Mails.FindMail(ID);
    if (first >= 0 && &Mails[first] == Entry)
        return first;
    for (int j = 0; j < Mails.Count(); ++j)
        if (&Mails[j] == Entry)
            return j;
    return -1;
}

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

} // namespace

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
    FNewMailArrived = false;
    FNewMail.clear();
    FAbortRequested = false;
    const int count = FAccounts.Count();
    for (int i = 0; i < count && i < FAccounts.Count(); ++i) {
        if (FAccounts[i].Active)
            CheckOneAccount(i, true, Automatic);
        if (FAbortRequested)
            break;
    }
    FHost.SelectFirstRowIfNone();
    if (!FAbortRequested)
        FLastFullCheck = NowDateTime();
    FHost.RefreshStatus();
    NotifyCheckResult();
}

void TCheckCycle::CheckOne(int Position) {
    if (Position < 0 || Position >= FAccounts.Count())
        return;
    FNewMailArrived = false;
    FNewMail.clear();
    FAbortRequested = false;
    CheckOneAccount(Position, false);
    FHost.SelectFirstRowIfNone();
    NotifyCheckResult();
}

void TCheckCycle::Abort() {
    FAccounts.DropAllSessions();
    FAbortRequested = true;
    ShowStatus("", "Aborted!");
}

void TCheckCycle::BeginRunning() {
    if (FRunning++ == 0)
        FHost.SetCommandsEnabled(false);
}

void TCheckCycle::EndRunning() {
    // A nested check that ends first leaves the commands disabled: the account list must not
    // change while any check still waits on a server.
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
    account.Checking = true;
    BeginRunning();
    bool fetch = false;
    FHost.UpdateAccountButton(Position);
    FHost.SetAbortEnabled(true);
    try {
        const std::string& label = account.Label;
        switch (ConnectAndList(account)) {
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
            ShowStatus(label, "Failed on connect");
            break;
        case TListResult::LoginFailed:
            ShowStatus(label,
                       LoginFailureText(ResponseCodeOf(account.Pop()->LastReply()), RetryTime(account)));
            break;
        case TListResult::TlsFailed:
            ShowStatus(label, "Failed on TLS: " + FirstLine(account.Pop()->LastReply()));
            break;
        }
        if (fetch) {
            for (int j = 0; j < FMails.Count(); ++j)
                if (FMails[j].Account == label)
                    FMails[j].State = TMailState::Unseen;
            FetchHeaders(account);
            if (FAbortRequested)
                account.StoreListing(""); // the next check fetches everything again
        }
        if (QuitSession(account) && !FAbortRequested)
            ShowStatus("", "Failed on quit");
    } catch (...) {
        // An error that escapes (a listing the client cannot read) is shown by the application;
        // the account and the commands are put back so that later checks can run.
        FHost.SetAbortEnabled(false);
        account.Checking = false;
        EndRunning();
        FHost.UpdateAccountButton(Position);
        throw;
    }
    FHost.SetAbortEnabled(FRunning > 1); // Abort stays while an outer check still runs
    if (!FAbortRequested)
        Sweep(account, fetch);
    account.Checking = false;
    EndRunning();
    FHost.RefreshStatus();
    FHost.UpdateAccountButton(Position);
}

TListResult TCheckCycle::ConnectAndList(TAccount& Account) {
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
    if (pop.LoggedIn())
        Account.LastLoginMs = NowMs();
    if (!loggedIn) {
        pop.Abort();
        LogSystem(pop.LastReply());
        return TListResult::LoginFailed;
    }
    ShowStatus(Account.Label, std::to_string(pop.MessageCount()) + " messages on server");
    LogSystem(pop.LastReply());
    if (Account.SameListing(pop.LastReply()))
        return TListResult::Unchanged;
    Account.StoreListing(pop.LastReply());
    return TListResult::Changed;
}

void TCheckCycle::FetchHeaders(TAccount& Account) {
    TPop3Client& pop = *Account.Pop();
    const TMailMessage& message = *Account.MailMessage();
    const std::string label = Account.Label;
    const std::int32_t n = pop.MessageCount();
    const auto retrieved = [&](std::int32_t K) {
        ShowStatus(label, "message " + std::to_string(K) + "/" + std::to_string(n) + " retrieved");
    };
    // A message whose unique id is known, and whose entry is still listed, is matched without
    // fetching its header again; everything else is fetched.
    std::vector<std::int32_t> fetch;
    std::vector<bool> known(static_cast<std::size_t>(std::max(n, 0)) + 1, false);
    for (std::int32_t k = 1; k <= n; ++k) {
        const auto id = Account.UidlIdentities.find(pop.UniqueIdOf(k));
        const int j = id == Account.UidlIdentities.end() || pop.UniqueIdOf(k).empty()
                          ? -1
                          : FMails.FindMail(id->second);
        known[static_cast<std::size_t>(k)] = j >= 0 && FMails[j].Account == label;
        if (!known[static_cast<std::size_t>(k)])
            fetch.push_back(k);
    }
    // Known messages are matched in their turn, so that the status runs through k/n in order.
    std::int32_t turn = 1;
    const auto matchKnownBefore = [&](std::int32_t Before) {
        for (; turn < Before && turn <= n; ++turn) {
            if (!known[static_cast<std::size_t>(turn)])
                continue;
            const int j = FMails.FindMail(Account.UidlIdentities[pop.UniqueIdOf(turn)]);
            if (j >= 0) {
                FMails[j].State = TMailState::Old;
                FMails[j].SetServerIdx(turn);
                FHost.UpdateMail(j);
                retrieved(turn);
            }
            FHost.RefreshStatus();
            if (FAbortRequested)
                return false;
        }
        return true;
    };
    const bool complete = pop.FetchTops(fetch, MaxLines, [&](std::int32_t K, bool Ok) {
        if (!matchKnownBefore(K))
            return false;
        turn = K + 1;
        if (Ok) {
            if (const std::size_t dropped = pop.Conversation()->UnexpectedBytesDropped())
                LogSystem("Dropped " + std::to_string(dropped) + " bytes that the server sent unasked");
            std::string problems;
            bool dateError = false;
            auto mail = MailFromMessage(message, K, label, Account.ListedSize(K), problems, dateError);
            if (dateError)
                LogSystem("DateSent error");
            if (!problems.empty())
                LogSystem("Header error in message " + std::to_string(K) + ": " + problems);
            if (const std::string uid = pop.UniqueIdOf(K); !uid.empty())
                Account.UidlIdentities[uid] = mail->UniqueID;
            AddOrUpdateMail(std::move(mail));
            retrieved(K);
        }
        FHost.RefreshStatus();
        return !FAbortRequested;
    });
    if (complete && matchKnownBefore(n + 1) && pop.HasUniqueIds()) {
        // Ids no longer listed belong to mail gone from the server.
        std::unordered_set<std::string> listed;
        for (std::int32_t k = 1; k <= n; ++k)
            listed.insert(pop.UniqueIdOf(k));
        std::erase_if(Account.UidlIdentities,
                      [&listed](const auto& Entry) { return !listed.contains(Entry.first); });
    }
    if (!FAbortRequested)
        DeleteMarked(Account);
    ShowStatus(label, "done");
    FHost.RefreshStatus();
}

void TCheckCycle::DeleteMarked(TAccount& Account) {
    TPop3Client& pop = *Account.Pop();
    const std::string label = Account.Label;
    // The marked mails met in this check, taken now: marks set while the deletions run count at
    // the next check.
    struct TMarked {
        const TMail* Entry;
        std::string ID;
    };
    std::vector<TMarked> marked;
    std::vector<std::int32_t> numbers;
    for (int j = 0; j < FMails.Count(); ++j) {
        const TMail& mail = FMails[j];
        if (mail.Account != label || !mail.MarkedForDelete)
            continue;
        if (mail.State == TMailState::Unseen) {
            // Not met in this check: its message number comes from an earlier connection and
            // may now belong to another message. Nothing is sent; the mark stays.
            LogSystem("Not deleted: \"" + mail.Subject +
                      "\" was not found on the server in this check; it stays marked");
            continue;
        }
        marked.push_back({&mail, mail.UniqueID});
        numbers.push_back(mail.ServerIdx);
    }
    std::size_t next = 0;
    pop.DeleteMessages(numbers, [&](std::int32_t N, bool) {
        const TMarked& done = marked[next++];
        LogSystem("DELE " + std::to_string(N));
        LogSystem(pop.LastReply());
        if (const int at = IndexOfEntry(FMails, done.ID, done.Entry); at >= 0)
            FHost.RemoveMail(at);
        FHost.RefreshStatus();
        QCoreApplication::processEvents();
        return !FAbortRequested;
    });
}

void TCheckCycle::AddOrUpdateMail(std::unique_ptr<TMail> Mail) {
    const int j = FMails.FindMail(Mail->UniqueID);
    if (j >= 0) {
        FMails[j].State = TMailState::Old;
        FMails[j].SetServerIdx(Mail->ServerIdx);
        FHost.UpdateMail(j);
        return;
    }
    FNewMailArrived = true;
    FNewMail.push_back(Mail->UniqueID);
    Mail->State = TMailState::New;
    FHost.AddMail(std::move(Mail));
}

bool TCheckCycle::QuitSession(TAccount& Account) {
    TPop3Client& pop = *Account.Pop();
    bool failed = false;
    LogSystem("QUIT");
    if (!pop.Quit()) {
        LogSystem("QUIT failed. Aborting...");
        pop.Abort();
        failed = true;
    }
    LogSystem(pop.LastReply());
    return failed;
}

void TCheckCycle::Sweep(const TAccount& Account, bool Fetched) {
    for (int j = 0; j < FMails.Count();) {
        TMail& mail = FMails[j];
        if (mail.Account != Account.Label) {
            ++j;
            continue;
        }
        if (Fetched && mail.State == TMailState::Unseen) {
            if (!mail.MarkedForDelete) {
                FHost.RemoveMail(j); // gone from the server: the next entry moves up
                continue;
            }
            mail.State = TMailState::Old; // kept with its mark (see DeleteMarked)
        } else if (!Fetched && mail.State == TMailState::New) {
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

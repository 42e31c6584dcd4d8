// The check of the accounts: for each account, connect, log in and list; when the listing
// changed (or mail is marked for deleting, or one account is checked on its own) fetch every
// header, merge the mails into the list, delete the marked ones on the server, and quit.
// Everything runs on the user-interface thread; every wait for a server keeps the window
// alive, so commands and timer ticks can run in the middle of a check. A check command that
// arrives then is queued and runs when the running one ends: checks never nest. Mails are
// referred to by key across every wait, and every loop tests for an abort after each wait.
// Mail leaves the list only when the server is known not to have it any more.
#pragma once

#include "check/check_host.h"
#include "check/oauth_login.h"
#include "util/date_time.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillet {

class TAccount;
class TAccounts;
class TMails;
class TSeenMail;

// Result of connecting, logging in and listing one account.
enum class TListResult {
    Changed = 0,
    Unchanged = 1,
    ConnectFailed = 2,
    LoginFailed = 3,
    TlsFailed = 4,
    ListFailed = 5, // logged in, but LIST or UIDL gave nothing to work with
    Aborted = 6,
};

class TCheckCycle {
public:
    TCheckCycle(TAccounts& Accounts, TMails& Mails, TCheckHost& Host);

    // Body lines asked for with every TOP.
    std::int32_t MaxLines = 50;
    // CAPA, PIPELINING and UIDL where the server offers them; off, one command at a time.
    bool UseFastChecks = true;
    // Asked before an automatic check contacts an account: why the account is left out this
    // time (shown as its status), or empty to check it. Unset, every account is checked.
    std::function<std::string(const TAccount&)> AutomaticCheckHeldBack;
    // Told true when the first account's check starts and false when the last one ends.
    std::function<void(bool Running)> RunningChanged;
    // Set while the network is known to be down: a check that fails then is shown as usual but
    // leaves the account's health as it was, since the account is not at fault.
    bool NetworkKnownDown = false;
    // The mails announced before, in this run or an earlier one: a fetched mail found there is
    // listed without being announced again. After each account's check it holds every mail the
    // list holds of the account, and after a check that met every message only those. Unset:
    // every mail that is not listed is new.
    TSeenMail* SeenMail = nullptr;
    // Told after an account's check changed SeenMail.
    std::function<void()> SeenMailChanged;

    bool AbortRequested() const { return FAbortRequested; }
    bool NewMailArrived() const { return FNewMailArrived; }
    // When the last check of all accounts that was not aborted ended; 0 before the first.
    TDateTime LastFullCheck() const { return FLastFullCheck; }
    // True while any account's check runs.
    bool Running() const { return FRunning > 0; }
    // True while a check command runs (also between its accounts): another one is queued.
    bool Busy() const { return FCommandRunning; }
    // True while any account has a connection open: a timed check then does nothing.
    bool AnyConnected() const;

    // "Check all accounts now": every active account, in order. Automatic (the timer) also
    // leaves out accounts whose server allows no log-in yet (LOGIN-DELAY).
    void CheckAll(bool Automatic = false);
    // The check of the one account at Position (a toolbar button or menu item): it fetches the
    // headers even when the listing is unchanged.
    void CheckOne(int Position);
    // "Abort checking": drops every connection and every queued check; the running check stops
    // at its next test.
    void Abort();

    // One account's check. CheckMarked: called from CheckAll, where an unchanged mailbox is
    // fetched only when one of its mails is marked for deleting.
    void CheckOneAccount(int Position, bool CheckMarked, bool Automatic = false);

private:
    struct TPass;
    class TAccountRun;
    struct TQueued {
        bool All;
        bool Automatic;
        int Position;
        bool operator==(const TQueued&) const = default;
    };
    void RunCheckAll(bool Automatic);
    void RunCheckOne(int Position);
    // Runs the check commands that arrived while one ran, in order, until none is left.
    void RunQueued();
    // An automatic check of a server that allows no log-in yet (LOGIN-DELAY) is held back.
    bool HeldBackByLoginDelay(const TAccount& Account, bool Automatic);
    // An automatic check of an account that AutomaticCheckHeldBack leaves out is held back.
    bool HeldBackBySchedule(const TAccount& Account, bool Automatic);
    // Records and shows the first failure of an account's check (never after an abort).
    void Fail(const TAccount& Account, TPass& Pass, const std::string& Text);
    TListResult ConnectAndList(TAccount& Account, TPass& Pass);
    // Connects and logs in (an OAuth account with a renewed token where due, and once more after
    // a refused one); the failure, or nothing once logged in.
    std::optional<TListResult> LogIn(TAccount& Account, TPass& Pass);
    std::optional<TListResult> LogInOnce(TAccount& Account);
    // Gives an OAuth account an access token to log in with (Force: a new one); false when it has
    // none, the failure shown. New tokens are saved at once.
    bool RenewAccessToken(TAccount& Account, TPass& Pass, bool Force);
    // Whether the headers are fetched after Result; shows why not.
    bool ShouldFetch(const TAccount& Account, TListResult Result, bool CheckMarked, TPass& Pass);
    // Fetches, matches and deletes; keeps the listing only when the pass was complete.
    void RunPass(TAccount& Account, TPass& Pass);
    void FetchHeaders(TAccount& Account, TPass& Pass);
    // Message K, known by its unique id, is Key's mail: it is met without its header.
    bool MatchKnown(const TAccount& Account, TPass& Pass, std::int32_t K, const std::string& Key);
    // Message K's header arrived as Text: its mail is matched or added.
    void TakeFetched(TAccount& Account, TPass& Pass, std::int32_t K, const std::string& Text);
    void Retrieved(const TAccount& Account, std::int32_t K);
    // The account's health notes how its check ended; the check command's status names a failure.
    void RecordOutcome(TAccount& Account, TPass& Pass);
    void DeleteMarked(TAccount& Account, TPass& Pass);
    // AnnouncedBefore: a mail that is not listed is listed as known, without an announcement.
    void AddOrUpdateMail(std::unique_ptr<TMail> Mail, bool AnnouncedBefore = false);
    // SeenMail follows what the list holds of the account after its check.
    void RememberSeen(const TAccount& Account, bool Fetched, const TPass& Pass);
    bool QuitSession(TAccount& Account);
    // Takes the rows of mails whose DELE was accepted out of the list once QUIT was accepted;
    // otherwise they stay, marked, and the pass notes that the deletion did not take place.
    void FinishDeletions(TPass& Pass, bool QuitAccepted);
    void Sweep(const TAccount& Account, bool Fetched, const TPass& Pass);
    // The status bar at the end of a check command: the failures of its accounts, if any.
    void ShowFailures();
    void ShowStatus(const std::string& Label, const std::string& Text);
    void LogSystem(const std::string& Line);
    void NotifyCheckResult();
    // Disables the commands when the first check starts and enables them when the last ends.
    void BeginRunning();
    void EndRunning();

    TAccounts& FAccounts;
    TMails& FMails;
    TCheckHost& FHost;
    TTokenRenewal FRenewal;
    bool FAbortRequested = false;
    bool FNewMailArrived = false;
    TDateTime FLastFullCheck = 0;
    int FRunning = 0;
    bool FCommandRunning = false;
    std::deque<TQueued> FQueue;
    std::vector<std::string> FNewMail;  // keys of the mails added by the running check command
    std::vector<std::string> FFailures; // "label: text" of the accounts that failed in it
};

} // namespace quillet

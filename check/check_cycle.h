// The check of the accounts: for each account, connect, log in and list; when the listing
// changed (or mail is marked for deleting, or one account is checked on its own) fetch every
// header, merge the mails into the list, delete the marked ones on the server, and quit.
// Everything runs on the user-interface thread; every wait for a server keeps the window
// alive, so commands, timer ticks and a nested check can run in the middle of a check. Mails are
// referred to by identity across every wait, and every loop tests for an abort after each wait.
#pragma once

#include "check/check_host.h"
#include "util/date_time.h"

#include <cstdint>
#include <string>

namespace quillet {

class TAccount;
class TAccounts;
class TMails;

// Result of connecting, logging in and listing one account.
enum class TListResult { Changed = 0, Unchanged = 1, ConnectFailed = 2, LoginFailed = 3, TlsFailed = 4 };

class TCheckCycle {
public:
    TCheckCycle(TAccounts& Accounts, TMails& Mails, TCheckHost& Host);

    // Body lines asked for with every TOP.
    std::int32_t MaxLines = 50;
    // CAPA, PIPELINING and UIDL where the server offers them; off, one command at a time.
    bool UseFastChecks = true;

    bool AbortRequested() const { return FAbortRequested; }
    bool NewMailArrived() const { return FNewMailArrived; }
    // When the last check of all accounts that was not aborted ended; 0 before the first.
    TDateTime LastFullCheck() const { return FLastFullCheck; }
    // True while any check runs (nested ones included).
    bool Running() const { return FRunning > 0; }
    // True while any account has a connection open: a timed check then does nothing.
    bool AnyConnected() const;

    // "Check all accounts now": every active account, in order. Automatic (the timer) also
    // leaves out accounts whose server allows no log-in yet (LOGIN-DELAY).
    void CheckAll(bool Automatic = false);
    // The check of the one account at Position (a toolbar button or menu item): it fetches the
    // headers even when the listing is unchanged.
    void CheckOne(int Position);
    // "Abort checking": drops every connection; the running check stops at its next test.
    void Abort();

    // One account's check. CheckMarked: called from CheckAll, where an unchanged mailbox is
    // fetched only when one of its mails is marked for deleting.
    void CheckOneAccount(int Position, bool CheckMarked, bool Automatic = false);

private:
    TListResult ConnectAndList(TAccount& Account);
    void FetchHeaders(TAccount& Account);
    void DeleteMarked(TAccount& Account);
    void AddOrUpdateMail(std::unique_ptr<TMail> Mail);
    bool QuitSession(TAccount& Account);
    void Sweep(const TAccount& Account, bool Fetched);
    void ShowStatus(const std::string& Label, const std::string& Text);
    void LogSystem(const std::string& Line);
    void NotifyCheckResult();
    // Disables the commands when the first check starts and enables them when the last ends.
    void BeginRunning();
    void EndRunning();

    TAccounts& FAccounts;
    TMails& FMails;
    TCheckHost& FHost;
    bool FAbortRequested = false;
    bool FNewMailArrived = false;
    TDateTime FLastFullCheck = 0;
    int FRunning = 0;
    std::vector<std::string> FNewMail; // identities added by the running check command
};

} // namespace quillet

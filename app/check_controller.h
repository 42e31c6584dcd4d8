// Ties the check cycle and the mail list to the main window: the check commands, the timer, the
// per-account check (posted so that a menu closes before its check begins), the list with its
// selection, sorting and mark and properties commands, the detail panes, and the full status
// refresh (title, tray hint), the new-mail notification with its actions, and the mails already
// announced (kept in a file beside the settings). It is the window's side of the check cycle's host.
#pragma once

#include "check/check_cycle.h"
#include "check/check_schedule.h"
#include "check/network_monitor.h"
#include "check/power_monitor.h"
#include "model/seen_mail.h"

#include <QObject>
#include <memory>

class QItemSelection;
class QModelIndex;
class QPoint;
class QVariant;

namespace quillet {

class TAccounts;
class TMails;
class TfrmMain;
class TMailListModel;
class TMailSortModel;
class TAccountMenus;
class TDesktopNotifier;

class TCheckController : public QObject, public TCheckHost {
    Q_OBJECT
public:
    TCheckController(TfrmMain& Window, TAccounts& Accounts, TMails& Mails);
    ~TCheckController() override;

    TCheckCycle& Cycle() { return FCycle; }
    TMailSortModel& SortModel() const { return *FSortModel; }
    TAccountMenus& AccountMenus() const { return *FMenus; }

    // Starts the check of the account at Position once the event loop next runs, so that the
    // menu it was chosen from has closed.
    void PostCheckOne(int Position);
    // The full status refresh: mail count, last check, title, tray hint and command states.
    void RefreshStatus() override;
    // A timed Check all, as the schedule asks for it on a tick (or after a resume): nothing
    // while a check runs; the check timer is stopped during the check and started after it.
    void TimerTick();
    TCheckSchedule& Schedule() { return FSchedule; }

    // TCheckHost
    void SetStatusText(const std::string& Text) override;
    void AppendSystemLine(const std::string& Line) override;
    void AddMail(std::unique_ptr<TMail> Mail) override;
    void UpdateMail(int MailIndex) override;
    void RemoveMail(int MailIndex) override;
    void UpdateAccountButton(int Position) override;
    void SetCommandsEnabled(bool Enabled) override;
    void SelectFirstRowIfNone() override;
    void PlaySound(TCheckSound Sound) override;
    void RestoreAndRaise() override;
    void AnnounceNewMail(const std::vector<std::string>& Keys) override;
    // Renewed sign-in tokens are written at once, through the window's settings save.
    void SaveAccounts() override;
    TDesktopNotifier& Notifier() const { return *FNotifier; }
    // Notifications go through Notifier from now on (tests put one on a bus of their own).
    void SetNotifier(TDesktopNotifier* Notifier);
    // The mails already announced, as loaded with the settings and kept after each check.
    const TSeenMail& SeenMail() const { return FSeenMail; }

    // The key of the notification action that marks its one mail for deleting.
    static constexpr const char* MarkAction = "mark-for-deletion";

protected:
    // The user has looked at the window once it stops being the active one.
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void ConnectCommands();
    void ConnectList();
    void CurrentRowChanged(const QModelIndex& Current);
    void ShowMail(int MailIndex);
    void MarkSelected();
    void ShowProperties();
    void DumpIDs();
    void ColumnClicked(int Column);
    void ShowSortIndicator();
    void ShowListMenu(const QPoint& At);
    std::vector<int> SelectedMailIndices() const;
    // The timed checks follow the options: on or off, and their interval.
    void FollowTimedChecks();
    // While the selected mail's account is failing, the status bar says so.
    void ShowSelectedAccountHealth();
    // The notification's "Show": the window comes back with its one mail selected, or the list.
    void ShowAnnounced(const QVariant& Tag);
    // The notification's "Mark for deletion": its one mail is marked as the Del command does.
    void MarkAnnounced(const QVariant& Tag);
    // The user has looked at the window: no mail is new to them any more.
    void LookedAt();
    std::string SeenMailPath() const;
    void LoadSeenMail();
    void SaveSeenMail();

    TfrmMain& FWindow;
    TAccounts& FAccounts;
    TMails& FMails;
    TCheckCycle FCycle;
    // Sleep and resume, and the network's state: the schedule follows them. Declared before the
    // schedule, which must go before the cycle whose hooks it holds.
    std::unique_ptr<TPowerMonitor> FPower;
    std::unique_ptr<class TPowerBroadcastFilter> FPowerFilter; // Windows: sleep and resume
    TNetworkMonitor FNetwork;
    TCheckSchedule FSchedule;
    TMailListModel* FListModel;
    TMailSortModel* FSortModel;
    TAccountMenus* FMenus;
    TDesktopNotifier* FNotifier = nullptr;
    TSeenMail FSeenMail;
    bool FWindowActive = false; // the user has the window in front of them
};

} // namespace quillet

// Ties the check cycle and the mail list to the main window: the check commands, the timer, the
// per-account check (posted so that a menu closes before its check begins), the list with its
// selection, sorting and mark and properties commands, the detail panes, and the full status
// refresh (title, tray hint). It is the window's side of the check cycle's host.
#pragma once

#include "check/check_cycle.h"
#include "check/check_schedule.h"
#include "check/network_monitor.h"
#include "check/power_monitor.h"

#include <QObject>
#include <memory>

class QItemSelection;
class QModelIndex;
class QPoint;

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
    TDesktopNotifier& Notifier() const { return *FNotifier; }

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
    TDesktopNotifier* FNotifier;
};

} // namespace quillet

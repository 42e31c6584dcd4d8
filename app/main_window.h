// The main window: menus, the two toolbars, the mail list over the detail panes, the status bar
// and the tray icon, with the wiring between them. The rules live next to it (settings load and
// save, start sequence, close rule, auto checking, master password); the window applies them.
#pragma once

#include "app/auto_check.h"
#include "app/link_rich_edit.h"
#include "app/main_actions.h"
#include "app/window_lifecycle.h"
#include "dialogs/dialog_positions.h"
#include "settings/app_settings.h"
#include "settings/keyring.h"
#include "settings/main_settings.h"

#include <QMainWindow>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAbstractItemModel;
class QLabel;
class QMenu;
class QSplitter;
class QStackedWidget;
class QTabBar;
class QTextEdit;
class QToolBar;
class QToolButton;

namespace quillet {

class TAccounts;
class TMails;
class TSettingsStore;
class TIniFile;
class TSoundPlayer;
class TSoundTable;
class TAutostartEntries;
class TBrightelAutostart;
class TSystray;
class TMailListView;
class TPaneSplitter;
class TfrmAskPassword;
class TKeyringSecrets;
struct TKeyringMove;

// What the window is given besides the two lists.
struct TMainWindowServices {
    TSettingsStore* Store = nullptr;                     // the options store; required, outlives the window
    TAppSettings* Settings = nullptr;                    // null: the window keeps its own
    std::string AppDir;                                  // folder of Quillet.ini, with a trailing separator
    TSoundPlayer* SoundPlayer = nullptr;                 // null: Qt Multimedia
    std::unique_ptr<TAutostartEntries> AutostartEntries; // null: this platform's log-on entries
    std::function<bool()> TrayAvailable;                 // empty: ask the desktop
    std::unique_ptr<TKeyring> Keyring;                   // null: the desktop keyring
};

// The status bar's panels, left to right.
enum class TStatusPanel { Messages = 0, MailCount = 1, LastCheck = 2, Clock = 3 };

// What the status bar, the title and the tray hint show after a refresh.
struct TStatusSummary {
    int MailCount = 0;
    int MarkedCount = 0; // mails marked for deleting
    QString LastCheck;   // "Last check: hh:mm", or that there was none yet
    QString Title;       // the window's title, also the tray hint
};

class TfrmMain : public QMainWindow, public TDialogPositions, private TStartHost {
    Q_OBJECT
public:
    TfrmMain(TAccounts& Accounts, TMails& Mails, TMainWindowServices Services, QWidget* Parent = nullptr);
    ~TfrmMain() override;

    // Shows the window for the first time: minimized (on the taskbar, or in the tray when it is
    // in use) when the program is to start minimized, as a normal window otherwise.
    void ShowAtStart();

    // Commands. A command is enabled only once it has a handler (and the state allows it);
    // SetCommandHandler connects the shared action and updates the enabled states.
    QAction* Action(TCommand Command) const { return FActions[Command]; }
    void SetCommandHandler(TCommand Command, std::function<void()> Handler);
    bool HasCommandHandler(TCommand Command) const;
    // Runs the handler of Command now, whatever its enabled state; nothing without a handler.
    void RunCommand(TCommand Command);
    void SetCommandState(const TCommandState& State);
    const TCommandState& CommandState() const { return FCommandState; }
    void UpdateActions();

    // The mail list view, which the check's side fills through its model and selection.
    TMailListView* MailList() const { return FMailList; }
    // Sets the list's model and gives its columns the remembered widths.
    void SetMailModel(QAbstractItemModel* Model);
    QTabBar* DetailTabs() const { return FDetailTabs; }
    // The three detail panes; the Message and Header panes mark the links in their text.
    TLinkRichEdit* MessagePane() const { return FPanes[0]; }
    TLinkRichEdit* HeaderPane() const { return FPanes[1]; }
    TLinkRichEdit* SystemPane() const { return FPanes[2]; }
    // Makes tab 0 (Message), 1 (Header) or 2 (System) current and shows its pane.
    void ShowDetailTab(int Index);
    QToolBar* MainToolbar() const { return FMainToolbar; }
    QToolBar* AccountsToolbar() const { return FAccountsToolbar; }
    QMenu* AccountsCheckMenu() const { return FAccountsCheckMenu; }
    QMenu* AccountsAutoCheckMenu() const { return FAccountsAutoCheckMenu; }
    QMenu* OnlineMenu() const { return FOnlineMenu; }
    QMenu* CheckOneMenu() const { return FCheckOneMenu; }
    QMenu* TrayMenu() const { return FTrayMenu; }
    QLabel* StatusPanel(TStatusPanel Panel) const { return FPanels.at(static_cast<std::size_t>(Panel)); }
    QTimer* CheckTimer() { return &FCheckTimer; }
    TSystray& Systray() const { return *FSystray; }
    TSoundTable& Sounds() const { return *FSounds; }

    // What the window shows, said by those who know it.
    void ShowStatusText(const QString& Text);
    // Appends one line at the end of the System pane.
    void AppendSystemLine(const QString& Line);
    // The Message pane shows Message, the Header pane Header (bytes, UTF-8 where valid).
    void ShowMailText(const std::vector<std::string>& Message, const std::vector<std::string>& Header);
    // No mail is selected: the panes say so.
    void ShowNoMail();
    // Mail count, last full check, title, tray hint and what the empty list says.
    void ShowSummary(const TStatusSummary& Summary);
    // The tray icon shows whether new mail waits for the user.
    void ShowNewMailWaiting(bool Waiting);

    // The options the window runs by (and follows when they change).
    TAppSettings& Settings() const { return FSettings; }
    // Whether the log-on entry exists now (it can be removed outside the program).
    bool Autostart() const;
    const TCredentials& Credentials() const { return FCredentials; }
    bool ExitRequested() const { return FExitRequested; }
    // The program is ending (the master password was refused): no dialog is to open.
    bool Terminating() const { return FTerminating; }
    bool Started() const { return FStart.Done(); }
    const std::string& AppDir() const { return FAppDir; }

    // The settings save of the accounts and options dialogs and of the window's end.
    void SaveSettings();
    // The accounts' passwords and tokens are in the desktop keyring, not in the settings file.
    bool SecretsInKeyring() const;
    // Moves them into the keyring or back into the file; refused before the accounts are loaded.
    TKeyringMove MoveSecrets(bool ToKeyring);
    // Restores the program from the tray or the taskbar.
    void RestoreApp();
    // Closes the window as Exit does, also while a check runs (the session is ending).
    void CloseForGood();

    void LoadDialogPosition(QWidget* Dialog, bool WithSize) override;
    void SaveDialogPosition(QWidget* Dialog, bool WithSize) override;

Q_SIGNALS:
    // The program is to end when control returns to the event loop.
    void TerminateRequested();
    // The window has closed for good (not minimized): the program ends.
    void Closed();
    // The settings were loaded (sort, columns and accounts are in place).
    void SettingsLoaded();

protected:
    void closeEvent(QCloseEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    // The start sequence's view of the window.
    bool LoadSettings() override;
    bool StartMinimized() const override { return FSettings.Values().StartMinimized; }
    void MinimizeApp() override;
    bool HasAccounts() const override;
    void SetupAccounts() override { RunCommand(TCommand::SetupAccounts); }
    void CheckAll() override { RunCommand(TCommand::CheckAll); }

    void CreateActions();
    void CreateMenus();
    void CreateToolbars();
    void CreateClientArea();
    void CreateStatusBar();
    void CreateTray();
    // Applies the options that the window follows: all of them, or those that changed since
    // they were last applied.
    void ApplySettings(bool All);
    void PaintColors();
    // What the empty list says to do next, and the panes when no mail is shown.
    void ShowListHints();
    void ApplyLayout(const TWindowLayout& Layout, bool FirstStart);
    void ApplyColumnWidths();
    // Fits the columns to their content (Subject takes the rest) as mails are listed, in a run
    // that found no stored widths, until the user sizes a column; later runs keep the widths.
    void FitColumnsToContent();
    void WatchColumnSizes();
    void FollowSystemPane();
    void CollectSettings();
    void ShowAutoCheckState();
    void SetBarsVisible(bool Visible);
    void TickClock();

    void optExitClick();
    void optSetMasterPasswordClick();
    void optAutoCheckClick();

    TAccounts& FAccounts;
    TMails& FMails;
    TSettingsStore& FStore;
    std::string FAppDir;
    std::unique_ptr<TIniFile> FIni;
    std::unique_ptr<TKeyring> FKeyring;
    std::unique_ptr<TKeyringSecrets> FKeyringSecrets;
    std::unique_ptr<TSoundPlayer> FOwnPlayer;
    std::unique_ptr<TSoundTable> FSounds;
    std::unique_ptr<TBrightelAutostart> FAutostart;
    std::function<bool()> FTrayAvailable;

    std::unique_ptr<TAppSettings> FOwnSettings;
    TAppSettings& FSettings;
    TMainSettings FApplied; // the options as the window last applied them
    TCredentials FCredentials;
    TStartSequence FStart;
    bool FExitRequested = false;
    bool FTerminating = false;

    TMainActions FActions;
    std::array<std::function<void()>, CommandCount> FHandlers;
    TCommandState FCommandState;
    QTimer FCheckTimer;
    TAutoCheck FAutoCheck;
    QTimer FClockTimer;

    QToolBar* FMainToolbar = nullptr;
    QToolBar* FAccountsToolbar = nullptr;
    QToolButton* FCheckButton = nullptr;
    QToolButton* FAutoCheckButton = nullptr;
    QMenu* FAccountsCheckMenu = nullptr;
    QMenu* FAccountsAutoCheckMenu = nullptr;
    QMenu* FTrayMenu = nullptr;
    QMenu* FCheckOneMenu = nullptr;
    QMenu* FOnlineMenu = nullptr;
    TPaneSplitter* FSplitter = nullptr;
    TMailListView* FMailList = nullptr;
    QAbstractItemModel* FEmptyModel = nullptr;
    QTabBar* FDetailTabs = nullptr;
    QStackedWidget* FPaneStack = nullptr;
    std::array<TLinkRichEdit*, 3> FPanes{};
    std::array<QLabel*, 4> FPanels{};
    bool FFitColumns = true;     // the columns follow their content (no width stored or sized by the user)
    bool FSizingColumns = false; // the window itself is sizing the columns
    QTimer FFitTimer;            // fits the columns once the rows just added are laid out
    bool FSystemFollows = true;  // the System pane shows its last line as lines are added
    TSystray* FSystray = nullptr;
    TfrmAskPassword* FAskPassword = nullptr;
};

} // namespace quillet

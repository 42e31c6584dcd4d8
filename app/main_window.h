// The main window: menus, the two toolbars, the mail list over the detail panes, the status bar
// and the tray icon, with the wiring between them. The rules live next to it (settings load and
// save, start sequence, close rule, auto checking, master password); the window applies them.
#pragma once

#include "app/auto_check.h"
#include "app/link_rich_edit.h"
#include "app/main_actions.h"
#include "app/window_lifecycle.h"
#include "dialogs/dialog_positions.h"
#include "settings/main_settings.h"

#include <QMainWindow>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <string>

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
class TfrmAskPassword;

// What the window is given besides the two lists.
struct TMainWindowServices {
    TSettingsStore* Store = nullptr;                     // the options store; required, outlives the window
    std::string AppDir;                                  // folder of Quillet.ini, with a trailing separator
    TSoundPlayer* SoundPlayer = nullptr;                 // null: Qt Multimedia
    std::unique_ptr<TAutostartEntries> AutostartEntries; // null: this platform's log-on entries
    std::function<bool()> TrayAvailable;                 // empty: ask the desktop
};

class TfrmMain : public QMainWindow, public TDialogPositions, private TStartHost {
    Q_OBJECT
public:
    TfrmMain(TAccounts& Accounts, TMails& Mails, TMainWindowServices Services, QWidget* Parent = nullptr);
    ~TfrmMain() override;

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

    // The parts that the mail list, the check and the account menus fill in.
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
    QMenu* CheckOneMenu() const { return FCheckOneMenu; }
    QMenu* TrayMenu() const { return FTrayMenu; }
    // Panel 0 "System messages", 1 mail count, 2 last full check, 3 clock.
    QLabel* StatusPanel(int Index) const { return FPanels.at(static_cast<std::size_t>(Index)); }
    QTimer* CheckTimer() { return &FCheckTimer; }
    TSystray& Systray() const { return *FSystray; }
    TSoundTable& Sounds() const { return *FSounds; }

    // Settings held by the window.
    bool CheckingActive() const { return FAutoCheck.CheckingActive(); }
    void SetCheckingActive(bool Value);
    int AutoCheckTime() const { return FAutoCheck.AutoCheckTime(); }
    void SetAutoCheckTime(int Minutes) { FAutoCheck.SetAutoCheckTime(Minutes); }
    bool UseTray() const;
    void SetUseTray(bool Value);
    bool Autostart() const;
    void SetAutostart(bool Value);
    int MaxLines() const { return FSettings.MaxLines; }
    void SetMaxLines(int Value) { FSettings.MaxLines = Value; }
    bool StartMinimized() const override { return FSettings.StartMinimized; }
    void SetStartMinimized(bool Value) { FSettings.StartMinimized = Value; }
    bool CloseMinimizes() const { return FSettings.CloseMinimizes; }
    void SetCloseMinimizes(bool Value) { FSettings.CloseMinimizes = Value; }
    bool NotifyNewMail() const { return FSettings.NotifyNewMail; }
    void SetNotifyNewMail(bool Value) { FSettings.NotifyNewMail = Value; }
    int SortCol() const { return FSettings.SortCol; }
    bool SortAsc() const { return FSettings.SortAsc; }
    void SetSort(int Column, bool Descending);
    std::int32_t GridColor() const { return FSettings.Layout.GridColor; }
    void SetGridColor(std::int32_t Value);
    std::int32_t PanelsColor() const { return FSettings.Layout.PanelsColor; }
    void SetPanelsColor(std::int32_t Value);
    const TCredentials& Credentials() const { return FCredentials; }
    bool ExitRequested() const { return FExitRequested; }
    // The program is ending (the master password was refused): no dialog is to open.
    bool Terminating() const { return FTerminating; }
    bool Started() const { return FStart.Done(); }
    const std::string& AppDir() const { return FAppDir; }

    // The settings save of the accounts and options dialogs and of the window's end.
    void SaveSettings();
    // Mail count, last check and the empty-list texts. More comes with the mail list.
    void RefreshStatus();
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
    // RefreshStatus ran: whoever shows more of the status (title, tray hint) brings it up to date.
    void StatusRefreshed();

protected:
    void closeEvent(QCloseEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    // The start sequence's view of the window.
    bool LoadSettings() override;
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
    void ApplySettings();
    void ApplyLayout(const TWindowLayout& Layout);
    void ApplyColumnWidths();
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
    std::unique_ptr<TSoundPlayer> FOwnPlayer;
    std::unique_ptr<TSoundTable> FSounds;
    std::unique_ptr<TBrightelAutostart> FAutostart;
    std::function<bool()> FTrayAvailable;

    TMainSettings FSettings;
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
    QSplitter* FSplitter = nullptr;
    TMailListView* FMailList = nullptr;
    QAbstractItemModel* FEmptyModel = nullptr;
    QTabBar* FDetailTabs = nullptr;
    QStackedWidget* FPaneStack = nullptr;
    std::array<TLinkRichEdit*, 3> FPanes{};
    std::array<QLabel*, 4> FPanels{};
    TSystray* FSystray = nullptr;
    TfrmAskPassword* FAskPassword = nullptr;
};

} // namespace quillet

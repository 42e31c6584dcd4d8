#include "app/main_window.h"

#include "app/link_rich_edit.h"

#include "app/form_placement.h"
#include "app/list_layout.h"
#include "app/mail_list_view.h"
#include "app/master_password_check.h"
#include "app/open_link.h"
#include "app/pane_splitter.h"
#include "app/pictures.h"
#include "app/stored_color.h"
#include "app/systray.h"
#include "dialogs/ask_password.h"
#include "dialogs/message_box.h"
#include "model/account.h"
#include "model/mails.h"
#include "notify/brightel_autostart.h"
#include "notify/qt_sound_player.h"
#include "notify/sound_table.h"
#include "settings/account_health_store.h"
#include "settings/ini_file.h"
#include "settings/keyring_secrets.h"
#include "settings/qt_keyring.h"
#include "settings/store_values.h"
#include "util/strings.h"
#include "util/text_convert.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTabBar>
#include <QTextEdit>
#include <QTime>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace quillet {

namespace {

// The password prompt as the master password rules see it.
class TDialogAsker : public TPasswordAsker {
public:
    explicit TDialogAsker(TfrmAskPassword& Dialog) : FDialog(Dialog) {}
    std::optional<std::string> AskPassword(const std::string& Prompt) override {
        if (!FDialog.Ask(Prompt))
            return std::nullopt;
        return FDialog.EnteredPassword;
    }

private:
    TfrmAskPassword& FDialog;
};

} // namespace

TfrmMain::TfrmMain(TAccounts& Accounts, TMails& Mails, TMainWindowServices Services, QWidget* Parent)
    : QMainWindow(Parent), FAccounts(Accounts), FMails(Mails), FStore(*Services.Store),
      FAppDir(std::move(Services.AppDir)),
      FKeyring(Services.Keyring ? std::move(Services.Keyring) : std::make_unique<TQtKeyring>()),
      FKeyringSecrets(std::make_unique<TKeyringSecrets>(*FKeyring)),
      FTrayAvailable(std::move(Services.TrayAvailable)),
      FOwnSettings(Services.Settings ? nullptr : std::make_unique<TAppSettings>()),
      FSettings(Services.Settings ? *Services.Settings : *FOwnSettings), FApplied(FSettings.Values()),
      FActions(this), FAutoCheck(FCheckTimer) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quillet"));
    InitPictures();
    setWindowIcon(AppIcon());
    resize(FSettings.Values().Layout.FormWidth, FSettings.Values().Layout.FormHeight);

    // The sound table with its four named sounds.
    TSoundPlayer* player = Services.SoundPlayer;
    if (player == nullptr) {
        FOwnPlayer = std::make_unique<TQtSoundPlayer>();
        player = FOwnPlayer.get();
    }
    FSounds = std::make_unique<TSoundTable>(*player);
    FAutostart = std::make_unique<TBrightelAutostart>(
        Services.AutostartEntries ? std::move(Services.AutostartEntries) : PlatformAutostartEntries());
    FAutostart->setAppName("Quillet");
    // The first write of a run keeps an existing log-on entry (and renews its program path).
    FAutostart->setAutostart(false);

    FCheckTimer.setObjectName(QStringLiteral("tmrCheckTimer"));
    CreateActions();
    CreateClientArea();
    CreateMenus();
    CreateToolbars();
    CreateStatusBar();
    CreateTray();
    ShowAutoCheckState();

    FIni = std::make_unique<TIniFile>(AppendPathPart(FAppDir, "Quillet.ini"));
    restoreState(ReadToolbarState(FStore));
    Action(TCommand::ViewMainToolbar)->setChecked(!FMainToolbar->isHidden());
    Action(TCommand::ViewAccountsToolbar)->setChecked(!FAccountsToolbar->isHidden());

    // F2, F3 and F4 reach the window before whichever control has the focus.
    qApp->installEventFilter(this);
    FAskPassword = new TfrmAskPassword(this, this);
    FAskPassword->setWindowIcon(windowIcon());
    // The Message and Header panes open their links; the log is never searched for links.
    for (TLinkRichEdit* pane : {MessagePane(), HeaderPane()})
        pane->OnHyperlinkClicked = [](const std::string& URL) { OpenLink(URL); };
    SystemPane()->SetHyperlinksActive(false);
    FollowSystemPane();
    WatchColumnSizes();
    connect(&FSettings, &TAppSettings::Changed, this, [this] { ApplySettings(false); });
    UpdateActions();
}

void TfrmMain::ShowAtStart() {
    // Read before the first show, not with the other settings once the window is up: a window
    // shown normal and minimized a moment later flashes on the desktop, and stays there on a
    // desktop that does not minimize a window it has already shown.
    if (ReadBool(FStore, "Options", "StartMinimized", false))
        showMinimized();
    else
        show();
}

TfrmMain::~TfrmMain() {
    qApp->removeEventFilter(this);
    FAccounts.DropAllSessions();
    delete FAskPassword; // it remembers its position as it goes
    FAskPassword = nullptr;
    // Settings go last. An error cannot leave a destructor: it is shown here instead.
    try {
        SaveSettings();
    } catch (const std::exception& Error) {
        ShowMessage(nullptr, QStringLiteral("Quillet"), QString::fromUtf8(Error.what()), TMessageIcon::Error);
    }
}

// ---- Commands

void TfrmMain::CreateActions() {
    for (int i = 0; i < CommandCount; ++i)
        addAction(FActions[static_cast<TCommand>(i)]); // shortcuts work wherever the focus is
    SetCommandHandler(TCommand::Exit, [this] { optExitClick(); });
    SetCommandHandler(TCommand::SetMasterPassword, [this] { optSetMasterPasswordClick(); });
    SetCommandHandler(TCommand::AutoCheck, [this] { optAutoCheckClick(); });
    SetCommandHandler(TCommand::Restore, [this] { RestoreApp(); });
    SetCommandHandler(TCommand::HideAll, [this] { SetBarsVisible(false); });
    SetCommandHandler(TCommand::ShowAll, [this] { SetBarsVisible(true); });
    SetCommandHandler(TCommand::ViewMainToolbar,
                      [this] { FMainToolbar->setVisible(Action(TCommand::ViewMainToolbar)->isChecked()); });
    SetCommandHandler(TCommand::ViewAccountsToolbar, [this] {
        FAccountsToolbar->setVisible(Action(TCommand::ViewAccountsToolbar)->isChecked());
    });
    SetCommandHandler(TCommand::ViewStatusBar,
                      [this] { statusBar()->setVisible(Action(TCommand::ViewStatusBar)->isChecked()); });
}

void TfrmMain::SetCommandHandler(TCommand Command, std::function<void()> Handler) {
    const bool hadHandler = HasCommandHandler(Command);
    FHandlers[static_cast<std::size_t>(Command)] = std::move(Handler);
    if (!hadHandler)
        connect(Action(Command), &QAction::triggered, this, [this, Command] { RunCommand(Command); });
    UpdateActions();
}

bool TfrmMain::HasCommandHandler(TCommand Command) const {
    return static_cast<bool>(FHandlers[static_cast<std::size_t>(Command)]);
}

void TfrmMain::RunCommand(TCommand Command) {
    // A copy: the handler may replace itself.
    const std::function<void()> handler = FHandlers[static_cast<std::size_t>(Command)];
    if (handler)
        handler();
}

void TfrmMain::SetCommandState(const TCommandState& State) {
    FCommandState = State;
    UpdateActions();
}

void TfrmMain::UpdateActions() {
    for (int i = 0; i < CommandCount; ++i) {
        const auto command = static_cast<TCommand>(i);
        Action(command)->setEnabled(CommandEnabled(command, HasCommandHandler(command), FCommandState));
    }
}

void TfrmMain::optExitClick() {
    FExitRequested = true;
    close();
}

void TfrmMain::CloseForGood() {
    FExitRequested = true;
    if (!close())
        Q_EMIT Closed();
}

void TfrmMain::optSetMasterPasswordClick() {
    TDialogAsker asker(*FAskPassword);
    SetMasterPassword(FCredentials.MasterPassword, asker, this, QStringLiteral("Quillet"));
}

void TfrmMain::optAutoCheckClick() {
    FSettings.Edit([](TMainSettings& S) { S.CheckingActive = !S.CheckingActive; });
}

void TfrmMain::ShowAutoCheckState() {
    QAction* action = Action(TCommand::AutoCheck);
    action->setIcon(ButtonPicture(FAutoCheck.Picture()));
    action->setText(FAutoCheck.Caption());
    action->setToolTip(FAutoCheck.Caption());
}

void TfrmMain::SetBarsVisible(bool Visible) {
    FMainToolbar->setVisible(Visible);
    FAccountsToolbar->setVisible(Visible);
    statusBar()->setVisible(Visible);
    Action(TCommand::ViewStatusBar)->setChecked(Visible);
}

void TfrmMain::ShowDetailTab(int Index) {
    FDetailTabs->setCurrentIndex(Index);
    FPaneStack->setCurrentIndex(Index);
}

void TfrmMain::SetMailModel(QAbstractItemModel* Model) {
    FMailList->setModel(Model);
    ApplyColumnWidths();
    // Rows come in batches while a check runs: the columns are fitted once a batch is laid out.
    const auto fitSoon = [this] {
        if (FFitColumns)
            FFitTimer.start();
    };
    connect(Model, &QAbstractItemModel::rowsInserted, this, fitSoon);
    connect(Model, &QAbstractItemModel::modelReset, this, fitSoon);
}

void TfrmMain::ApplyColumnWidths() {
    const QScopedValueRollback sizing(FSizingColumns, true);
    QHeaderView* header = FMailList->header();
    for (int column = 0; column < std::min(header->count(), MailColumnCount); ++column) {
        // Subject takes the width the other columns leave, whatever the window's width.
        if (column == colSubject) {
            header->setSectionResizeMode(column, QHeaderView::Stretch);
            continue;
        }
        header->setSectionResizeMode(column, QHeaderView::Interactive);
        header->resizeSection(column, FSettings.Values().Layout.ColWidths[static_cast<std::size_t>(column)]);
    }
}

void TfrmMain::FitColumnsToContent() {
    // The captions fit the first start's widths: an empty list keeps them, so that the columns
    // are still fitted when the first mails come, in this run or a later one.
    QHeaderView* header = FMailList->header();
    if (header->count() < MailListColumns || FMailList->model()->rowCount() == 0)
        return;
    TColumnWidths needed{};
    for (int column = 0; column < MailListColumns; ++column)
        needed[static_cast<std::size_t>(column)] =
            std::max(FMailList->ColumnContentWidth(column), header->sectionSizeHint(column));
    const TColumnWidths widths = FittedColumnWidths(needed, FMailList->viewport()->width());
    const QScopedValueRollback sizing(FSizingColumns, true);
    for (int column = 0; column < MailListColumns; ++column)
        if (column != colSubject)
            header->resizeSection(column, widths[static_cast<std::size_t>(column)]);
}

void TfrmMain::WatchColumnSizes() {
    FFitTimer.setSingleShot(true);
    FFitTimer.setInterval(0);
    connect(&FFitTimer, &QTimer::timeout, this, [this] {
        if (FFitColumns)
            FitColumnsToContent();
    });
    // A column sized by the user keeps its width: the window fits no column any more.
    connect(FMailList->header(), &QHeaderView::sectionResized, this, [this](int Column) {
        if (!FSizingColumns && Column != colSubject)
            FFitColumns = false;
    });
}

void TfrmMain::FollowSystemPane() {
    // The System pane keeps its last line in view as lines are added (also while it is hidden
    // and when its text is laid out again), unless the user has scrolled up to read.
    QScrollBar* bar = SystemPane()->verticalScrollBar();
    connect(bar, &QScrollBar::rangeChanged, this, [this, bar] {
        if (FSystemFollows)
            bar->setValue(bar->maximum());
    });
    // Within a line of the end counts as the end: the caret moved there by Ctrl+End stops at the
    // document's margin.
    connect(bar, &QScrollBar::valueChanged, this, [this, bar](int Value) {
        FSystemFollows = Value >= bar->maximum() - SystemPane()->fontMetrics().lineSpacing();
    });
}

void TfrmMain::PaintColors() {
    // Colours the user never changed follow a dark desktop; chosen ones stay.
    const TWindowLayout defaults;
    const TWindowLayout& layout = FSettings.Values().Layout;
    PaintBackground(FMailList, ShownColor(layout.GridColor, defaults.GridColor, QPalette()));
    for (QTextEdit* pane : FPanes)
        PaintBackground(pane, ShownColor(layout.PanelsColor, defaults.PanelsColor, QPalette()));
}

bool TfrmMain::Autostart() const {
    return FAutostart->autostart();
}

// ---- Settings

bool TfrmMain::LoadSettings() {
    TMainSettings loaded;
    loaded.ToolbarState = FSettings.Values().ToolbarState;
    // Widths missing from the store are the first start's (not the header's now: a style may
    // make a section wider than asked, and the columns are fitted only while no width was stored).
    ReadRegistrySettings(FStore, *FSounds, loaded);
    const bool firstStart = loaded.FirstRun;
    FSettings.Set(loaded);
    ApplySettings(true);
    FFitColumns = FirstStartColumnWidths(loaded.Layout.ColWidths);
    ApplyLayout(loaded.Layout, firstStart);

    TDialogAsker asker(*FAskPassword);
    if (LoadAccounts(*FIni, asker, FAccounts, FCredentials) == TAccountsLoad::Refused) {
        ShowMessage(this, QCoreApplication::translate("MasterPassword", "Error"), MasterPasswordRefusalText(),
                    TMessageIcon::Error);
        FTerminating = true;
        Q_EMIT TerminateRequested();
    } else {
        ReadAccountHealth(FStore, FAccounts); // how each account's checks went before this run
        // Secrets kept in the keyring come after the master password, as those in the file do.
        if (const QString failure = FKeyringSecrets->ReadSecrets(*FIni, FAccounts); !failure.isEmpty())
            ShowMessage(this, QStringLiteral("Quillet"), failure, TMessageIcon::Warning);
    }
    ShowListHints();
    Q_EMIT SettingsLoaded();
    return !FTerminating;
}

void TfrmMain::ApplySettings(bool All) {
    const TMainSettings& now = FSettings.Values();
    if (All || now.AutoCheckTime != FApplied.AutoCheckTime)
        FAutoCheck.SetAutoCheckTime(now.AutoCheckTime);
    if (All || now.CheckingActive != FApplied.CheckingActive) {
        FAutoCheck.SetCheckingActive(now.CheckingActive);
        ShowAutoCheckState();
    }
    if (All || now.Autostart != FApplied.Autostart)
        FAutostart->setAutostart(now.Autostart); // writes or removes the log-on entry now
    if (All || now.UseTray != FApplied.UseTray)
        FSystray->SetEnabled(now.UseTray);
    if (All || now.Layout.GridColor != FApplied.Layout.GridColor ||
        now.Layout.PanelsColor != FApplied.Layout.PanelsColor)
        PaintColors();
    FApplied = now;
}

void TfrmMain::ApplyLayout(const TWindowLayout& Layout, bool FirstStart) {
    // A window that starts minimized stays so; the geometry is the one it comes back to.
    if (isMaximized())
        setWindowState(windowState() & ~Qt::WindowMaximized);
    if (FirstStart) {
        // Large enough for a useful list over a readable message, centred on its screen; the
        // list takes a little less than half of the height.
        SetFrameGeometry(this, FirstStartGeometry(ScreenAreaFor(frameGeometry(), AvailableScreenAreas())));
        FSplitter->SetListShare(0.45);
    } else {
        move(Layout.FormLeft, Layout.FormTop);
        resize(Layout.FormWidth, Layout.FormHeight);
        // Saved on another screen or at another scale, it may not fit this one.
        FitIntoScreen(this);
        FSplitter->SetListHeight(Layout.GridHeight);
    }
    if (Layout.WindowState == TWindowShow::Maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    ApplyColumnWidths();
    if (FFitColumns)
        FFitTimer.start();
}

void TfrmMain::CollectSettings() {
    TMainSettings values = FSettings.Values();
    values.AutoCheckTime = FAutoCheck.AutoCheckTime();
    values.CheckingActive = FAutoCheck.CheckingActive();
    values.Autostart = Autostart();
    values.UseTray = FSystray->Enabled();
    values.ToolbarState = saveState();
    TWindowLayout& layout = values.Layout;
    const QHeaderView* header = FMailList->header();
    for (int column = 0; column < std::min(header->count(), MailColumnCount); ++column)
        layout.ColWidths[static_cast<std::size_t>(column)] = header->sectionSize(column);
    if (isMinimized()) {
        layout.WindowState = TWindowShow::Minimized;
    } else if (isMaximized()) {
        layout.WindowState = TWindowShow::Maximized;
    } else {
        layout.WindowState = TWindowShow::Normal;
        layout.FormLeft = pos().x();
        layout.FormTop = pos().y();
        layout.FormWidth = width();
        layout.FormHeight = height();
    }
    // The list's height in the window as it is restored: a maximized window keeps the list's
    // share, not its height, for the normal window it comes back as.
    const int restoredTotal = FSplitter->PaneTotal() - (isMaximized() ? height() - layout.FormHeight : 0);
    layout.GridHeight = isMaximized() ? FSplitter->ListHeightAt(restoredTotal) : FSplitter->ListHeight();
    FSettings.Set(values);
}

void TfrmMain::SaveSettings() {
    CollectSettings();
    // The accounts' health is kept only for accounts that were read, never over a refused load.
    if (FCredentials.AccountsLoaded)
        WriteAccountHealth(FStore, FAccounts);
    quillet::SaveSettings(FStore, *FIni, FSettings.Values(), *FSounds, FAccounts, FCredentials,
                          *FKeyringSecrets);
}

bool TfrmMain::SecretsInKeyring() const {
    return FKeyringSecrets->InUse();
}

TKeyringMove TfrmMain::MoveSecrets(bool ToKeyring) {
    if (!FCredentials.AccountsLoaded)
        return {false, tr("The accounts were not loaded, so their passwords stay where they are.")};
    return ToKeyring ? FKeyringSecrets->MoveIn(*FIni, FCredentials.MasterPassword, FAccounts)
                     : FKeyringSecrets->MoveOut(*FIni, FCredentials.MasterPassword, FAccounts);
}

void TfrmMain::ShowStatusText(const QString& Text) {
    QLabel* panel = StatusPanel(TStatusPanel::Messages);
    panel->setText(Text);
    // A long text is cut by the panel's width; its tooltip has all of it.
    panel->setToolTip(Text.isEmpty() ? tr("System messages") : Text);
}

void TfrmMain::AppendSystemLine(const QString& Line) {
    SystemPane()->append(Line); // the pane follows through its scroll bar, see FollowSystemPane
}

void TfrmMain::ShowMailText(const std::vector<std::string>& Message, const std::vector<std::string>& Header) {
    for (auto [pane, lines] : {std::pair{MessagePane(), &Message}, std::pair{HeaderPane(), &Header}}) {
        pane->SetPlainLines(*lines);
        pane->RefreshHyperlinks();
        pane->moveCursor(QTextCursor::Start);
        pane->ensureCursorVisible();
    }
}

void TfrmMain::ShowNoMail() {
    MessagePane()->setPlainText(tr("<No message>"));
    HeaderPane()->setPlainText(tr("<No header>"));
}

void TfrmMain::ShowSummary(const TStatusSummary& Summary) {
    QLabel* mails = StatusPanel(TStatusPanel::MailCount);
    mails->setText(ToQString(MailsPanelText(Summary.MailCount, Summary.MarkedCount)));
    mails->setToolTip(ToQString(MailsPanelHint(Summary.MailCount, Summary.MarkedCount)));
    StatusPanel(TStatusPanel::LastCheck)->setText(Summary.LastCheck);
    setWindowTitle(Summary.Title);
    QApplication::setApplicationDisplayName(QString());
    FSystray->SetHint(Summary.Title);
    ShowListHints();
}

void TfrmMain::ShowListHints() {
    FMailList->SetPlaceholderText(
        FAccounts.Count() == 0
            ? tr("No mail yet \u2014 add an account with Tools \u203a Setup accounts (F8)")
            : tr("No mail waiting \u2014 check now with Online \u203a Check all accounts now (F5)"));
    const QAbstractItemModel* model = FMailList->model();
    if (model == nullptr || model->rowCount() == 0)
        ShowNoMail();
}

void TfrmMain::ShowNewMailWaiting(bool Waiting) {
    FSystray->SetIcon(TrayPicture(Waiting));
}

void TfrmMain::LoadDialogPosition(QWidget* Dialog, bool WithSize) {
    RestoreFormPlacement(FStore, Dialog, WithSize);
}

void TfrmMain::SaveDialogPosition(QWidget* Dialog, bool WithSize) {
    SaveFormPlacement(FStore, Dialog, WithSize);
}

// ---- Life of the window

bool TfrmMain::HasAccounts() const {
    return FAccounts.Count() > 0;
}

void TfrmMain::MinimizeApp() {
    // The tray takes it from here when it is in use; without it the window stays on the taskbar.
    if (!isMinimized())
        setWindowState((windowState() & ~Qt::WindowActive) | Qt::WindowMinimized);
}

void TfrmMain::RestoreApp() {
    FSystray->Restore();
}

void TfrmMain::showEvent(QShowEvent* Event) {
    QMainWindow::showEvent(Event);
    // The start sequence runs once the event loop has shown the window, even on a desktop that
    // never activates it.
    if (!FStart.Done())
        QMetaObject::invokeMethod(
            this, [this] { FStart.Activated(*this); }, Qt::QueuedConnection);
}

void TfrmMain::changeEvent(QEvent* Event) {
    QMainWindow::changeEvent(Event);
    // The desktop's colours changed (a dark theme, say): colours that name a desktop colour
    // follow, and the texts on them stay readable.
    if (Event->type() == QEvent::PaletteChange)
        PaintColors();
    // The user is back: the tray no longer says that new mail waits.
    if (Event->type() == QEvent::ActivationChange && isActiveWindow())
        ShowNewMailWaiting(false);
    if (Event->type() == QEvent::ActivationChange && isActiveWindow() && !FStart.Done())
        FStart.Activated(*this);
}

void TfrmMain::closeEvent(QCloseEvent* Event) {
    if (!CloseAllowed(FSystray->IconShown(), FExitRequested, FSettings.Values().CloseMinimizes)) {
        Event->ignore();
        MinimizeApp();
        return;
    }
    FAccounts.DropAllSessions();
    Event->accept();
    Q_EMIT Closed();
}

bool TfrmMain::eventFilter(QObject* Watched, QEvent* Event) {
    if (Event->type() == QEvent::KeyPress && Watched->isWidgetType() &&
        static_cast<QWidget*>(Watched)->window() == this) {
        const int key = static_cast<QKeyEvent*>(Event)->key();
        if (key >= Qt::Key_F2 && key <= Qt::Key_F4)
            ShowDetailTab(key - Qt::Key_F2);
    }
    // The key goes on to the focused control.
    return QMainWindow::eventFilter(Watched, Event);
}

} // namespace quillet

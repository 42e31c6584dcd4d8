#include "app/main_window.h"

#include "app/link_rich_edit.h"

#include "app/form_placement.h"
#include "app/ini_file.h"
#include "app/mail_list_view.h"
#include "app/master_password_check.h"
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
#include "util/strings.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
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

const char* const ColumnCaptions[MailColumnCount] = {"Stt",     "Account", "From",      "To",
                                                     "Subject", "Size",    "Date sent", "Date received"};

} // namespace

TfrmMain::TfrmMain(TAccounts& Accounts, TMails& Mails, TMainWindowServices Services, QWidget* Parent)
    : QMainWindow(Parent), FAccounts(Accounts), FMails(Mails), FStore(*Services.Store),
      FAppDir(std::move(Services.AppDir)), FTrayAvailable(std::move(Services.TrayAvailable)), FActions(this),
      FAutoCheck(FCheckTimer) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quillet"));
    InitPictures();
    setWindowIcon(AppIcon());
    resize(FSettings.Layout.FormWidth, FSettings.Layout.FormHeight);

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
    UpdateActions();
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
    SetCheckingActive(!CheckingActive());
}

void TfrmMain::SetCheckingActive(bool Value) {
    FAutoCheck.SetCheckingActive(Value);
    ShowAutoCheckState();
}

void TfrmMain::ShowAutoCheckState() {
    QAction* action = Action(TCommand::AutoCheck);
    action->setIcon(ButtonPicture(FAutoCheck.Picture()));
    action->setText(FAutoCheck.Caption());
    action->setToolTip(FAutoCheck.Caption());
}

// ---- Window parts

void TfrmMain::CreateMenus() {
    auto add = [this](QMenu* Menu, std::initializer_list<int> Commands) {
        for (const int command : Commands) {
            if (command < 0)
                Menu->addSeparator();
            else
                Menu->addAction(Action(static_cast<TCommand>(command)));
        }
    };
    const auto c = [](TCommand Command) { return static_cast<int>(Command); };
    QMenuBar* bar = menuBar();
    add(bar->addMenu(QStringLiteral("&File")), {c(TCommand::SetMasterPassword), -1, c(TCommand::Exit)});
    add(bar->addMenu(QStringLiteral("&View")),
        {c(TCommand::ViewMainToolbar), c(TCommand::ViewAccountsToolbar), c(TCommand::ViewStatusBar), -1,
         c(TCommand::HideAll), c(TCommand::ShowAll)});
    add(bar->addMenu(QStringLiteral("&Online")),
        {c(TCommand::CheckAll), c(TCommand::AbortChecking), c(TCommand::AutoCheck)});
    add(bar->addMenu(QStringLiteral("&E-mail")), {c(TCommand::MailDelete), c(TCommand::MailProperties)});
    add(bar->addMenu(QStringLiteral("&Tools")), {c(TCommand::SetupAccounts), c(TCommand::Options)});
    add(bar->addMenu(QStringLiteral("&Diagnostics")), {c(TCommand::DumpIDs)});
    add(bar->addMenu(QStringLiteral("&Help")), {c(TCommand::About)});

    // The tray menu: Restore (the default item), the check commands, auto checking, exit.
    FTrayMenu = new QMenu(this);
    FTrayMenu->setObjectName(QStringLiteral("popupSystem"));
    FTrayMenu->addAction(Action(TCommand::Restore));
    FTrayMenu->setDefaultAction(Action(TCommand::Restore));
    FTrayMenu->addSeparator();
    FTrayMenu->addAction(Action(TCommand::CheckAll));
    FCheckOneMenu = FTrayMenu->addMenu(ButtonPicture(0), QStringLiteral("Check this one"));
    FCheckOneMenu->setObjectName(QStringLiteral("popoptCheckOne"));
    add(FTrayMenu, {c(TCommand::AbortChecking), -1, c(TCommand::AutoCheck), -1, c(TCommand::Exit)});
}

void TfrmMain::CreateToolbars() {
    FAccountsCheckMenu = new QMenu(this);
    FAccountsCheckMenu->setObjectName(QStringLiteral("popupAccountsCheck"));
    FAccountsAutoCheckMenu = new QMenu(this);
    FAccountsAutoCheckMenu->setObjectName(QStringLiteral("popupAccountsAutoCheck"));
    // A split button: the button runs the command, its arrow opens the accounts menu.
    auto splitButton = [this](TCommand Command, QMenu* Menu, const char* Name) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(Name));
        button->setDefaultAction(Action(Command));
        button->setMenu(Menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
        return button;
    };

    FMainToolbar = addToolBar(QStringLiteral("Main"));
    FMainToolbar->setObjectName(QStringLiteral("tlbMain"));
    // The pictures are drawn on a 16 x 16 grid: shown at that size (or its multiples) they stay sharp.
    FMainToolbar->setIconSize(QSize(16, 16));
    FCheckButton = splitButton(TCommand::CheckAll, FAccountsCheckMenu, "tbtnCheckAll");
    FMainToolbar->addWidget(FCheckButton);
    FMainToolbar->addAction(Action(TCommand::AbortChecking));
    FAutoCheckButton = splitButton(TCommand::AutoCheck, FAccountsAutoCheckMenu, "tbtnAutoCheck");
    FMainToolbar->addWidget(FAutoCheckButton);
    FMainToolbar->addSeparator();
    FMainToolbar->addAction(Action(TCommand::MailProperties));
    FMainToolbar->addAction(Action(TCommand::MailDelete));
    FMainToolbar->addSeparator();
    FMainToolbar->addAction(Action(TCommand::SetupAccounts));
    FMainToolbar->addAction(Action(TCommand::Options));
    FMainToolbar->addSeparator();
    FMainToolbar->addAction(Action(TCommand::Exit));

    FAccountsToolbar = addToolBar(QStringLiteral("Accounts"));
    FAccountsToolbar->setObjectName(QStringLiteral("tlbAccounts"));
    FAccountsToolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    FAccountsToolbar->setIconSize(QSize(16, 16));

    // The View items follow the bars, however they were shown or hidden.
    const auto follow = [this](QToolBar* Bar, TCommand Command) {
        Action(Command)->setChecked(true);
        connect(Bar, &QToolBar::visibilityChanged, this,
                [this, Bar, Command] { Action(Command)->setChecked(!Bar->isHidden()); });
    };
    follow(FMainToolbar, TCommand::ViewMainToolbar);
    follow(FAccountsToolbar, TCommand::ViewAccountsToolbar);
}

void TfrmMain::CreateClientArea() {
    FMailList = new TMailListView;
    FMailList->setObjectName(QStringLiteral("grdMain"));
    FMailList->setAccessibleName(QStringLiteral("Mail list"));
    auto* model = new QStandardItemModel(0, MailColumnCount, this);
    for (int column = 0; column < MailColumnCount; ++column)
        model->setHeaderData(column, Qt::Horizontal, QString::fromLatin1(ColumnCaptions[column]));
    model->setHeaderData(SizeColumn, Qt::Horizontal, int(Qt::AlignRight | Qt::AlignVCenter),
                         Qt::TextAlignmentRole);
    FEmptyModel = model;
    FMailList->setModel(FEmptyModel);
    ApplyColumnWidths();

    FDetailTabs = new QTabBar;
    FDetailTabs->setObjectName(QStringLiteral("tabCtlDetails"));
    FDetailTabs->setDrawBase(false);
    FDetailTabs->setExpanding(false);
    FPaneStack = new QStackedWidget;
    const char* const tabCaptions[] = {"Message <F2>", "Header <F3>", "System <F4>"};
    const char* const paneNames[] = {"memMsg", "memHdr", "memSys"};
    const int tabPictures[] = {2, 9, 10};
    for (std::size_t i = 0; i < FPanes.size(); ++i) {
        FDetailTabs->addTab(ListPicture(tabPictures[i]), QString::fromLatin1(tabCaptions[i]));
        auto* pane = new TLinkRichEdit;
        pane->setObjectName(QString::fromLatin1(paneNames[i]));
        pane->setAccessibleName(QString::fromLatin1(tabCaptions[i]).section(QLatin1Char(' '), 0, 0) +
                                QStringLiteral(" pane"));
        pane->setReadOnly(true);
        pane->setAcceptRichText(false);
        pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        pane->setLineWrapMode(QTextEdit::WidgetWidth);
        FPanes[i] = pane;
        FPaneStack->addWidget(pane);
    }
    connect(FDetailTabs, &QTabBar::currentChanged, FPaneStack, &QStackedWidget::setCurrentIndex);

    auto* details = new QWidget;
    auto* detailsLayout = new QVBoxLayout(details);
    detailsLayout->setContentsMargins(0, 2, 0, 0);
    detailsLayout->setSpacing(0);
    detailsLayout->addWidget(FDetailTabs);
    detailsLayout->addWidget(FPaneStack, 1);

    FSplitter = new QSplitter(Qt::Vertical);
    FSplitter->setObjectName(QStringLiteral("splMain"));
    FSplitter->setChildrenCollapsible(false);
    FSplitter->addWidget(FMailList);
    FSplitter->addWidget(details);
    // The list keeps its height when the window grows; the panes take the rest.
    FSplitter->setStretchFactor(0, 0);
    FSplitter->setStretchFactor(1, 1);
    FSplitter->setSizes({FSettings.Layout.GridHeight, FSettings.Layout.FormHeight});
    setCentralWidget(FSplitter);
    setTabOrder(FMailList, FDetailTabs);
    setTabOrder(FDetailTabs, FPanes[0]);

    PaintBackground(FMailList, FSettings.Layout.GridColor);
    SetPanelsColor(FSettings.Layout.PanelsColor);
    for (QTextEdit* pane : FPanes)
        pane->clear();
}

void TfrmMain::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("sttMain"));
    bar->setSizeGripEnabled(true);
    const char* const names[] = {"pnlSystemMessages", "pnlMailsCount", "pnlLastCheck", "pnlClock"};
    const char* const hints[] = {"System messages", "Mails count", "Last full check time", "Current time"};
    // Documented widths, widened where the desktop's font needs more for the longest text.
    const int widths[] = {0, 60, 50, 75};
    const char* const longest[] = {"", "Mails: 99999", "00:00", "00:00:00"};
    for (std::size_t i = 0; i < FPanels.size(); ++i) {
        auto* panel = new QLabel;
        panel->setObjectName(QString::fromLatin1(names[i]));
        panel->setToolTip(QString::fromLatin1(hints[i]));
        panel->setAccessibleName(QString::fromLatin1(hints[i]));
        if (i == 0) {
            bar->addWidget(panel, 1);
        } else {
            const int needed = panel->fontMetrics().horizontalAdvance(QString::fromLatin1(longest[i])) + 12;
            panel->setMinimumWidth(std::max(widths[i], needed));
            panel->setAlignment(Qt::AlignCenter);
            bar->addPermanentWidget(panel);
        }
        FPanels[i] = panel;
    }
    Action(TCommand::ViewStatusBar)->setChecked(true);
    FPanels[1]->setText(QStringLiteral("Mails: %1").arg(FMails.Count()));
    FPanels[2]->setText(QStringLiteral("00:00"));
    TickClock();
    connect(&FClockTimer, &QTimer::timeout, this, &TfrmMain::TickClock);
    FClockTimer.setTimerType(Qt::PreciseTimer);
    FClockTimer.start(1000);
}

void TfrmMain::TickClock() {
    const QTime now = QTime::currentTime();
    FPanels[3]->setText(now.toString(QStringLiteral("hh:mm:ss")));
    // Tick just after the next whole second, so the clock never skips or repeats a second.
    FClockTimer.setInterval(1000 - now.msec() + 5);
}

void TfrmMain::CreateTray() {
    FSystray = new TSystray(this, FTrayAvailable);
    FSystray->setObjectName(QStringLiteral("SysTray"));
    FSystray->SetIcon(TrayPicture(false));
    FSystray->SetHint(QStringLiteral("Quillet"));
    FSystray->SetPopupMenu(FTrayMenu);
    FSystray->SetEnabled(FSettings.UseTray);
    connect(FSystray, &TSystray::LeftClick, this, &TfrmMain::RestoreApp);
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
}

void TfrmMain::ApplyColumnWidths() {
    QHeaderView* header = FMailList->header();
    for (int column = 0; column < std::min(header->count(), MailColumnCount); ++column)
        header->resizeSection(column, FSettings.Layout.ColWidths[static_cast<std::size_t>(column)]);
}

void TfrmMain::SetSort(int Column, bool Descending) {
    FSettings.SortCol = Column;
    FSettings.SortAsc = Descending;
}

void TfrmMain::SetGridColor(std::int32_t Value) {
    FSettings.Layout.GridColor = Value;
    PaintBackground(FMailList, Value);
}

void TfrmMain::SetPanelsColor(std::int32_t Value) {
    FSettings.Layout.PanelsColor = Value;
    for (QTextEdit* pane : FPanes)
        PaintBackground(pane, Value);
}

bool TfrmMain::UseTray() const {
    return FSystray->Enabled();
}

void TfrmMain::SetUseTray(bool Value) {
    FSettings.UseTray = Value;
    FSystray->SetEnabled(Value);
}

bool TfrmMain::Autostart() const {
    return FAutostart->autostart();
}

void TfrmMain::SetAutostart(bool Value) {
    FSettings.Autostart = Value;
    FAutostart->setAutostart(Value);
}

// ---- Settings

bool TfrmMain::LoadSettings() {
    TMainSettings loaded;
    loaded.ToolbarState = FSettings.ToolbarState;
    for (int column = 0; column < MailColumnCount; ++column)
        loaded.Layout.ColWidths[static_cast<std::size_t>(column)] = FMailList->header()->sectionSize(column);
    ReadRegistrySettings(FStore, *FSounds, loaded);
    FSettings = loaded;
    ApplySettings();

    TDialogAsker asker(*FAskPassword);
    if (LoadAccounts(*FIni, asker, FAccounts, FCredentials) == TAccountsLoad::Refused) {
        ShowMessage(this, QStringLiteral("Error"), QString::fromLatin1(MasterPasswordRefusal),
                    TMessageIcon::Error);
        FTerminating = true;
        Q_EMIT TerminateRequested();
    }
    Q_EMIT SettingsLoaded();
    RefreshStatus();
    return !FTerminating;
}

void TfrmMain::ApplySettings() {
    SetAutoCheckTime(FSettings.AutoCheckTime);
    SetCheckingActive(FSettings.CheckingActive);
    SetAutostart(FSettings.Autostart);
    SetUseTray(FSettings.UseTray);
    ApplyLayout(FSettings.Layout);
}

void TfrmMain::ApplyLayout(const TWindowLayout& Layout) {
    if (isMaximized() || isMinimized())
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    move(Layout.FormLeft, Layout.FormTop);
    resize(Layout.FormWidth, Layout.FormHeight);
    if (Layout.WindowState == TWindowShow::Maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    ApplyColumnWidths();
    const int total = std::max(FSplitter->height(), Layout.GridHeight + 1);
    FSplitter->setSizes({Layout.GridHeight, total - Layout.GridHeight});
    SetGridColor(Layout.GridColor);
    SetPanelsColor(Layout.PanelsColor);
}

void TfrmMain::CollectSettings() {
    FSettings.AutoCheckTime = FAutoCheck.AutoCheckTime();
    FSettings.CheckingActive = FAutoCheck.CheckingActive();
    FSettings.Autostart = Autostart();
    FSettings.UseTray = UseTray();
    FSettings.ToolbarState = saveState();
    TWindowLayout& layout = FSettings.Layout;
    const QHeaderView* header = FMailList->header();
    for (int column = 0; column < std::min(header->count(), MailColumnCount); ++column)
        layout.ColWidths[static_cast<std::size_t>(column)] = header->sectionSize(column);
    layout.GridHeight = FSplitter->sizes().value(0, layout.GridHeight);
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
}

void TfrmMain::SaveSettings() {
    CollectSettings();
    quillet::SaveSettings(FStore, *FIni, FSettings, *FSounds, FAccounts, FCredentials);
}

void TfrmMain::RefreshStatus() {
    FPanels[1]->setText(QStringLiteral("Mails: %1").arg(FMails.Count()));
    FMailList->SetPlaceholderText(
        FAccounts.Count() == 0
            ? QStringLiteral("No mail yet \u2014 add an account with Tools \u203a Setup accounts (F8)")
            : QStringLiteral(
                  "No mail waiting \u2014 check now with Online \u203a Check all accounts now (F5)"));
    const QAbstractItemModel* model = FMailList->model();
    if (model == nullptr || model->rowCount() == 0) {
        FPanes[0]->setPlainText(QStringLiteral("<No message>"));
        FPanes[1]->setPlainText(QStringLiteral("<No header>"));
    }
    Q_EMIT StatusRefreshed();
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
    // The tray takes it from here when it is in use.
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
    if (Event->type() == QEvent::PaletteChange) {
        SetGridColor(GridColor());
        SetPanelsColor(PanelsColor());
    }
    if (Event->type() == QEvent::ActivationChange && isActiveWindow() && !FStart.Done())
        FStart.Activated(*this);
}

void TfrmMain::closeEvent(QCloseEvent* Event) {
    if (!CloseAllowed(FSystray->IconShown(), FExitRequested, FSettings.CloseMinimizes)) {
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

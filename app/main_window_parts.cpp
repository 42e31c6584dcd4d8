// The parts of the main window as it is built: menus, toolbars, the list over the detail panes,
// the status bar and the tray. The window's behaviour is in main_window.cpp.
#include "app/main_window.h"

#include "app/link_rich_edit.h"
#include "app/mail_list_view.h"
#include "app/mail_row_texts.h"
#include "app/pane_splitter.h"
#include "app/pictures.h"
#include "app/stored_color.h"
#include "app/systray.h"
#include "model/mails.h"
#include "util/text_convert.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTabBar>
#include <QTime>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillet {

namespace {

// The column captions, translated where they are shown (the list's model has the same).
const char* const ColumnCaptions[MailColumnCount] = {
    QT_TRANSLATE_NOOP("MailColumns", "Stt"),       QT_TRANSLATE_NOOP("MailColumns", "Account"),
    QT_TRANSLATE_NOOP("MailColumns", "From"),      QT_TRANSLATE_NOOP("MailColumns", "To"),
    QT_TRANSLATE_NOOP("MailColumns", "Subject"),   QT_TRANSLATE_NOOP("MailColumns", "Size"),
    QT_TRANSLATE_NOOP("MailColumns", "Date sent"), QT_TRANSLATE_NOOP("MailColumns", "Date received")};

} // namespace

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
    add(bar->addMenu(tr("&File")), {c(TCommand::SetMasterPassword), -1, c(TCommand::Exit)});
    add(bar->addMenu(tr("&View")),
        {c(TCommand::ViewMainToolbar), c(TCommand::ViewAccountsToolbar), c(TCommand::ViewStatusBar), -1,
         c(TCommand::HideAll), c(TCommand::ShowAll)});
    // The accounts menus of the two split buttons are also in the Online menu, where the keyboard
    // reaches them: check one account, switch one on or off for checking.
    FAccountsCheckMenu = new QMenu(tr("Check &one account"), this);
    FAccountsCheckMenu->setObjectName(QStringLiteral("popupAccountsCheck"));
    FAccountsCheckMenu->setIcon(ButtonPicture(bpTelephone));
    FAccountsAutoCheckMenu = new QMenu(tr("Switch an account o&n or off"), this);
    FAccountsAutoCheckMenu->setObjectName(QStringLiteral("popupAccountsAutoCheck"));
    FOnlineMenu = bar->addMenu(tr("&Online"));
    FOnlineMenu->setObjectName(QStringLiteral("mnuOnline"));
    FOnlineMenu->addAction(Action(TCommand::CheckAll));
    FOnlineMenu->addMenu(FAccountsCheckMenu);
    FOnlineMenu->addAction(Action(TCommand::AbortChecking));
    FOnlineMenu->addSeparator();
    FOnlineMenu->addAction(Action(TCommand::AutoCheck));
    FOnlineMenu->addMenu(FAccountsAutoCheckMenu);
    add(bar->addMenu(tr("&E-mail")), {c(TCommand::MailDelete), c(TCommand::MailProperties)});
    add(bar->addMenu(tr("&Tools")), {c(TCommand::SetupAccounts), c(TCommand::Options)});
    add(bar->addMenu(tr("&Diagnostics")), {c(TCommand::DumpIDs)});
    add(bar->addMenu(tr("&Help")), {c(TCommand::About)});

    // The tray menu: Restore (the default item), the check commands, auto checking, exit.
    FTrayMenu = new QMenu(this);
    FTrayMenu->setObjectName(QStringLiteral("popupSystem"));
    FTrayMenu->addAction(Action(TCommand::Restore));
    FTrayMenu->setDefaultAction(Action(TCommand::Restore));
    FTrayMenu->addSeparator();
    FTrayMenu->addAction(Action(TCommand::CheckAll));
    FCheckOneMenu = FTrayMenu->addMenu(ButtonPicture(bpTelephone), tr("Check this one"));
    FCheckOneMenu->setObjectName(QStringLiteral("popoptCheckOne"));
    add(FTrayMenu, {c(TCommand::AbortChecking), -1, c(TCommand::AutoCheck), -1, c(TCommand::Exit)});
}

void TfrmMain::CreateToolbars() {
    // A split button: the button runs the command, its arrow opens the accounts menu.
    auto splitButton = [this](TCommand Command, QMenu* Menu, const char* Name) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(Name));
        button->setDefaultAction(Action(Command));
        button->setMenu(Menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
        return button;
    };

    FMainToolbar = addToolBar(tr("Main"));
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

    FAccountsToolbar = addToolBar(tr("Accounts"));
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
    FMailList->setAccessibleName(tr("Mail list"));
    auto* model = new QStandardItemModel(0, MailColumnCount, this);
    for (int column = 0; column < MailColumnCount; ++column)
        model->setHeaderData(column, Qt::Horizontal,
                             QCoreApplication::translate("MailColumns", ColumnCaptions[column]));
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
    const QString tabCaptions[] = {tr("Message <F2>"), tr("Header <F3>"), tr("System <F4>")};
    const QString paneAccessibleNames[] = {tr("Message pane"), tr("Header pane"), tr("System pane")};
    const char* const paneNames[] = {"memMsg", "memHdr", "memSys"};
    const int tabPictures[] = {lpEnvelope, lpPage, lpSheets};
    for (std::size_t i = 0; i < FPanes.size(); ++i) {
        FDetailTabs->addTab(ListPicture(tabPictures[i]), tabCaptions[i]);
        auto* pane = new TLinkRichEdit;
        pane->setObjectName(QString::fromLatin1(paneNames[i]));
        pane->setAccessibleName(paneAccessibleNames[i]);
        pane->setReadOnly(true);
        // Read-only, yet the keyboard moves through the text (Ctrl+End to the last line) and
        // selects it for copying.
        pane->setTextInteractionFlags(pane->textInteractionFlags() | Qt::TextSelectableByMouse |
                                      Qt::TextSelectableByKeyboard);
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

    FSplitter = new TPaneSplitter;
    FSplitter->setObjectName(QStringLiteral("splMain"));
    FSplitter->setChildrenCollapsible(false);
    FSplitter->addWidget(FMailList);
    FSplitter->addWidget(details);
    // Until the splitter is laid out the list keeps its height and the panes take the rest;
    // from then on the list keeps its share.
    FSplitter->setStretchFactor(0, 0);
    FSplitter->setStretchFactor(1, 1);
    FSplitter->setSizes({FSettings.Values().Layout.GridHeight, FSettings.Values().Layout.FormHeight});
    setCentralWidget(FSplitter);
    setTabOrder(FMailList, FDetailTabs);
    setTabOrder(FDetailTabs, FPanes[0]);

    PaintColors();
    for (QTextEdit* pane : FPanes)
        pane->clear();
}

void TfrmMain::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("sttMain"));
    bar->setSizeGripEnabled(true);
    const char* const names[] = {"pnlSystemMessages", "pnlMailsCount", "pnlLastCheck", "pnlClock"};
    const QString accessibleNames[] = {tr("Status"), tr("Mails"), tr("Last check"), tr("Clock")};
    const QString hints[] = {tr("System messages"), tr("Mails in the list"),
                             tr("Time of the last check of all accounts"), tr("Current time")};
    // Documented widths, widened where the desktop's font needs more for the longest text.
    const int widths[] = {0, 60, 50, 75};
    const QString longest[] = {QString(), ToQString(MailsPanelText(99999)),
                               ToQString(LastCheckPanelText(EncodeDateTime(2000, 1, 1, 0, 0, 0, 0))),
                               QStringLiteral("00:00:00")};
    for (std::size_t i = 0; i < FPanels.size(); ++i) {
        auto* panel = new QLabel;
        panel->setObjectName(QString::fromLatin1(names[i]));
        panel->setToolTip(hints[i]);
        panel->setAccessibleName(accessibleNames[i]);
        panel->setAccessibleDescription(hints[i]);
        if (i == 0) {
            bar->addWidget(panel, 1);
        } else {
            const int needed = panel->fontMetrics().horizontalAdvance(longest[i]) + 12;
            panel->setMinimumWidth(std::max(widths[i], needed));
            panel->setAlignment(Qt::AlignCenter);
            bar->addPermanentWidget(panel);
        }
        FPanels[i] = panel;
    }
    Action(TCommand::ViewStatusBar)->setChecked(true);
    StatusPanel(TStatusPanel::MailCount)->setText(ToQString(MailsPanelText(FMails.Count())));
    StatusPanel(TStatusPanel::LastCheck)->setText(ToQString(LastCheckPanelText(0)));
    TickClock();
    connect(&FClockTimer, &QTimer::timeout, this, &TfrmMain::TickClock);
    FClockTimer.setTimerType(Qt::PreciseTimer);
    FClockTimer.start(1000);
}

void TfrmMain::TickClock() {
    const QTime now = QTime::currentTime();
    StatusPanel(TStatusPanel::Clock)->setText(now.toString(QStringLiteral("hh:mm:ss")));
    // Tick just after the next whole second, so the clock never skips or repeats a second.
    FClockTimer.setInterval(1000 - now.msec() + 5);
}

void TfrmMain::CreateTray() {
    FSystray = new TSystray(this, FTrayAvailable);
    FSystray->setObjectName(QStringLiteral("SysTray"));
    FSystray->SetIcon(TrayPicture(false));
    FSystray->SetHint(QStringLiteral("Quillet"));
    FSystray->SetPopupMenu(FTrayMenu);
    FSystray->SetEnabled(FSettings.Values().UseTray);
    connect(FSystray, &TSystray::LeftClick, this, &TfrmMain::RestoreApp);
}

} // namespace quillet

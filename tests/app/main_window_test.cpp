// The real main window on temporary stores: first start, settings round trip, master password
// at start-up, close rules, auto checking, shortcuts, detail keys and the tray.
#include "app/form_placement.h"
#include "app/mail_list_view.h"
#include "app/mail_row_texts.h"
#include "app/pictures.h"
#include "app/systray.h"
#include "dialogs/message_box.h"
#include "notify/sound_table.h"
#include "settings/accounts_file.h"
#include "settings/ini_file.h"
#include "tests/app/window_test_support.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <cmath>
#include <gtest/gtest.h>

namespace quillet::test {
namespace {

bool SamePicture(const QIcon& A, const QIcon& B) {
    return A.pixmap(16, 16).toImage() == B.pixmap(16, 16).toImage();
}

// Counts the handler runs of one command.
struct TCounter {
    int Runs = 0;
    void Attach(TfrmMain& Window, TCommand Command) {
        Window.SetCommandHandler(Command, [this] { ++Runs; });
    }
};

void WriteProtectedFile(TWindowBench& Bench, const std::string& Password) {
    TAccounts accounts;
    AddAccount(accounts, "Home", "ann", "pop.example.org", "pw", 110, true);
    TIniFile ini(Bench.Dir.IniPath());
    WriteAccounts(ini, Password, accounts);
    accounts.Clear();
}

} // namespace

TEST(MainWindow, FirstStartWithEmptyStores) {
    TWindowBench bench;
    auto window = bench.MakeWindow();
    TCounter setup, check;
    setup.Attach(*window, TCommand::SetupAccounts);
    check.Attach(*window, TCommand::CheckAll);
    TWindowBench::Start(*window);

    EXPECT_EQ(setup.Runs, 1); // no account: the accounts dialog is asked for
    EXPECT_EQ(check.Runs, 0);
    EXPECT_EQ(window->windowTitle(), "Quillet");
    // Large enough for a useful list, centred on the screen (not the stored default of 640 x 480).
    EXPECT_EQ(window->frameGeometry(),
              FirstStartGeometry(QGuiApplication::primaryScreen()->availableGeometry()));
    EXPECT_TRUE(window->Settings().Values().CheckingActive);
    EXPECT_EQ(window->CheckTimer()->interval(), 900000);
    EXPECT_TRUE(window->CheckTimer()->isActive());
    EXPECT_TRUE(window->Settings().Values().UseTray);
    EXPECT_FALSE(window->Autostart());
    EXPECT_EQ(window->Settings().Values().SortCol, 5);
    EXPECT_TRUE(window->Settings().Values().SortLargestFirst);
    EXPECT_EQ(window->Settings().Values().MaxLines, 50);
    EXPECT_EQ(window->Action(TCommand::AutoCheck)->text(), "Auto checking is ON");
    EXPECT_EQ(window->MessagePane()->toPlainText(), "<No message>");
    EXPECT_EQ(window->HeaderPane()->toPlainText(), "<No header>");
    EXPECT_TRUE(window->SystemPane()->toPlainText().isEmpty());
    EXPECT_EQ(window->DetailTabs()->currentIndex(), 0);
    EXPECT_TRUE(window->MailList()->PlaceholderText().contains("(F8)"));
    EXPECT_EQ(window->StatusPanel(TStatusPanel::MailCount)->text(), "Mails: 0");
    EXPECT_TRUE(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d$")
                    .match(window->StatusPanel(TStatusPanel::Clock)->text())
                    .hasMatch());
    const int widths[] = {60, 50, 75};
    for (int panel = 1; panel <= 3; ++panel)
        EXPECT_GE(window->StatusPanel(static_cast<TStatusPanel>(panel))->minimumWidth(), widths[panel - 1]);
    // Subject takes the width that the other columns leave.
    int sections = 0;
    for (int column = 0; column < 8; ++column) {
        sections += window->MailList()->header()->sectionSize(column);
        if (column != colSubject) {
            EXPECT_EQ(window->MailList()->header()->sectionSize(column),
                      DefaultColWidths[static_cast<std::size_t>(column)]);
        }
    }
    EXPECT_EQ(sections, window->MailList()->viewport()->width());
    EXPECT_EQ(window->MailList()->model()->headerData(7, Qt::Horizontal).toString(), "Date received");

    window.reset();
    EXPECT_EQ(bench.Store.ReadString("Options", "FirstRun", ""), "0");
    TIniFile ini(bench.Dir.IniPath());
    EXPECT_EQ(ini.ReadString("Accounts", "Count", ""), "0");
    EXPECT_EQ(ini.ReadString("Accounts", "UsePassword", ""), "0");
    EXPECT_FALSE(ini.ReadString("Accounts", "TestPhrase", "").empty());
}

TEST(MainWindow, WithAccountsTheFirstCheckRuns) {
    TWindowBench bench;
    WriteProtectedFile(bench, "");
    auto window = bench.MakeWindow();
    TCounter setup, check;
    setup.Attach(*window, TCommand::SetupAccounts);
    check.Attach(*window, TCommand::CheckAll);
    TWindowBench::Start(*window);
    EXPECT_EQ(setup.Runs, 0);
    EXPECT_EQ(check.Runs, 1);
    EXPECT_TRUE(window->MailList()->PlaceholderText().contains("(F5)"));
}

// Everything the window holds survives an end and a new start, the master password included.
TEST(MainWindow, SettingsRoundTrip) {
    TWindowBench bench;
    {
        auto window = bench.MakeWindow();
        TWindowBench::Start(*window);
        AddAccount(bench.Accounts, "Home", "ann", "pop.example.org", "pw1", 995, true);
        AddAccount(bench.Accounts, "Work", "bob", "mail.example.org", "pw2", 40000, false);
        window->Settings().Edit([&](TMainSettings& S) { S.AutoCheckTime = 7; });
        window->Settings().Edit([&](TMainSettings& S) { S.CheckingActive = false; });
        window->Settings().Edit([&](TMainSettings& S) { S.CloseMinimizes = true; });
        window->Settings().Edit([&](TMainSettings& S) { S.MaxLines = 20; });
        window->Settings().Edit([&](TMainSettings& S) {
            S.SortCol = 3;
            S.SortLargestFirst = false;
        });
        window->Settings().Edit([&](TMainSettings& S) { S.Layout.GridColor = 0x00FF00; });
        window->Settings().Edit([&](TMainSettings& S) { S.Layout.PanelsColor = 0x0000FF; });
        window->Settings().Edit([&](TMainSettings& S) { S.Autostart = true; });
        window->Settings().Edit([&](TMainSettings& S) { S.UseTray = false; });
        window->Sounds().SoundOn = false;
        window->Sounds().Sound(sndNoMail)->IsActive = false;
        window->move(10, 20);
        window->resize(700, 500); // within the screen: a window larger than the screen is fitted
        window->MailList()->header()->resizeSection(2, 150);
        window->findChild<QSplitter*>("splMain")->setSizes({150, 300});
        window->AccountsToolbar()->hide();
        TMessageBoxScript boxes;
        TPromptAnswerer answers({"s3cret", "s3cret"});
        window->Action(TCommand::SetMasterPassword)->trigger();
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].Text, "Your accounts ARE password-protected.");
    }
    bench.Accounts.Clear();
    const std::string file = bench.Dir.ReadFile("Quillet.ini");
    for (const char* clear : {"ann", "pop.example.org", "pw1", "bob"})
        EXPECT_EQ(file.find(clear), std::string::npos) << clear;

    auto window = bench.MakeWindow();
    TPromptAnswerer answers({"s3cret"});
    TWindowBench::Start(*window);
    EXPECT_EQ(answers.Prompts, std::vector<std::string>{"Enter your master password:"});
    EXPECT_EQ(window->Credentials().MasterPassword, "s3cret");
    ASSERT_EQ(bench.Accounts.Count(), 2);
    EXPECT_EQ(bench.Accounts[1].Host, "mail.example.org");
    EXPECT_EQ(bench.Accounts[1].Port(), 40000);
    EXPECT_FALSE(bench.Accounts[1].Active);
    EXPECT_EQ(window->Settings().Values().AutoCheckTime, 7);
    EXPECT_FALSE(window->Settings().Values().CheckingActive);
    EXPECT_FALSE(window->CheckTimer()->isActive());
    EXPECT_EQ(window->Action(TCommand::AutoCheck)->text(), "Auto checking is OFF");
    EXPECT_TRUE(window->Settings().Values().CloseMinimizes);
    EXPECT_EQ(window->Settings().Values().MaxLines, 20);
    EXPECT_EQ(window->Settings().Values().SortCol, 3);
    EXPECT_FALSE(window->Settings().Values().SortLargestFirst);
    EXPECT_EQ(window->Settings().Values().Layout.GridColor, 0x00FF00);
    EXPECT_EQ(window->Settings().Values().Layout.PanelsColor, 0x0000FF);
    EXPECT_EQ(window->MailList()->palette().color(QPalette::Base), QColor(0, 255, 0));
    EXPECT_EQ(window->SystemPane()->palette().color(QPalette::Base), QColor(255, 0, 0));
    EXPECT_TRUE(window->Autostart());
    EXPECT_FALSE(window->Settings().Values().UseTray);
    EXPECT_FALSE(window->Sounds().SoundOn);
    EXPECT_FALSE(window->Sounds().Sound(sndNoMail)->IsActive);
    EXPECT_EQ(window->pos(), QPoint(10, 20));
    EXPECT_EQ(window->size(), QSize(700, 500));
    EXPECT_EQ(window->MailList()->header()->sectionSize(2), 150);
    EXPECT_EQ(window->findChild<QSplitter*>("splMain")->sizes().value(0), 150);
    EXPECT_TRUE(window->AccountsToolbar()->isHidden());
    EXPECT_FALSE(window->Action(TCommand::ViewAccountsToolbar)->isChecked());
}

TEST(MainWindow, MasterPasswordAtStartUp) {
    const std::string refusal =
        "Invalid master password\r\n\nThe program will not run without a proper password.\r\n"
        "If you can't recall it, delete the Quillet.ini file, restart the program and "
        "define accounts again.";
    struct Row {
        const char* what;
        std::vector<std::optional<std::string>> answers;
        bool runs;
    };
    const Row rows[] = {
        {"right", {"Open sesame"}, true},
        {"wrong, then right", {"open sesame", "Open sesame"}, true},
        {"three wrong", {"a", "b", "c"}, false},
        {"cancelled", {std::nullopt}, false},
    };
    for (const Row& row : rows) {
        TWindowBench bench;
        WriteProtectedFile(bench, "Open sesame");
        const std::string before = bench.Dir.ReadFile("Quillet.ini");
        TMessageBoxScript boxes;
        TPromptAnswerer answers(row.answers);
        int terminations = 0;
        {
            auto window = bench.MakeWindow();
            QObject::connect(window.get(), &TfrmMain::TerminateRequested,
                             [&terminations] { ++terminations; });
            TCounter setup, check;
            setup.Attach(*window, TCommand::SetupAccounts);
            check.Attach(*window, TCommand::CheckAll);
            TWindowBench::Start(*window);
            EXPECT_EQ(answers.Unanswered(), 0) << row.what;
            EXPECT_EQ(bench.Accounts.Count(), row.runs ? 1 : 0) << row.what;
            EXPECT_EQ(check.Runs, row.runs ? 1 : 0) << row.what;
            EXPECT_EQ(setup.Runs, 0) << row.what; // an ending program opens no dialog
            EXPECT_EQ(window->Terminating(), !row.runs) << row.what;
        }
        EXPECT_EQ(terminations, row.runs ? 0 : 1) << row.what;
        if (!row.runs) {
            ASSERT_EQ(boxes.Shown().size(), 1u) << row.what;
            EXPECT_EQ(boxes.Shown()[0].Title, "Error");
            EXPECT_EQ(boxes.Shown()[0].Text.toStdString(), refusal);
            EXPECT_EQ(boxes.Shown()[0].Icon, TMessageIcon::Error);
            // After the whole end of the program the accounts are exactly as they were; the
            // options were still saved.
            EXPECT_EQ(bench.Dir.ReadFile("Quillet.ini"), before) << row.what;
            EXPECT_EQ(bench.Store.ReadString("Options", "FirstRun", ""), "0");
        } else {
            EXPECT_TRUE(boxes.Shown().empty()) << row.what;
        }
    }
}

TEST(MainWindow, CloseOrMinimize) {
    struct Row {
        const char* what;
        bool closeMinimizes, viaExit, inTray, closes;
    };
    const Row rows[] = {
        {"plain close", false, false, false, true},
        {"close minimizes", true, false, false, false},
        {"exit always ends", true, true, false, true},
        {"from the tray it ends", true, false, true, true},
    };
    for (const Row& row : rows) {
        TWindowBench bench;
        auto window = bench.MakeWindow(row.inTray);
        TWindowBench::Start(*window);
        window->Settings().Edit([&](TMainSettings& S) { S.CloseMinimizes = row.closeMinimizes; });
        if (row.inTray) {
            window->showMinimized();
            QTest::qWait(20);
            ASSERT_TRUE(window->Systray().IconShown()) << row.what;
        }
        int closed = 0;
        QObject::connect(window.get(), &TfrmMain::Closed, [&closed] { ++closed; });
        if (row.viaExit)
            window->Action(TCommand::Exit)->trigger();
        else
            window->close();
        EXPECT_EQ(closed, row.closes ? 1 : 0) << row.what;
        EXPECT_EQ(window->isMinimized(), !row.closes || row.inTray) << row.what;
        EXPECT_EQ(window->ExitRequested(), row.viaExit) << row.what;
    }
}

TEST(MainWindow, AutoCheckingLooksTheSameEverywhere) {
    TWindowBench bench;
    auto window = bench.MakeWindow();
    TWindowBench::Start(*window);
    QAction* action = window->Action(TCommand::AutoCheck);
    EXPECT_TRUE(window->TrayMenu()->actions().contains(action));
    const auto* button = window->findChild<QToolButton*>("tbtnAutoCheck");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->defaultAction(), action);
    EXPECT_EQ(button->popupMode(), QToolButton::MenuButtonPopup);
    for (const bool on : {false, true}) {
        action->trigger();
        EXPECT_EQ(window->Settings().Values().CheckingActive, on);
        EXPECT_EQ(window->CheckTimer()->isActive(), on);
        const QString text = on ? "Auto checking is ON" : "Auto checking is OFF";
        EXPECT_EQ(action->text(), text);
        EXPECT_EQ(button->toolTip(), text);
        EXPECT_TRUE(SamePicture(action->icon(), ButtonPicture(on ? 4 : 5)));
    }
    // An interval of 0 never fires, whatever auto checking says.
    window->Settings().Edit([&](TMainSettings& S) { S.AutoCheckTime = 0; });
    EXPECT_FALSE(window->CheckTimer()->isActive());
}

TEST(MainWindow, CommandsOfLaterPartsWaitForTheirHandlers) {
    TWindowBench bench;
    auto window = bench.MakeWindow();
    for (const TCommand command :
         {TCommand::CheckAll, TCommand::AbortChecking, TCommand::MailDelete, TCommand::MailProperties,
          TCommand::SetupAccounts, TCommand::Options, TCommand::DumpIDs, TCommand::About})
        EXPECT_FALSE(window->Action(command)->isEnabled()) << CommandInfo(command).Name;
    TCounter options, abort;
    options.Attach(*window, TCommand::Options);
    abort.Attach(*window, TCommand::AbortChecking);
    EXPECT_TRUE(window->Action(TCommand::Options)->isEnabled());
    EXPECT_FALSE(window->Action(TCommand::AbortChecking)->isEnabled());
    window->SetCommandState({true, false});
    EXPECT_FALSE(window->Action(TCommand::Options)->isEnabled());
    EXPECT_FALSE(window->Action(TCommand::Exit)->isEnabled());
    EXPECT_TRUE(window->Action(TCommand::AbortChecking)->isEnabled());
}

TEST(MainWindow, EveryShortcutReachesItsAction) {
    struct Row {
        TCommand command;
        QKeySequence keys;
        TCommandState state;
    };
    const Row rows[] = {
        {TCommand::ViewMainToolbar, QKeySequence("Ctrl+T"), {}},
        {TCommand::ViewAccountsToolbar, QKeySequence("Ctrl+A"), {}},
        {TCommand::ViewStatusBar, QKeySequence("Ctrl+S"), {}},
        {TCommand::HideAll, QKeySequence("Ctrl+Alt+H"), {}},
        {TCommand::ShowAll, QKeySequence("Ctrl+Alt+S"), {}},
        {TCommand::CheckAll, QKeySequence("F5"), {}},
        {TCommand::AbortChecking, QKeySequence("F6"), {true, false}},
        {TCommand::AutoCheck, QKeySequence("F7"), {}},
        {TCommand::MailDelete, QKeySequence("Del"), {false, true}},
        {TCommand::MailProperties, QKeySequence("F12"), {false, true}},
        {TCommand::SetupAccounts, QKeySequence("F8"), {}},
        {TCommand::Options, QKeySequence("F9"), {}},
        {TCommand::About, QKeySequence("F1"), {}},
    };
    TWindowBench bench;
    auto window = bench.MakeWindow();
    TWindowBench::Start(*window);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->MailList()->setFocus();
    for (const Row& row : rows) {
        EXPECT_EQ(window->Action(row.command)->shortcut(), row.keys) << CommandInfo(row.command).Name;
        TCounter counter;
        counter.Attach(*window, row.command);
        window->SetCommandState(row.state);
        QTest::keySequence(window->MailList(), row.keys);
        EXPECT_EQ(counter.Runs, 1) << CommandInfo(row.command).Name;
    }
    for (const TCommand command : {TCommand::SetMasterPassword, TCommand::Exit, TCommand::DumpIDs})
        EXPECT_TRUE(window->Action(command)->shortcut().isEmpty()) << CommandInfo(command).Name;
}

// F2, F3 and F4 switch the detail tab wherever the focus is, and still reach the focused control.
TEST(MainWindow, DetailKeys) {
    TWindowBench bench;
    auto window = bench.MakeWindow();
    TWindowBench::Start(*window);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->SystemPane()->setFocus();
    const std::pair<Qt::Key, QTextEdit*> keys[] = {{Qt::Key_F3, window->HeaderPane()},
                                                   {Qt::Key_F2, window->MessagePane()},
                                                   {Qt::Key_F4, window->SystemPane()}};
    for (const auto& [key, pane] : keys) {
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_EQ(window->DetailTabs()->currentIndex(), key - Qt::Key_F2);
        EXPECT_TRUE(pane->isVisible());
    }
}

TEST(MainWindow, HideAllAndShowAll) {
    TWindowBench bench;
    auto window = bench.MakeWindow();
    TWindowBench::Start(*window);
    for (const bool shown : {false, true}) {
        window->Action(shown ? TCommand::ShowAll : TCommand::HideAll)->trigger();
        EXPECT_EQ(window->MainToolbar()->isVisible(), shown);
        EXPECT_EQ(window->AccountsToolbar()->isVisible(), shown);
        EXPECT_EQ(window->statusBar()->isVisible(), shown);
        for (const TCommand toggle :
             {TCommand::ViewMainToolbar, TCommand::ViewAccountsToolbar, TCommand::ViewStatusBar})
            EXPECT_EQ(window->Action(toggle)->isChecked(), shown);
    }
}

TEST(MainWindow, MinimizeToTheTray) {
    struct Row {
        bool trayAvailable, useTray, hidden;
    };
    const Row rows[] = {{true, true, true}, {true, false, false}, {false, true, false}};
    for (const Row& row : rows) {
        TWindowBench bench;
        auto window = bench.MakeWindow(row.trayAvailable);
        TWindowBench::Start(*window);
        window->Settings().Edit([&](TMainSettings& S) { S.UseTray = row.useTray; });
        window->showMinimized();
        QTest::qWait(20);
        EXPECT_EQ(window->isHidden(), row.hidden);
        EXPECT_EQ(window->Systray().IconShown(), row.hidden);
        window->Action(TCommand::Restore)->trigger();
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(window->isMinimized());
        EXPECT_FALSE(window->Systray().IconShown());
    }
}

TEST(MainWindow, TrayMenuAndHint) {
    TWindowBench bench;
    auto window = bench.MakeWindow();
    QStringList items;
    for (const QAction* action : window->TrayMenu()->actions())
        items << (action->isSeparator() ? "-" : action->objectName());
    EXPECT_EQ(items, QStringList({"popoptRestore", "-", "optCheckAll", "", "optAbortChecking", "-",
                                  "optAutoCheck", "-", "optExit"}));
    EXPECT_EQ(window->TrayMenu()->actions()[3]->text(), "Check this one");
    EXPECT_EQ(window->TrayMenu()->defaultAction(), window->Action(TCommand::Restore));
    window->Systray().SetHint(QString(100, 'h'));
    EXPECT_EQ(window->Systray().ShownHint(), QString(63, 'h'));
}

} // namespace quillet::test

namespace quillet::test {
namespace {

double Luminance(const QColor& C) {
    const auto channel = [](double V) {
        return V <= 0.03928 ? V / 12.92 : std::pow((V + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(C.redF()) + 0.7152 * channel(C.greenF()) + 0.0722 * channel(C.blueF());
}

double Contrast(const QColor& A, const QColor& B) {
    const double a = Luminance(A), b = Luminance(B);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QPalette DarkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(45, 45, 48));
    p.setColor(QPalette::WindowText, QColor(230, 230, 230));
    p.setColor(QPalette::Base, QColor(30, 30, 32));
    p.setColor(QPalette::AlternateBase, QColor(40, 40, 44));
    p.setColor(QPalette::Text, QColor(230, 230, 230));
    p.setColor(QPalette::Button, QColor(55, 55, 60));
    p.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    p.setColor(QPalette::Highlight, QColor(38, 110, 190));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, QColor(60, 60, 64));
    p.setColor(QPalette::ToolTipText, QColor(230, 230, 230));
    p.setColor(QPalette::PlaceholderText, QColor(150, 150, 150));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 120));
    return p;
}

} // namespace

// With a dark desktop palette the panes follow the desktop and every text stays readable on
// its background; the list's pale colour, never changed, follows the desktop too, while a colour
// the user chose stays. QUILLET_SCREENSHOT_DIR keeps a picture.
TEST(MainWindow, ReadableInADarkPalette) {
    const QString oldStyle = QApplication::style()->name();
    const QPalette oldPalette = QApplication::palette();
    TWindowBench bench;
    auto window = bench.MakeWindow();
    TWindowBench::Start(*window);
    QApplication::setStyle("Fusion");
    QApplication::setPalette(DarkPalette());
    QTest::qWait(20);
    for (QWidget* area :
         {static_cast<QWidget*>(window->MailList()), static_cast<QWidget*>(window->MessagePane()),
          static_cast<QWidget*>(window->SystemPane())}) {
        const QPalette p = area->palette();
        EXPECT_GE(Contrast(p.color(QPalette::Text), p.color(QPalette::Base)), 7.0)
            << area->objectName().toStdString();
    }
    EXPECT_EQ(window->MessagePane()->palette().color(QPalette::Base),
              QColor(55, 55, 60)); // the dark button face
    EXPECT_EQ(window->MailList()->palette().color(QPalette::Base), QColor(30, 30, 32));
    const QString dir = qEnvironmentVariable("QUILLET_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        window->grab().save(dir + "/main-window-dark.png");
    window->Settings().Edit([&](TMainSettings& S) { S.Layout.GridColor = 0x00FF00; });
    EXPECT_EQ(window->MailList()->palette().color(QPalette::Base), QColor(0, 255, 0));
    EXPECT_GE(Contrast(window->MailList()->palette().color(QPalette::Text), QColor(0, 255, 0)), 7.0);
    window.reset();
    QApplication::setStyle(oldStyle);
    QApplication::setPalette(oldPalette);
}

} // namespace quillet::test

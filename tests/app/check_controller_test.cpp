// The main window checking mail: a check that waits on a silent server while the window is
// closed, a timer tick in the middle of a check, the per-account menus, the list after a check.
#include "app/account_menus.h"
#include "app/check_controller.h"
#include "app/desktop_notifier.h"
#include "app/mail_list_view.h"
#include "app/mail_sort_model.h"
#include "app/new_mail_notice.h"
#include "mail/pop3_client.h"
#include "settings/accounts_file.h"
#include "settings/ini_file.h"
#include "tests/app/window_test_support.h"
#include "tests/support/scripted_pop3_server.h"

#include <QDateTime>
#include <QMenu>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

namespace quillet::test {
namespace {

void WriteOneAccount(TWindowBench& Bench, std::uint16_t Port) {
    TAccounts accounts;
    AddAccount(accounts, "Home mailbox main", "u", "127.0.0.1", "p", Port, true);
    TIniFile ini(Bench.Dir.IniPath());
    WriteAccounts(ini, "", accounts);
    accounts.Clear();
}

TEST(CheckController, ClosingTheWindowDuringACheckDropsTheConnectionAndSavesTheSettings) {
    TScriptedPop3Server server;
    server.Send("+OK\r\n")
        .Expect("USER u")
        .Send("+OK\r\n")
        .Expect("PASS p")
        .Send("+OK\r\n")
        .Expect("LIST")
        .Silence(60000);
    ASSERT_TRUE(server.Listen());
    TWindowBench bench;
    WriteOneAccount(bench, server.Port());
    auto window = bench.MakeWindow();
    auto* controller = new TCheckController(*window, bench.Accounts, bench.Mails);
    int ticksDuringCheck = 0;
    QTimer::singleShot(500, [&] {
        // A timed check now would start a second pass: the open connection stops it.
        controller->TimerTick();
        ++ticksDuringCheck;
        window->close();
    });
    TWindowBench::Start(*window);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !controller->Cycle().Running(); }, 5000));
    EXPECT_EQ(ticksDuringCheck, 1);
    EXPECT_FALSE(controller->Cycle().Running());
    EXPECT_FALSE(bench.Accounts[0].Pop()->Connected());
    EXPECT_EQ(window->SystemPane()->toPlainText().count(" >Home mailbox main: connecting"), 1);
    // The account toolbar: one button, its caption the first ten characters of the label.
    ASSERT_EQ(window->AccountsToolbar()->actions().size(), 1);
    EXPECT_EQ(window->AccountsToolbar()->actions()[0]->text(), "Home mailb");
    window.reset(); // the program ends: the settings are saved last
    EXPECT_EQ(bench.Store.ReadString("Options", "FirstRun", ""), "0");
    EXPECT_NE(bench.Dir.ReadFile("Quillet.ini").find("Count=1"), std::string::npos);
}

TEST(CheckController, AccountMenusFollowTheAccounts) {
    TWindowBench bench;
    auto window = bench.MakeWindow();
    auto* controller = new TCheckController(*window, bench.Accounts, bench.Mails);
    TAccountMenus& menus = controller->AccountMenus();
    menus.BuildCheckMenu();
    EXPECT_EQ(window->AccountsCheckMenu()->actions().size(), 0); // no "Cancel": Escape closes a menu
    menus.BuildAutoCheckMenu();
    EXPECT_EQ(window->AccountsAutoCheckMenu()->actions().size(), 3);

    AddAccount(bench.Accounts, "Work", "u", "h", "p", 110, false);
    menus.BuildAccountsToolbar();
    menus.BuildAutoCheckMenu();
    QAction* toggle = window->AccountsAutoCheckMenu()->actions()[0];
    EXPECT_EQ(toggle->text(), "Work is NOT active");
    toggle->trigger();
    EXPECT_TRUE(bench.Accounts[0].Active);
    menus.BuildAutoCheckMenu();
    EXPECT_EQ(window->AccountsAutoCheckMenu()->actions()[0]->text(), "Work is active");
    menus.BuildTrayCheckOneMenu();
    EXPECT_EQ(window->CheckOneMenu()->actions().size(), 1);

    // An account whose checks keep failing says so on its button.
    TAccount& work = bench.Accounts[0];
    work.LastFailure = "Failed on connect";
    work.LastFailureMs = QDateTime::currentMSecsSinceEpoch();
    work.FailuresInRow = 2;
    menus.UpdateAccountButton(0);
    const QString tip = window->AccountsToolbar()->actions()[0]->toolTip();
    EXPECT_TRUE(tip.startsWith("Work") && tip.contains("Failed on connect")) << tip.toStdString();
}

TEST(CheckController, PictureAndCaptionRules) {
    const std::tuple<bool, bool, int> pictures[] = {
        {true, true, 8}, {true, false, 8}, {false, true, 6}, {false, false, 7}};
    for (const auto& [checking, active, picture] : pictures)
        EXPECT_EQ(AccountButtonPicture(checking, active), picture);
    EXPECT_EQ(AccountButtonCaption("Company mailbox main"), "Company ma");
    EXPECT_EQ(AccountButtonCaption("Grüße aus Köln"), "Grüße aus ") << "characters, not bytes";
}

TEST(CheckController, NewMailNoticeTexts) {
    std::vector<TMail> mails(5);
    const char* senders[][2] = {
        {"Ann Lee", "ann@example.org"}, {"", "bob@example.org"}, {"", ""}, {"D", ""}, {"E", ""}};
    for (std::size_t i = 0; i < mails.size(); ++i) {
        mails[i].FromName = senders[i][0];
        mails[i].FromAddr = senders[i][1];
        mails[i].Subject = i == 2 ? "" : "Subject " + std::to_string(i + 1);
    }
    const auto noticeOf = [&](std::size_t Count) {
        std::vector<const TMail*> list;
        for (std::size_t i = 0; i < Count; ++i)
            list.push_back(&mails[i]);
        return NewMailNotice(list);
    };
    const std::tuple<std::size_t, std::string, std::string> rows[] = {
        {0, "", ""},
        {1, "New mail", "Ann Lee: Subject 1"},
        {2, "2 new mails", "Ann Lee: Subject 1\nbob@example.org: Subject 2"},
        {5, "5 new mails",
         "Ann Lee: Subject 1\nbob@example.org: Subject 2\n(unknown sender): (no subject)\nand 2 more"},
    };
    for (const auto& [count, title, body] : rows) {
        const TNewMailNotice notice = noticeOf(count);
        EXPECT_EQ(notice.Title, title) << count;
        EXPECT_EQ(notice.Body, body) << count;
    }
}

TEST(CheckController, NotificationOnlyWhenNewMailArrivesAndTheOptionIsOn) {
    TWindowBench bench;
    auto window = bench.MakeWindow();
    auto* controller = new TCheckController(*window, bench.Accounts, bench.Mails);
    std::vector<QString> shown;
    controller->Notifier().ShowHook = [&](const QString& Title, const QString&) { shown.push_back(Title); };
    auto mail = std::make_unique<TMail>();
    mail->UniqueID = "AA";
    mail->FromName = "Ann";
    controller->AddMail(std::move(mail));
    controller->AnnounceNewMail({"AA"});
    EXPECT_EQ(shown, std::vector<QString>{"New mail"});
    window->Settings().Edit([&](TMainSettings& S) { S.NotifyNewMail = false; });
    controller->AnnounceNewMail({"AA"});
    EXPECT_EQ(shown.size(), 1u) << "the option is off";
}

} // namespace
} // namespace quillet::test

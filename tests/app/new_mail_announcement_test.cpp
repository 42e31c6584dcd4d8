// New mail is announced once, also across restarts, through a recording notification service
// on a bus of the test's own: one notification sums up a first check, a later one replaces it
// and sums up all the user has not looked at, a restart against the same mailboxes announces
// nothing and shows nothing as new, a mail that is new after it is announced on its own, and
// the notification's Show and Mark for deletion act on its one mail.
// With the servers' unique ids (UIDL) and without them (mails known by their key).
#include "app/check_controller.h"
#include "app/desktop_notifier.h"
#include "app/mail_list_view.h"
#include "app/mail_row_texts.h"
#include "app/mail_sort_model.h"
#include "demo/demo_mailbox.h"
#include "demo/demo_pop3_server.h"
#include "model/seen_mail.h"
#include "settings/accounts_file.h"
#include "settings/ini_file.h"
#include "settings/seen_mail_file.h"
#include "tests/app/window_test_support.h"
#include "tests/support/private_bus.h"
#include "tests/support/recording_notifications.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

// Failures show texts as text.
[[maybe_unused]] static void PrintTo(const QString& Text, std::ostream* Os) {
    *Os << '"' << Text.toStdString() << '"';
}

namespace quillet::test {
namespace {

const QString Mark = QString::fromLatin1(TCheckController::MarkAction);

QString Q(const std::string& Text) {
    return QString::fromStdString(Text);
}

// Two demo mailboxes of 25 messages each, served on 127.0.0.1.
struct TMailboxes {
    QDateTime Start = QDateTime::currentDateTime();
    TDemoMailbox Home{1, Start};
    TDemoMailbox Work{2, Start};
    TDemoPop3Server HomeServer{Home, "ann", "pw-ann"};
    TDemoPop3Server WorkServer{Work, "bob", "pw-bob"};
};

// One run of the program on the bench's stores: it checks every account at start, and its
// notifications go to the test's bus.
struct TProgramRun {
    std::unique_ptr<TfrmMain> Window;
    TCheckController* Controller = nullptr;

    TProgramRun(TWindowBench& Bench, TPrivateBus& Bus, bool Uidl, const QString& Name)
        : Window(Bench.MakeWindow()) {
        Controller = new TCheckController(*Window, Bench.Accounts, Bench.Mails); // owned by the window
        Controller->Cycle().UseFastChecks = Uidl;
        Controller->SetNotifier(new TDesktopNotifier(Window->Systray(), Bus.Connect(Name)));
        TWindowBench::Start(*Window);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return Controller->Cycle().LastFullCheck() != 0 && !Controller->Cycle().Busy(); }, 20000));
    }
    void CheckAll() { Window->RunCommand(TCommand::CheckAll); }
    // The mail selected in the list, -1 for none.
    int SelectedMail() const {
        const QModelIndex current = Window->MailList()->currentIndex();
        return current.isValid() ? Controller->SortModel().MailIndexOfRow(current.row()) : -1;
    }
};

// Rows that show "*" and bold.
int NewRows(const TMails& Mails) {
    int n = 0;
    for (int j = 0; j < Mails.Count(); ++j)
        n += MailRowTexts(Mails[j]).New() ? 1 : 0;
    return n;
}

int FirstNewMail(const TMails& Mails) {
    for (int j = 0; j < Mails.Count(); ++j)
        if (Mails[j].State == TMailState::New)
            return j;
    return -1;
}

TEST(NewMailAnnouncement, OnceAcrossRestartsAndActedOnFromTheNotification) {
    for (const bool uidl : {true, false}) {
        SCOPED_TRACE(uidl ? "with UIDL" : "without UIDL");
        TPrivateBus bus;
        if (!bus.Running()) {
            if (TPrivateBus::Required())
                FAIL() << "dbus-daemon is required in CI but could not be started";
            GTEST_SKIP() << "dbus-daemon is not installed";
        }
        TRecordingNotifications service(bus, QStringLiteral("desktop"),
                                        {QStringLiteral("actions"), QStringLiteral("body")});
        TMailboxes boxes;
        ASSERT_TRUE(boxes.HomeServer.Listen(0) && boxes.WorkServer.Listen(0));
        TWindowBench bench;
        {
            TAccounts accounts;
            AddAccount(accounts, "Home", "ann", "127.0.0.1", "pw-ann", boxes.HomeServer.Port(), true);
            AddAccount(accounts, "Work", "bob", "127.0.0.1", "pw-bob", boxes.WorkServer.Port(), true);
            TIniFile ini(bench.Dir.IniPath());
            WriteAccounts(ini, "", accounts);
        }
        const auto notifications = [&](std::size_t Count) {
            return QTest::qWaitFor(
                [&] {
                    return service.Notifications().size() == Count &&
                           service.Answered == static_cast<int>(Count);
                },
                5000);
        };

        {
            // The first run: one summary for the first check, not one notification per mail.
            TProgramRun run(bench, bus, uidl, QStringLiteral("run1"));
            ASSERT_EQ(bench.Mails.Count(), 50);
            ASSERT_TRUE(notifications(1));
            const auto first = service.Notifications()[0];
            EXPECT_EQ(first.Summary, "50 new mails in 2 accounts");
            EXPECT_EQ(first.Actions, (QStringList{"default", "Show"})) << "several mails: nothing to mark";
            EXPECT_EQ(NewRows(bench.Mails), 50);

            // One more mail while the user is away: the notification that replaces the first
            // still sums up all they have not seen, this mail first, and every one stays bold.
            boxes.Home.AddNewMessage(QDateTime::currentDateTime());
            run.CheckAll();
            ASSERT_EQ(bench.Mails.Count(), 51);
            ASSERT_TRUE(notifications(2));
            const auto second = service.Notifications()[1];
            EXPECT_EQ(second.Summary, "51 new mails in 2 accounts");
            EXPECT_EQ(second.ReplacesId, first.Id);
            const int homeMail = FirstNewMail(bench.Mails);
            ASSERT_GE(homeMail, 0);
            EXPECT_TRUE(second.Body.section(u'\n', 0, 0).endsWith(": " + Q(bench.Mails[homeMail].Subject)))
                << second.Body.toStdString();
            EXPECT_EQ(NewRows(bench.Mails), 51);

            // The user has looked at the window once it is no longer in front: nothing is new.
            QApplication::setActiveWindow(run.Window.get());
            QApplication::setActiveWindow(nullptr);
            EXPECT_EQ(NewRows(bench.Mails), 0);

            // Then one mail: its notification offers to mark it.
            boxes.Work.AddNewMessage(QDateTime::currentDateTime());
            run.CheckAll();
            ASSERT_TRUE(notifications(3));
            const auto third = service.Notifications()[2];
            EXPECT_EQ(third.Summary, "New mail");
            EXPECT_EQ(third.ReplacesId, first.Id);
            EXPECT_EQ(third.Actions, (QStringList{"default", "Show", Mark, "Mark for deletion"}));
            EXPECT_EQ(NewRows(bench.Mails), 1);
            const int added = FirstNewMail(bench.Mails);
            ASSERT_GE(added, 0);

            // Mark for deletion marks it (the next check deletes it); Show brings the window back
            // with it selected.
            run.Window->showMinimized();
            service.Click(third.Id, Mark);
            EXPECT_TRUE(QTest::qWaitFor([&] { return bench.Mails[added].MarkedForDelete; }, 5000));
            service.Click(third.Id, QStringLiteral("default"));
            EXPECT_TRUE(QTest::qWaitFor([&] { return run.SelectedMail() == added; }, 5000));
            EXPECT_FALSE(run.Window->isMinimized());
            EXPECT_TRUE(bench.Mails[added].MarkedForDelete) << "Show changes no mark";
        }
        bench.Accounts.Clear();
        bench.Mails.Clear();

        {
            // A restart against the same mailboxes: nothing is announced again or shown as new.
            TProgramRun run(bench, bus, uidl, QStringLiteral("run2"));
            ASSERT_EQ(bench.Mails.Count(), 52);
            EXPECT_FALSE(run.Controller->Cycle().NewMailArrived()) << "no sound, no restore, no notification";
            EXPECT_EQ(NewRows(bench.Mails), 0);

            // A mail new since the restart is announced, alone (had the check at start announced
            // anything, the bus would have brought it first).
            boxes.Work.AddNewMessage(QDateTime::currentDateTime());
            run.CheckAll();
            ASSERT_TRUE(notifications(4));
            const int added = FirstNewMail(bench.Mails);
            ASSERT_GE(added, 0);
            EXPECT_EQ(service.Notifications()[3].Summary, "New mail");
            EXPECT_TRUE(service.Notifications()[3].Body.endsWith(": " + Q(bench.Mails[added].Subject)));
            EXPECT_EQ(NewRows(bench.Mails), 1);

            // Mail gone from the server is forgotten after a complete check: the file keeps what
            // the servers hold, no more.
            const TSeenAccount home = SeenAccountOf(bench.Accounts[0]);
            std::string goneId;
            for (int j = 0; j < bench.Mails.Count(); ++j)
                if (bench.Mails[j].Account == "Home" && bench.Mails[j].ServerIdx == 1)
                    goneId = SeenMailId(bench.Mails[j]);
            ASSERT_TRUE(run.Controller->SeenMail().Contains(home, goneId));
            boxes.Home.Remove({boxes.Home.Messages().front().UniqueId});
            run.CheckAll();
            const TSeenMail onDisk = ReadSeenMailFile(bench.Dir.FilePath(SeenMailFileName));
            EXPECT_EQ(onDisk, run.Controller->SeenMail());
            EXPECT_FALSE(onDisk.Contains(home, goneId));
            ASSERT_EQ(onDisk.Accounts().size(), 2u);
            EXPECT_EQ(onDisk.Accounts().at(home).size(), 25u);
            EXPECT_EQ(onDisk.Accounts().at(SeenAccountOf(bench.Accounts[1])).size(), 27u);
        }
        bench.Accounts.Clear();
        bench.Mails.Clear();
    }
}

} // namespace
} // namespace quillet::test

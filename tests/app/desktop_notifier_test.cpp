// The new-mail notification on the desktop: mail texts reach a service that reads markup as
// text, the window goes on working while the service answers, actions are offered where the
// service shows them and told for the notification they were chosen on, and what the service
// turns down is shown by the tray icon. The service here is a recording one on a message bus of the test's
// own, so no desktop is involved.
#include "app/desktop_notifier.h"
#include "app/systray.h"
#include "tests/support/private_bus.h"
#include "tests/support/recording_notifications.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <utility>
#include <vector>

// Failures show texts as text.
[[maybe_unused]] static void PrintTo(const QString& Text, std::ostream* Os) {
    *Os << '"' << Text.toStdString() << '"';
}

namespace quillet::test {
namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Evil = QStringLiteral(R"(Q&A <b>sale</b> <a href="http://evil.example/">click</a>)");
const QString EvilEscaped =
    QStringLiteral(R"(Q&amp;A &lt;b&gt;sale&lt;/b&gt; &lt;a href="http://evil.example/"&gt;click&lt;/a&gt;)");

TEST(DesktopNotifier, BodyTextEscapedOnlyForServicesThatReadMarkup) {
    const std::tuple<QString, bool, QString> rows[] = {
        {QStringLiteral("Ann Lee: Lunch today"), true, QStringLiteral("Ann Lee: Lunch today")},
        {QStringLiteral("Q&A"), true, QStringLiteral("Q&amp;A")},
        {QStringLiteral("a<b"), true, QStringLiteral("a&lt;b")},
        {QStringLiteral("a>b"), true, QStringLiteral("a&gt;b")},
        {Evil, true, EvilEscaped},
        {QStringLiteral("&amp;"), true, QStringLiteral("&amp;amp;")},
        {QStringLiteral("Grüße aus Köln — 東京"), true, QStringLiteral("Grüße aus Köln — 東京")},
        {Evil, false, Evil},
    };
    for (const auto& [text, markup, expected] : rows)
        EXPECT_EQ(NotificationBodyText(text, markup), expected) << text.toStdString() << " markup " << markup;
}

using TRecordingService = TRecordingNotifications;

class DesktopNotifierOnBus : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Bus.Running()) {
            if (TPrivateBus::Required())
                FAIL() << "dbus-daemon is required in CI but could not be started";
            GTEST_SKIP() << "dbus-daemon is not installed";
        }
    }
    // A notifier on the test's bus whose tray messages are recorded.
    std::unique_ptr<TDesktopNotifier> MakeNotifier() {
        auto notifier = std::make_unique<TDesktopNotifier>(Tray, Bus.Connect(QStringLiteral("notifier")));
        notifier->TrayHook = [this](const QString& Title, const QString& Body) {
            TrayMessages.emplace_back(Title, Body);
        };
        return notifier;
    }

    TPrivateBus Bus;
    QWidget Window;
    TSystray Tray{&Window, [] { return false; }};
    std::vector<std::pair<QString, QString>> TrayMessages;
};

TEST_F(DesktopNotifierOnBus, WindowGoesOnWhileTheServiceTakesItsTime) {
    TRecordingService service(Bus, QStringLiteral("service"),
                              {QStringLiteral("actions"), QStringLiteral("body")});
    service.ReplyDelay = 1500;
    auto notifier = MakeNotifier();
    QSignalSpy activated(notifier.get(), &TDesktopNotifier::Activated);

    QElapsedTimer clock;
    clock.start();
    notifier->Show(QStringLiteral("New mail"), QStringLiteral("Ann: Lunch"));
    EXPECT_LT(clock.elapsed(), 1000) << "the service answers after 1.5 s";
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.Notifications().size() == 1; }, 5000));
    bool ticked = false;
    QTimer::singleShot(50, [&] { ticked = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticked; }, 1000));
    EXPECT_EQ(service.Answered.load(), 0) << "the timer ran while the answer was pending";

    // Clicks reach the window only for the notification just shown and only as its default action;
    // the bus delivers them after the answer, in the order sent.
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.Answered == 1; }, 5000));
    service.Click(40, QStringLiteral("default"));
    service.Click(41, QStringLiteral("dismiss"));
    service.Click(41, QStringLiteral("default"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return activated.count() == 1; }, 5000));

    service.ReplyDelay = 0;
    notifier->Show(QStringLiteral("2 new mails"), QStringLiteral("Bob: Dinner"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.Notifications().size() == 2; }, 5000));
    EXPECT_EQ(service.Notifications()[1].ReplacesId, 41u) << "the new notification replaces the shown one";
    EXPECT_EQ(activated.count(), 1);
    EXPECT_TRUE(TrayMessages.empty());
}

TEST_F(DesktopNotifierOnBus, EachServiceOwnerIsAskedOnceWhetherItReadsMarkup) {
    auto notifier = MakeNotifier();
    // Tells when the notifier has seen the service change hands (it is told first).
    QDBusServiceWatcher owners(Service, QDBusConnection(QStringLiteral("notifier")),
                               QDBusServiceWatcher::WatchForOwnerChange);
    QStringList newOwners;
    QObject::connect(&owners, &QDBusServiceWatcher::serviceOwnerChanged,
                     [&](const QString&, const QString&, const QString& NewOwner) { newOwners << NewOwner; });
    const std::pair<QStringList, QString> rows[] = {
        {{QStringLiteral("body")}, Evil},
        {{QStringLiteral("body"), QStringLiteral("body-markup")}, EvilEscaped},
        {{QStringLiteral("body")}, Evil},
    };
    for (int row = 0; row < 3; ++row) {
        const auto& [capabilities, body] = rows[row];
        TRecordingService service(Bus, QStringLiteral("service%1").arg(row), capabilities);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return !newOwners.isEmpty() && !newOwners.last().isEmpty(); }, 5000));
        notifier->Show(Evil, Evil);
        notifier->Show(Evil, Evil);
        ASSERT_TRUE(QTest::qWaitFor([&] { return service.Notifications().size() == 2; }, 5000)) << row;
        for (const auto& notification : service.Notifications()) {
            EXPECT_EQ(notification.Summary, Evil) << row;
            EXPECT_EQ(notification.Body, body) << row;
        }
        EXPECT_EQ(service.CapabilityQuestions.load(), 1) << row;
        newOwners.clear();
    }
    EXPECT_TRUE(TrayMessages.empty());
}

TEST_F(DesktopNotifierOnBus, WhatTheServiceCannotShowTheTrayShowsAsWritten) {
    // A service that reads markup but turns the notification down, then no service at all.
    for (const bool serviceThere : {true, false}) {
        TrayMessages.clear();
        std::unique_ptr<TRecordingService> service;
        if (serviceThere) {
            service = std::make_unique<TRecordingService>(
                Bus, QStringLiteral("refusing"),
                QStringList{QStringLiteral("body"), QStringLiteral("body-markup")});
            service->Refuse = true;
        }
        auto notifier = MakeNotifier();
        notifier->Show(QStringLiteral("New mail"), Evil);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !TrayMessages.empty(); }, 5000)) << serviceThere;
        EXPECT_EQ(TrayMessages,
                  (std::vector<std::pair<QString, QString>>{{QStringLiteral("New mail"), Evil}}))
            << serviceThere;
        if (service) {
            EXPECT_EQ(service->Notifications().at(0).Body, EvilEscaped);
        } else {
            notifier->Show(QStringLiteral("New mail"), Evil);
            EXPECT_EQ(TrayMessages.size(), 2u) << "once the bus has told that there is no service, at once";
        }
    }
}

TEST_F(DesktopNotifierOnBus, ActionsAreToldForTheNotificationTheyWereChosenOn) {
    const QString mark = QStringLiteral("mark-for-deletion");
    const std::vector<TNoticeAction> offered{{mark, QStringLiteral("Mark for deletion")}};
    {
        // A service that shows no actions is offered none, not even the default one.
        TRecordingService plain(Bus, QStringLiteral("plain"), {QStringLiteral("body")});
        auto notifier = MakeNotifier();
        notifier->Show(QStringLiteral("New mail"), QStringLiteral("Ann: Lunch"), offered);
        ASSERT_TRUE(QTest::qWaitFor([&] { return plain.Notifications().size() == 1; }, 5000));
        EXPECT_EQ(plain.Notifications()[0].Actions, QStringList());
    }
    TRecordingService service(Bus, QStringLiteral("service"),
                              {QStringLiteral("actions"), QStringLiteral("body")});
    auto notifier = MakeNotifier();
    std::vector<std::pair<QString, QVariant>> told; // action ("default": a click) and tag
    QObject::connect(notifier.get(), &TDesktopNotifier::Activated,
                     [&](const QVariant& Tag) { told.emplace_back(QStringLiteral("default"), Tag); });
    QObject::connect(notifier.get(), &TDesktopNotifier::ActionChosen,
                     [&](const QString& Key, const QVariant& Tag) { told.emplace_back(Key, Tag); });
    const auto waitTold = [&](std::size_t Count) {
        // A click that counts no more is followed by one that does: the bus keeps their order.
        service.Click(41, QStringLiteral("default"));
        return QTest::qWaitFor([&] { return told.size() == Count; }, 5000);
    };

    notifier->Show(QStringLiteral("New mail"), QStringLiteral("Ann: Lunch"), offered, QStringLiteral("A"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.Answered == 1; }, 5000));
    EXPECT_EQ(service.Notifications()[0].Actions,
              (QStringList{QStringLiteral("default"), QStringLiteral("Show"), mark, offered[0].Label}));
    service.Click(40, mark);                          // another program's notification
    service.Click(41, QStringLiteral("not-offered")); // nothing we offered
    service.Click(41, mark);
    ASSERT_TRUE(waitTold(2));
    EXPECT_EQ(told[0], std::pair(mark, QVariant(QStringLiteral("A"))));
    EXPECT_EQ(told[1], std::pair(QStringLiteral("default"), QVariant(QStringLiteral("A"))));

    // While the next notification is on its way, an action is on the one shown: it keeps its tag.
    service.ReplyDelay = 1000;
    notifier->Show(QStringLiteral("2 new mails"), QStringLiteral("Bob: Dinner"), {}, QStringLiteral("B"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.Notifications().size() == 2; }, 5000));
    EXPECT_EQ(service.Notifications()[1].ReplacesId, 41u);
    service.Click(41, mark);
    ASSERT_TRUE(QTest::qWaitFor([&] { return told.size() == 3; }, 5000));
    EXPECT_EQ(told[2], std::pair(mark, QVariant(QStringLiteral("A"))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.Answered == 2; }, 5000));
    service.Click(41, mark); // "B" offers no mark
    ASSERT_TRUE(waitTold(4));
    EXPECT_EQ(told[3], std::pair(QStringLiteral("default"), QVariant(QStringLiteral("B"))));

    // Closed on the desktop: nothing is left to act on, and the next notification is a new one.
    service.ReplyDelay = 0;
    TNotificationClosedProbe probe(QDBusConnection(QStringLiteral("notifier")));
    service.Close(40);
    service.Close(41);
    service.Click(41, QStringLiteral("default"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return probe.Ids.size() == 2; }, 5000));
    QCoreApplication::processEvents();
    notifier->Show(QStringLiteral("New mail"), QStringLiteral("Cy: Tea"), offered, QStringLiteral("C"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.Notifications().size() == 3; }, 5000));
    EXPECT_EQ(service.Notifications()[2].ReplacesId, 0u);
    EXPECT_EQ(told.size(), 4u);
    EXPECT_TRUE(TrayMessages.empty());
}

} // namespace
} // namespace quillet::test

// The check schedule without a bus: the back-off and the one-log-in-a-minute rule, the ticks
// after an unannounced sleep, and a network that goes down and comes back.
#include "check/check_cycle.h"
#include "check/check_schedule.h"
#include "check/network_monitor.h"
#include "check/power_monitor.h"
#include "tests/check/schedule_test_support.h"

#include <QDateTime>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <limits>

namespace quillet::test {
namespace {

constexpr std::int64_t Minute = 60 * 1000;
constexpr std::int64_t Never = std::numeric_limits<std::int64_t>::min();

TEST(CheckSchedule, BackOffDoublesFromTheIntervalUpToAnHour) {
    const struct {
        std::int32_t Failures;
        std::int64_t IntervalMinutes, WaitMinutes;
    } rows[] = {
        {0, 5, 0},  {1, 5, 5},   {2, 5, 10},       {3, 5, 20},  {4, 5, 40},  {5, 5, 60},
        {6, 5, 60}, {1, 15, 15}, {2, 15, 30},      {3, 15, 60}, {4, 15, 60}, {1, 1, 1},
        {7, 1, 60}, {1, 90, 60}, {1000000, 5, 60}, {-1, 5, 0},  {3, 0, 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(BackOffMs(row.Failures, row.IntervalMinutes * Minute), row.WaitMinutes * Minute)
            << row.Failures << " failures, every " << row.IntervalMinutes << " minutes";
}

TEST(CheckSchedule, ATickFarLaterThanTheIntervalFollowsASleep) {
    const struct {
        std::int64_t SinceMinutes, IntervalMinutes;
        bool Slept;
    } rows[] = {
        {15, 15, false},   {16, 15, false}, {30, 15, false}, {31, 15, true},  {180, 15, true},
        {-120, 15, false}, {3, 1, true},    {2, 1, false},   {600, 0, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(SleptThrough(row.SinceMinutes * Minute, row.IntervalMinutes * Minute), row.Slept)
            << row.SinceMinutes << " minutes since the last tick, every " << row.IntervalMinutes;
}

TEST(NetworkMonitor, OnlyADisconnectedNetworkIsDown) {
    using R = QNetworkInformation::Reachability;
    EXPECT_TRUE(NetworkKnownDown(R::Disconnected));
    for (const R up : {R::Unknown, R::Local, R::Site, R::Online})
        EXPECT_FALSE(NetworkKnownDown(up)) << static_cast<int>(up);

    TNetworkMonitor monitor(TNetworkMonitor::TSource::None);
    EXPECT_FALSE(monitor.HasBackend());
    QSignalSpy down(&monitor, &TNetworkMonitor::WentDown);
    QSignalSpy back(&monitor, &TNetworkMonitor::CameBack);
    for (const R r : {R::Online, R::Disconnected, R::Disconnected, R::Local, R::Online, R::Disconnected})
        monitor.SetReachability(r);
    EXPECT_EQ(down.count(), 2);
    EXPECT_EQ(back.count(), 1);
    EXPECT_TRUE(monitor.KnownDown());
}

class Schedule : public ::testing::Test {
protected:
    TAccounts accounts;
    TMails mails;
    TListHost host{mails};
    TCheckCycle cycle{accounts, mails, host};
    TCheckSchedule schedule{accounts, cycle, host};
    std::int64_t now = QDateTime(QDate(2026, 12, 7), QTime(10, 0)).toMSecsSinceEpoch();
    int checkAlls = 0;

    void SetUp() override {
        cycle.UseFastChecks = false;
        schedule.Clock = [this] { return now; };
        schedule.ResumeDelayMs = 0;
        // What the window does when a timed Check all is due.
        QObject::connect(&schedule, &TCheckSchedule::CheckAllDue, [this] {
            ++checkAlls;
            cycle.CheckAll(true);
        });
    }
};

TEST_F(Schedule, WhichAccountsAnAutomaticCheckContacts) {
    schedule.SetTimedChecks(true, 5);
    const struct {
        std::int32_t Failures;
        std::int64_t FailedAgo, LoginAgo, GoodAgo; // minutes
        std::string HeldBack;
    } rows[] = {
        {0, Never, Never, Never, ""},
        {0, Never, 5, 5, ""},
        {0, Never, Never, 0, "checked less than a minute ago; next automatic check after 10:01:00"},
        {0, Never, 0, Never, "checked less than a minute ago; next automatic check after 10:01:00"},
        {1, 0, Never, Never, "checked less than a minute ago; next automatic check after 10:01:00"},
        {1, 5, Never, 30, ""},
        {2, 5, Never, 30, "failed 2 times in a row; next automatic check at 10:05"},
        {2, 8, Never, 30, ""}, // due in two minutes: this tick is the nearest one
        {3, 10, 10, Never, "failed 3 times in a row; next automatic check at 10:10"},
        {4, 39, 39, Never, ""},
        {9, 55, 55, Never, "failed 9 times in a row; next automatic check at 10:05"},
        {9, 60, 60, Never, ""},
        {9, -60, -60, Never, ""}, // the clock was set back: nothing is held up
    };
    const auto ago = [this](std::int64_t Minutes) { return Minutes == Never ? 0 : now - Minutes * Minute; };
    for (const auto& row : rows) {
        TAccount account;
        account.Label = "A";
        account.FailuresInRow = row.Failures;
        account.LastFailure = row.Failures > 0 ? "Failed on connect" : "";
        account.LastFailureMs = ago(row.FailedAgo);
        account.LastLoginMs = ago(row.LoginAgo);
        account.LastGoodCheckMs = ago(row.GoodAgo);
        EXPECT_EQ(schedule.HeldBack(account), row.HeldBack)
            << row.Failures << " failures " << row.FailedAgo << " min ago, log-in " << row.LoginAgo
            << " min ago, good " << row.GoodAgo << " min ago";
    }
}

// A failing account that the back-off holds back is left out of a timed check, with the reason
// in its status; checking it by hand contacts it at once, and its good check ends the back-off.
TEST_F(Schedule, ABackedOffAccountIsCheckedAtOnceByHand) {
    TScriptedPop3Server server;
    ScriptGoodCheck(server);
    ASSERT_TRUE(server.Listen());
    TAccount& account = AddLocalAccount(accounts, "A", server.Port());
    account.FailuresInRow = 3;
    account.LastFailure = "Failed on connect";
    account.LastFailureMs = now - 10 * Minute;
    schedule.SetTimedChecks(true, 5);
    now += 5 * Minute;
    schedule.Tick();
    EXPECT_EQ(checkAlls, 1);
    EXPECT_TRUE(host.Said(" >A: failed 3 times in a row; next automatic check at 10:10"));
    EXPECT_FALSE(host.Connected("A"));

    cycle.CheckOne(0);
    EXPECT_TRUE(host.Connected("A"));
    EXPECT_TRUE(server.Finished());
    EXPECT_TRUE(server.Errors().empty());
    EXPECT_EQ(account.FailuresInRow, 0);
    now = account.LastGoodCheckMs + 5 * Minute; // the cycle keeps the real time
    EXPECT_EQ(schedule.HeldBack(account), "") << "the back-off is over";
}

// A tick far later than the interval is a resume: one Check all after the resume delay, and a
// tick meanwhile adds none.
TEST_F(Schedule, ATickAfterAnUnannouncedSleepChecksOnceAfterADelay) {
    schedule.SetTimedChecks(true, 15);
    now += 15 * Minute;
    schedule.Tick();
    EXPECT_EQ(checkAlls, 1) << "an ordinary tick checks at once";
    EXPECT_FALSE(schedule.ResumePending());

    now += 3 * 60 * Minute;
    schedule.ResumeDelayMs = 200;
    schedule.Tick();
    EXPECT_EQ(checkAlls, 1);
    EXPECT_TRUE(schedule.ResumePending());
    EXPECT_TRUE(
        host.Said("More time passed than the check interval (the computer slept?): checking in a moment"));
    schedule.Tick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !schedule.ResumePending(); }, 10000));
    EXPECT_EQ(checkAlls, 2);
    now += 15 * Minute;
    schedule.Tick();
    EXPECT_EQ(checkAlls, 3) << "then the ticks go on as before";
}

// While the network is known to be down, ticks connect to nothing and say why, and a check by
// hand that fails counts nothing against the account; when it is back, one Check all.
TEST_F(Schedule, NoConnectWhileTheNetworkIsDownAndOneCheckWhenItIsBack) {
    TNetworkMonitor network(TNetworkMonitor::TSource::None);
    network.SetReachability(QNetworkInformation::Reachability::Online);
    schedule.Watch(network);
    schedule.SetTimedChecks(true, 15);
    schedule.ResumeDelayMs = 100;
    TScriptedPop3Server server;
    ScriptGoodCheck(server);
    ASSERT_TRUE(server.Listen());
    const TAccount& good = AddLocalAccount(accounts, "Good", server.Port());
    TAccount& gone = AddLocalAccount(accounts, "Gone", ClosedPort());
    gone.Active = false; // only a check by hand reaches it

    network.SetReachability(QNetworkInformation::Reachability::Disconnected);
    EXPECT_TRUE(schedule.NetworkDown());
    for (int tick = 0; tick < 3; ++tick) {
        now += 15 * Minute;
        schedule.Tick();
    }
    EXPECT_EQ(checkAlls, 0);
    EXPECT_EQ(host.Status.back(), NetworkDownText());
    EXPECT_TRUE(server.Received().empty());

    cycle.CheckOne(1);
    EXPECT_TRUE(host.Said(" >Gone: Failed on connect"));
    EXPECT_EQ(gone.FailuresInRow, 0);
    EXPECT_EQ(gone.LastFailure, "");
    EXPECT_EQ(gone.LastFailureMs, 0);

    network.SetReachability(QNetworkInformation::Reachability::Online);
    EXPECT_TRUE(schedule.ResumePending());
    schedule.Tick(); // folded into the check that is coming
    ASSERT_TRUE(QTest::qWaitFor([&] { return !schedule.ResumePending(); }, 10000));
    EXPECT_EQ(checkAlls, 1);
    EXPECT_TRUE(server.Finished());
    EXPECT_TRUE(server.Errors().empty());
    EXPECT_EQ(good.FailuresInRow, 0);
    EXPECT_GT(good.LastGoodCheckMs, 0);
}

// Windows hands its power broadcasts over; a resume the user started brings two events and one
// Check all.
TEST_F(Schedule, PowerBroadcastsSleepAndResumeOnce) {
    TPowerMonitor power;
    schedule.Watch(power);
    schedule.SetTimedChecks(true, 15);
    QSignalSpy sleeping(&power, &TPowerMonitor::SleepComing);
    QSignalSpy resumed(&power, &TPowerMonitor::Resumed);
    power.PowerBroadcast(TPowerMonitor::PowerSuspend);
    power.PowerBroadcast(0x8013); // a power setting change: nothing
    EXPECT_TRUE(schedule.Sleeping());
    power.PowerBroadcast(TPowerMonitor::PowerResumeAutomatic);
    power.PowerBroadcast(TPowerMonitor::PowerResumeSuspend);
    EXPECT_EQ(sleeping.count(), 1);
    EXPECT_EQ(resumed.count(), 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !schedule.ResumePending(); }, 10000));
    EXPECT_EQ(checkAlls, 1);
}

// A resume that never arrives: the first tick long after the sleep began stands for it.
TEST_F(Schedule, ATickLongAfterTheSleepBeganIsTheResume) {
    TPowerMonitor power;
    schedule.Watch(power);
    schedule.SetTimedChecks(true, 15);
    power.PowerBroadcast(TPowerMonitor::PowerSuspend);
    schedule.Tick(); // before the machine went to sleep
    EXPECT_TRUE(schedule.Sleeping());
    EXPECT_FALSE(schedule.ResumePending());
    now += 2 * 60 * Minute;
    schedule.Tick();
    EXPECT_FALSE(schedule.Sleeping());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !schedule.ResumePending(); }, 10000));
    EXPECT_EQ(checkAlls, 1);
}

} // namespace
} // namespace quillet::test

// Sleep and resume through logind, on a message bus of the test's own: a stand-in owns
// org.freedesktop.login1, emits PrepareForSleep and answers Inhibit with one end of a pipe, so
// the test sees when the lock is let go (the other end then reads end-of-file).
#include "check/check_cycle.h"
#include "check/check_schedule.h"
#include "check/logind_power_monitor.h"
#include "tests/check/schedule_test_support.h"
#include "tests/support/private_bus.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QDBusVirtualObject>
#include <QDateTime>
#include <QSignalSpy>
#include <QTest>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

namespace quillet::test {
namespace {

const QString LoginService = QString::fromLatin1(TLogindPowerMonitor::Service);
const QString LoginPath = QString::fromLatin1(TLogindPowerMonitor::Path);
const QString LoginInterface = QString::fromLatin1(TLogindPowerMonitor::Interface);
const QString ProbeInterface = QStringLiteral("test.Probe");

// Counts the stand-in's Ping signals on the program's connection. The stand-in's signals reach
// that connection in the order sent, and are handed on in that order: once a Ping has arrived,
// every PrepareForSleep sent before it has been handled.
class TBusProbe : public QObject {
    Q_OBJECT
public:
    int Pings = 0;
public Q_SLOTS:
    void Ping() { ++Pings; }
};

// Stands in for logind: answers Inhibit with the write end of a new pipe and keeps the read end.
class TLogindStandIn : public QDBusVirtualObject {
public:
    explicit TLogindStandIn(TPrivateBus& Bus) : FBus(Bus.Connect(QStringLiteral("logind"))) {
        FBus.registerVirtualObject(LoginPath, this);
        FBus.interface()->registerService(LoginService);
    }
    ~TLogindStandIn() override {
        FBus.interface()->unregisterService(LoginService);
        FBus.unregisterObject(LoginPath);
        for (const int fd : FReadEnds)
            ::close(fd);
    }

    void PrepareForSleep(bool Starting) {
        QDBusMessage signal =
            QDBusMessage::createSignal(LoginPath, LoginInterface, QStringLiteral("PrepareForSleep"));
        signal << Starting;
        FBus.send(signal);
    }

    void Ping() { FBus.send(QDBusMessage::createSignal(LoginPath, ProbeInterface, QStringLiteral("Ping"))); }

    // The arguments of each Inhibit call.
    std::vector<QStringList> Inhibits;
    // True when every copy of lock N's descriptor is closed.
    bool Released(std::size_t N) const {
        pollfd p{FReadEnds.at(N), POLLIN, 0};
        char byte = 0;
        return ::poll(&p, 1, 0) == 1 && ::read(FReadEnds.at(N), &byte, 1) == 0;
    }

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& Message, const QDBusConnection& Connection) override {
        if (Message.interface() != LoginInterface || Message.member() != QStringLiteral("Inhibit"))
            return false;
        QStringList arguments;
        for (const QVariant& argument : Message.arguments())
            arguments << argument.toString();
        Inhibits.push_back(arguments);
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) {
            Connection.send(Message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.Failed"),
                                                     QStringLiteral("no pipe")));
            return true;
        }
        FReadEnds.push_back(ends[0]);
        QDBusUnixFileDescriptor lock;
        lock.giveFileDescriptor(ends[1]);
        Connection.send(Message.createReply(QVariant::fromValue(lock)));
        return true;
    }

private:
    QDBusConnection FBus;
    std::vector<int> FReadEnds;
};

class LogindPowerMonitor : public ::testing::Test {
protected:
    TPrivateBus bus;
    std::unique_ptr<TLogindStandIn> logind;
    std::unique_ptr<TLogindPowerMonitor> power;
    TAccounts accounts;
    TMails mails;
    TListHost host{mails};
    TCheckCycle cycle{accounts, mails, host};
    std::unique_ptr<TCheckSchedule> schedule;
    int checkAlls = 0;

    void SetUp() override {
        if (!bus.Running()) {
            if (TPrivateBus::Required())
                FAIL() << "dbus-daemon is required in CI but could not be started";
            GTEST_SKIP() << "dbus-daemon is not installed";
        }
        cycle.UseFastChecks = false;
        logind = std::make_unique<TLogindStandIn>(bus);
        power = std::make_unique<TLogindPowerMonitor>(bus.Connect(QStringLiteral("quillet")));
        schedule = std::make_unique<TCheckSchedule>(accounts, cycle, host);
        schedule->ResumeDelayMs = 200;
        schedule->Watch(*power);
        // What the window does when a timed Check all is due.
        QObject::connect(schedule.get(), &TCheckSchedule::CheckAllDue, [this] {
            ++checkAlls;
            cycle.CheckAll(true);
        });
    }
    void TearDown() override {
        schedule.reset();
        power.reset();
        logind.reset();
    }
};

// A check holds the lock while it runs; the sleep drops its session without QUIT and counts
// nothing against the account; the resume gives one Check all on a new session, and a tick
// while it waits adds none.
TEST_F(LogindPowerMonitor, ResumeChecksOnceAndASessionOpenAcrossTheSleepIsDropped) {
    schedule->SetTimedChecks(true, 15);
    TScriptedPop3Server before, after;
    before.Send("+OK\r\n").Expect("USER u").Send("+OK\r\n").Expect("PASS p").Send("+OK\r\n");
    before.Expect("LIST").Send("+OK\r\n1 40\r\n.\r\n").Expect("TOP 1 50").Silence(30000);
    ScriptGoodCheck(after);
    ASSERT_TRUE(before.Listen() && after.Listen());
    TAccount& account = AddLocalAccount(accounts, "A", before.Port());

    // The sleep comes once the lock is held and the session waits for its TOP.
    bool listed = false, sleepSent = false, lockOpen = false;
    const auto sleepWhenReady = [&] {
        if (listed && power->HoldsLock() && !sleepSent) {
            sleepSent = true;
            lockOpen = !logind->Released(0);
            logind->PrepareForSleep(true);
        }
    };
    host.OnSystemLine = [&](const std::string& Line) {
        listed = listed || Line == " >A: 1 messages on server";
        sleepWhenReady();
    };
    QObject::connect(power.get(), &TLogindPowerMonitor::LockHeldChanged, sleepWhenReady);
    QSignalSpy sleeping(power.get(), &TPowerMonitor::SleepComing);
    cycle.CheckAll(true); // a tick's check
    ASSERT_TRUE(sleepSent);
    EXPECT_TRUE(lockOpen) << "the lock is held while the check runs";
    EXPECT_EQ(sleeping.count(), 1);
    EXPECT_TRUE(schedule->Sleeping());
    EXPECT_EQ(logind->Inhibits, (std::vector<QStringList>{{"sleep", "Quillet", "Checking mail", "delay"}}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return logind->Released(0); }, 10000)) << "the lock is let go";
    EXPECT_FALSE(power->HoldsLock());
    EXPECT_FALSE(account.Pop()->Connected());
    EXPECT_EQ(std::ranges::count(before.Received(), "QUIT"), 0) << "dropped without QUIT";
    EXPECT_EQ(account.FailuresInRow, 0);
    EXPECT_EQ(account.LastFailure, "");

    account.SetPort(after.Port());
    schedule->Clock = [] { return QDateTime::currentMSecsSinceEpoch() + 10 * 60000; }; // ten minutes asleep
    logind->PrepareForSleep(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return schedule->ResumePending(); }, 10000));
    EXPECT_FALSE(schedule->Sleeping());
    schedule->Tick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return after.Finished(); }, 10000));
    EXPECT_FALSE(schedule->ResumePending());
    EXPECT_EQ(checkAlls, 1);
    EXPECT_TRUE(after.Errors().empty());
    EXPECT_EQ(mails.Count(), 1);
    // The check may end before logind has answered; the answer's lock is let go then.
    EXPECT_TRUE(QTest::qWaitFor([&] { return logind->Inhibits.size() == 2 && logind->Released(1); }, 10000))
        << "the resume's check asks for a lock of its own, and lets it go";
}

// With timed checks off, a check takes no lock and neither sleep nor resume does anything.
TEST_F(LogindPowerMonitor, WithTimedChecksOffNothingHappens) {
    schedule->SetTimedChecks(false, 15);
    EXPECT_FALSE(power->Active());
    TScriptedPop3Server first, second;
    ScriptGoodCheck(first);
    ScriptGoodCheck(second, 41);
    ASSERT_TRUE(first.Listen() && second.Listen());
    TAccount& account = AddLocalAccount(accounts, "A", first.Port());
    QSignalSpy sleeping(power.get(), &TPowerMonitor::SleepComing);
    QSignalSpy resumed(power.get(), &TPowerMonitor::Resumed);
    TBusProbe probe;
    ASSERT_TRUE(
        QDBusConnection(QStringLiteral("quillet"))
            .connect(LoginService, LoginPath, ProbeInterface, QStringLiteral("Ping"), &probe, SLOT(Ping())));

    cycle.CheckAll(); // by hand
    EXPECT_TRUE(first.Finished());
    logind->PrepareForSleep(true);
    logind->PrepareForSleep(false);
    logind->Ping();
    ASSERT_TRUE(QTest::qWaitFor([&] { return probe.Pings == 1; }, 10000));
    EXPECT_EQ(sleeping.count(), 0);
    EXPECT_EQ(resumed.count(), 0);
    EXPECT_FALSE(schedule->ResumePending());
    EXPECT_EQ(checkAlls, 0);

    // The same with timed checks on, for a check that does ask for a lock. The program's
    // requests reach the stand-in in the order sent: once this one is answered, one that the
    // check by hand had sent would have been too.
    account.SetPort(second.Port());
    schedule->SetTimedChecks(true, 15);
    schedule->Clock = [] { return QDateTime::currentMSecsSinceEpoch() + 10 * 60000; }; // ten minutes asleep
    logind->PrepareForSleep(true);
    logind->PrepareForSleep(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.Finished(); }, 10000));
    EXPECT_EQ(sleeping.count(), 1);
    EXPECT_EQ(resumed.count(), 1);
    EXPECT_EQ(checkAlls, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !logind->Inhibits.empty() && logind->Released(0); }, 10000));
    EXPECT_EQ(logind->Inhibits.size(), 1u) << "the check by hand asked for no lock";
}

} // namespace
} // namespace quillet::test

#include "logind_power_monitor_test.moc"

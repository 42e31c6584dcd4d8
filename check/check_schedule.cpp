#include "check/check_schedule.h"

#include "check/account_health.h"
#include "check/check_cycle.h"
#include "check/check_host.h"
#include "check/network_monitor.h"
#include "check/power_monitor.h"
#include "model/account.h"
#include "util/text_convert.h"

#include <QCoreApplication>

#include <QDateTime>
#include <algorithm>

namespace quillet {

namespace {

std::string ClockTime(std::int64_t AtMs) {
    return QDateTime::fromMSecsSinceEpoch(AtMs).toString(QStringLiteral("HH:mm:ss")).toStdString();
}

} // namespace

std::int64_t BackOffMs(std::int32_t FailuresInRow, std::int64_t IntervalMs) {
    if (FailuresInRow <= 0 || IntervalMs <= 0)
        return 0;
    std::int64_t wait = std::min(IntervalMs, MaxBackOffMs);
    for (std::int32_t i = 1; i < FailuresInRow && wait < MaxBackOffMs; ++i)
        wait *= 2;
    return std::min(wait, MaxBackOffMs);
}

bool SleptThrough(std::int64_t SinceLastMs, std::int64_t IntervalMs) {
    return IntervalMs > 0 && SinceLastMs > 2 * IntervalMs;
}

std::string NetworkDownText() {
    return FromQString(QCoreApplication::translate("quillet::TCheckSchedule",
                                                   "The network is down: no check until it is back"));
}

TCheckSchedule::TCheckSchedule(TAccounts& Accounts, TCheckCycle& Cycle, TCheckHost& Host, QObject* Parent)
    : QObject(Parent), FAccounts(Accounts), FCycle(Cycle), FHost(Host) {
    FResumeTimer.setSingleShot(true);
    connect(&FResumeTimer, &QTimer::timeout, this, [this] {
        if (FTimedChecks && !FSleeping && !FNetworkDown)
            RunCheckAll();
    });
    FCycle.AutomaticCheckHeldBack = [this](const TAccount& Account) { return HeldBack(Account); };
}

TCheckSchedule::~TCheckSchedule() {
    FCycle.AutomaticCheckHeldBack = nullptr;
    FCycle.RunningChanged = nullptr;
    FCycle.NetworkKnownDown = false;
}

std::int64_t TCheckSchedule::Now() const {
    return Clock ? Clock() : QDateTime::currentMSecsSinceEpoch();
}

void TCheckSchedule::SetTimedChecks(bool On, int IntervalMinutes) {
    FTimedChecks = On && IntervalMinutes > 0;
    FIntervalMs = std::int64_t{std::max(IntervalMinutes, 0)} * 60000;
    FLastTickMs = Now(); // the timer starts again from here
    if (!FTimedChecks) {
        FResumeTimer.stop();
        FSleeping = false;
    }
    if (FPower)
        FPower->SetActive(FTimedChecks);
}

void TCheckSchedule::Watch(TPowerMonitor& Power) {
    FPower = &Power;
    connect(&Power, &TPowerMonitor::SleepComing, this, &TCheckSchedule::SleepComing);
    connect(&Power, &TPowerMonitor::Resumed, this, &TCheckSchedule::Resumed);
    FCycle.RunningChanged = [this](bool Running) {
        if (FPower)
            FPower->SetCheckRunning(Running);
    };
    Power.SetCheckRunning(FCycle.Running());
    Power.SetActive(FTimedChecks);
}

void TCheckSchedule::Watch(TNetworkMonitor& Network) {
    connect(&Network, &TNetworkMonitor::WentDown, this, &TCheckSchedule::NetworkWentDown);
    connect(&Network, &TNetworkMonitor::CameBack, this, &TCheckSchedule::NetworkCameBack);
    if (Network.KnownDown())
        NetworkWentDown();
}

std::string TCheckSchedule::HeldBack(const TAccount& Account) const {
    const std::int64_t now = Now();
    // Any check, good or failed, and any log-in counts: a clock set back holds nothing up.
    const std::int64_t lastContact =
        std::max({Account.LastLoginMs, Account.LastGoodCheckMs, Account.LastFailureMs});
    if (lastContact > 0 && now >= lastContact && now - lastContact < MinLoginGapMs)
        return FromQString(
            QCoreApplication::translate("quillet::TCheckSchedule",
                                        "checked less than a minute ago; next automatic check after %1")
                .arg(ToQString(ClockTime(lastContact + MinLoginGapMs))));
    const std::int64_t wait = BackOffMs(Account.FailuresInRow, FIntervalMs);
    if (wait == 0 || Account.LastFailureMs <= 0 || now < Account.LastFailureMs)
        return {};
    // Ticks come only every interval: one due within half an interval counts as due, so that a
    // timer that fires a little early does not put the account off by a whole interval.
    const std::int64_t due = Account.LastFailureMs + wait;
    if (now + FIntervalMs / 2 >= due)
        return {};
    return FromQString(QCoreApplication::translate("quillet::TCheckSchedule",
                                                   "failed %1 times in a row; next automatic check at %2")
                           .arg(QString::number(Account.FailuresInRow), ToQString(HealthTime(due, now))));
}

void TCheckSchedule::Tick() {
    const std::int64_t now = Now();
    const std::int64_t since = FLastTickMs > 0 ? now - FLastTickMs : 0;
    FLastTickMs = now;
    if (!FTimedChecks)
        return;
    if (FSleeping) {
        // Ticks do not come while the machine sleeps: long after the sleep began, this one
        // says that it woke up without saying so.
        if (now - FSleepAtMs >= MinLoginGapMs)
            Resumed();
        return;
    }
    if (ResumePending() || FCycle.Busy() || FCycle.AnyConnected())
        return; // the resume's check comes soon, or a check is running
    if (FNetworkDown) {
        FHost.SetStatusText(NetworkDownText());
        return;
    }
    if (SleptThrough(since, FIntervalMs)) {
        StartResume(FromQString(
            tr("More time passed than the check interval (the computer slept?): checking in a moment")));
        return;
    }
    RunCheckAll();
}

void TCheckSchedule::SleepComing() {
    if (!FTimedChecks)
        return;
    FSleeping = true;
    FSleepAtMs = Now();
    FResumeTimer.stop();
    FHost.AppendSystemLine(FromQString(tr("The computer is going to sleep: checks stop until it wakes up")));
    // An abort drops every session without QUIT and counts nothing against the accounts.
    if (FCycle.Busy() || FCycle.Running())
        FCycle.Abort();
    else
        FAccounts.DropAllSessions();
}

void TCheckSchedule::Resumed() {
    FSleeping = false;
    FLastTickMs = Now();
    StartResume(FromQString(tr("The computer woke up: checking in a moment")));
}

void TCheckSchedule::NetworkWentDown() {
    FNetworkDown = true;
    FCycle.NetworkKnownDown = true;
    FResumeTimer.stop(); // the network's return starts it again
    FHost.AppendSystemLine(NetworkDownText());
    FHost.SetStatusText(NetworkDownText());
}

void TCheckSchedule::NetworkCameBack() {
    FNetworkDown = false;
    FCycle.NetworkKnownDown = false;
    if (FSleeping)
        return; // the resume starts the check
    if (!FTimedChecks) {
        const std::string back = FromQString(tr("The network is back"));
        FHost.AppendSystemLine(back);
        FHost.SetStatusText(back);
        return;
    }
    StartResume(FromQString(tr("The network is back: checking in a moment")));
}

void TCheckSchedule::StartResume(const std::string& Why) {
    if (!FTimedChecks || FNetworkDown)
        return;
    FHost.AppendSystemLine(Why);
    FHost.SetStatusText(Why);
    if (!FResumeTimer.isActive())
        FResumeTimer.start(std::max(ResumeDelayMs, 0));
}

void TCheckSchedule::RunCheckAll() {
    Q_EMIT CheckAllDue();
    FLastTickMs = Now(); // the window starts its timer again once the check has ended
}

} // namespace quillet

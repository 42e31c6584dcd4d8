// When automatic checks run and which accounts they may contact. The window's check timer ticks
// into Tick; the schedule answers with CheckAllDue when a timed Check all should run now, and
// tells the check cycle which accounts that check leaves out:
// - an account that fails again and again is tried at a growing interval (doubling from the
//   check interval, at most an hour); a manual check always runs, and a good one ends it;
// - no account is logged in to by an automatic check more than once a minute;
// - a tick that finds far more time passed than the interval (a sleep nobody announced) is
//   taken as a resume;
// - before a sleep the running check drops its sessions and ticks stop; after it, and when the
//   network comes back, one Check all runs a few seconds later;
// - while the network is known to be down, ticks do not connect, the status bar says why, and
//   failed checks leave the accounts' health as it was.
// Sleep, resume and the network are told by the monitors that the schedule watches.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <string>

namespace quillet {

class TAccount;
class TAccounts;
class TCheckCycle;
class TCheckHost;
class TNetworkMonitor;
class TPowerMonitor;

// The longest wait of the back-off, and the shortest gap between two automatic log-ins.
inline constexpr std::int64_t MaxBackOffMs = 60 * 60 * 1000;
inline constexpr std::int64_t MinLoginGapMs = 60 * 1000;

// How long after the last of FailuresInRow failed checks an automatic check tries the account
// again: nothing without failures, then the check interval, doubled with every further failure,
// at most MaxBackOffMs.
std::int64_t BackOffMs(std::int32_t FailuresInRow, std::int64_t IntervalMs);

// Whether a tick that comes SinceLastMs after the last one (or after the last timed check) shows
// that the machine slept meanwhile: more than twice the interval. A clock set back is no sleep.
bool SleptThrough(std::int64_t SinceLastMs, std::int64_t IntervalMs);

// The status bar's text while the network is known to be down.
std::string NetworkDownText();

class TCheckSchedule : public QObject {
    Q_OBJECT
public:
    // Installs its hooks on Cycle, and takes them off again when destroyed: the schedule must
    // not outlive Cycle (make it a member declared after the cycle, not a child object).
    TCheckSchedule(TAccounts& Accounts, TCheckCycle& Cycle, TCheckHost& Host, QObject* Parent = nullptr);
    ~TCheckSchedule() override;
    TCheckSchedule(const TCheckSchedule&) = delete;
    TCheckSchedule& operator=(const TCheckSchedule&) = delete;

    // Timed checks on, every IntervalMinutes; off (or 0 minutes) there is no automatic check at
    // all (none after a resume either) and the power monitor takes no part.
    void SetTimedChecks(bool On, int IntervalMinutes);
    bool TimedChecks() const { return FTimedChecks; }
    std::int64_t IntervalMs() const { return FIntervalMs; }

    // The wait before the one Check all after a resume or after the network came back.
    int ResumeDelayMs = 5000;
    // The wall clock in milliseconds since the epoch; tests set their own.
    std::function<std::int64_t()> Clock;

    // Follows Power's sleep and resume, lets it hold its lock while a check runs, and keeps it
    // active only while timed checks are on.
    void Watch(TPowerMonitor& Power);
    // Follows Network's state, starting with the present one.
    void Watch(TNetworkMonitor& Network);

    bool Sleeping() const { return FSleeping; }
    bool NetworkDown() const { return FNetworkDown; }
    // True while the one Check all after a resume is waiting to run.
    bool ResumePending() const { return FResumeTimer.isActive(); }

    // Why an automatic check leaves Account out now (a text for its status), or empty when it
    // may contact the account. The cycle asks this before each account of an automatic check.
    std::string HeldBack(const TAccount& Account) const;

public Q_SLOTS:
    // The check timer fired.
    void Tick();
    // The machine is about to sleep: the running check is aborted (its sessions dropped without
    // QUIT, nothing counted against the accounts) and ticks are ignored until it wakes.
    void SleepComing();
    // The machine woke up: one Check all after ResumeDelayMs.
    void Resumed();
    void NetworkWentDown();
    // The network is back: one Check all after ResumeDelayMs.
    void NetworkCameBack();

Q_SIGNALS:
    // A timed Check all is to run now: the window runs the cycle's CheckAll(true) with its check
    // timer stopped and starts the timer again afterwards, as it does on a tick.
    void CheckAllDue();

private:
    std::int64_t Now() const;
    void StartResume(const std::string& Why);
    void RunCheckAll();

    TAccounts& FAccounts;
    TCheckCycle& FCycle;
    TCheckHost& FHost;
    QPointer<TPowerMonitor> FPower;
    QTimer FResumeTimer;
    bool FTimedChecks = false;
    std::int64_t FIntervalMs = 0;
    bool FSleeping = false;
    std::int64_t FSleepAtMs = 0;
    bool FNetworkDown = false;
    std::int64_t FLastTickMs = 0; // the last tick or timed check; 0: none yet
};

} // namespace quillet

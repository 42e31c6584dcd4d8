// Sleep and resume of the machine as the check schedule needs them: a signal before the machine
// sleeps (open sessions are dropped, no tick connects) and one after it woke (one check a few
// seconds later). It works only while timed checks are on. While a check runs, a platform that
// can make the sleep wait for it (logind on Linux: TLogindPowerMonitor) holds a lock that does.
#pragma once

#include <QObject>
#include <cstdint>

namespace quillet {

class TPowerMonitor : public QObject {
    Q_OBJECT
public:
    explicit TPowerMonitor(QObject* Parent = nullptr);

    // On only while timed checks are on: off, the monitor holds no lock and signals nothing.
    void SetActive(bool Active);
    bool Active() const { return FActive; }

    // A check started (true) or ended (false).
    void SetCheckRunning(bool Running);
    bool CheckRunning() const { return FCheckRunning; }

    // Windows power broadcast events (WM_POWERBROADCAST's wParam), handed over by the main
    // window's native event filter: suspend, and the two resume events (a resume that the user
    // started brings both; the schedule still checks once).
    static constexpr std::uint32_t PowerSuspend = 0x4;          // PBT_APMSUSPEND
    static constexpr std::uint32_t PowerResumeSuspend = 0x7;    // PBT_APMRESUMESUSPEND
    static constexpr std::uint32_t PowerResumeAutomatic = 0x12; // PBT_APMRESUMEAUTOMATIC
    // On Windows the window's native event filter passes every WM_POWERBROADCAST here; other
    // events are ignored.
    void PowerBroadcast(std::uint32_t Event);

Q_SIGNALS:
    // The machine is about to sleep: drop open sessions (without QUIT) and let no tick connect.
    void SleepComing();
    // The machine woke up.
    void Resumed();

protected:
    // Signals SleepComing (Starting) or Resumed, when active; after SleepComing the lock is let go.
    void SleepChanging(bool Starting);
    // Whether a lock that makes the sleep wait should be held now: while active and a check runs.
    bool LockWanted() const { return FActive && FCheckRunning && !FDroppedForSleep; }
    // Called whenever LockWanted() may have changed; a platform without such a lock does nothing.
    virtual void UpdateLock() {}

private:
    bool FActive = false;
    bool FCheckRunning = false;
    // The running check dropped its sessions for a sleep: it holds the sleep up no longer.
    bool FDroppedForSleep = false;
};

} // namespace quillet

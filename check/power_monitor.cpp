#include "check/power_monitor.h"

namespace quillet {

TPowerMonitor::TPowerMonitor(QObject* Parent) : QObject(Parent) {}

void TPowerMonitor::SetActive(bool Active) {
    FActive = Active;
    UpdateLock();
}

void TPowerMonitor::SetCheckRunning(bool Running) {
    FCheckRunning = Running;
    FDroppedForSleep = false;
    UpdateLock();
}

void TPowerMonitor::PowerBroadcast(std::uint32_t Event) {
    if (Event == PowerSuspend)
        SleepChanging(true);
    else if (Event == PowerResumeSuspend || Event == PowerResumeAutomatic)
        SleepChanging(false);
}

void TPowerMonitor::SleepChanging(bool Starting) {
    if (!FActive)
        return;
    if (!Starting) {
        Q_EMIT Resumed();
        return;
    }
    Q_EMIT SleepComing();
    // The sessions are dropped: nothing is left for the sleep to wait for.
    FDroppedForSleep = FCheckRunning;
    UpdateLock();
}

} // namespace quillet

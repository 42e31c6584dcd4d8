#include "app/auto_check.h"

#include "app/pictures.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>

namespace quillet {

TAutoCheck::TAutoCheck(QTimer& Timer) : FTimer(Timer) {
    FTimer.stop();
}

void TAutoCheck::SetAutoCheckTime(int Minutes) {
    FTimer.setInterval(std::clamp(Minutes, 0, MaxMinutes) * 60000);
    UpdateTimer();
}

int TAutoCheck::AutoCheckTime() const {
    return FTimer.interval() / 60000;
}

void TAutoCheck::SetCheckingActive(bool Value) {
    FCheckingActive = Value;
    UpdateTimer();
}

bool TAutoCheck::TimerRuns() const {
    return FCheckingActive && FTimer.interval() > 0;
}

QString TAutoCheck::Caption() const {
    return FCheckingActive ? QCoreApplication::translate("TAutoCheck", "Auto checking is ON")
                           : QCoreApplication::translate("TAutoCheck", "Auto checking is OFF");
}

int TAutoCheck::Picture() const {
    return FCheckingActive ? bpAutoCheckOn : bpAutoCheckOff;
}

void TAutoCheck::UpdateTimer() {
    if (!TimerRuns())
        FTimer.stop();
    else if (!FTimer.isActive())
        FTimer.start();
}

} // namespace quillet

// On Windows the system announces sleep and resume to the program's windows with
// WM_POWERBROADCAST; this filter hands each one to the power monitor and lets it go on.
#pragma once

#include <QAbstractNativeEventFilter>

namespace quillet {

class TPowerMonitor;

class TPowerBroadcastFilter : public QAbstractNativeEventFilter {
public:
    explicit TPowerBroadcastFilter(TPowerMonitor& Power) : FPower(Power) {}
    bool nativeEventFilter(const QByteArray& EventType, void* Message, qintptr* Result) override;

private:
    TPowerMonitor& FPower;
};

} // namespace quillet

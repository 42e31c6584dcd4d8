#include "app/power_broadcast_filter.h"

#include "check/power_monitor.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace quillet {

bool TPowerBroadcastFilter::nativeEventFilter(const QByteArray& EventType, void* Message, qintptr* Result) {
    Q_UNUSED(Result);
#ifdef Q_OS_WIN
    if (EventType == "windows_generic_MSG") {
        const MSG* msg = static_cast<const MSG*>(Message);
        if (msg->message == WM_POWERBROADCAST)
            FPower.PowerBroadcast(static_cast<std::uint32_t>(msg->wParam));
    }
#else
    Q_UNUSED(EventType);
    Q_UNUSED(Message);
#endif
    return false; // the message goes on to whoever else wants it
}

} // namespace quillet

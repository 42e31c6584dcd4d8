#include "check/network_monitor.h"

namespace quillet {

bool NetworkKnownDown(QNetworkInformation::Reachability Reachability) {
    return Reachability == QNetworkInformation::Reachability::Disconnected;
}

TNetworkMonitor::TNetworkMonitor(TSource Source, QObject* Parent) : QObject(Parent) {
    if (Source != TSource::System)
        return;
    if (!QNetworkInformation::instance() && !QNetworkInformation::loadDefaultBackend())
        return; // no backend on this system: checks go on as they always did
    const QNetworkInformation* information = QNetworkInformation::instance();
    if (!information)
        return;
    FHasBackend = true;
    FKnownDown = NetworkKnownDown(information->reachability());
    connect(information, &QNetworkInformation::reachabilityChanged, this, &TNetworkMonitor::SetReachability);
}

void TNetworkMonitor::SetReachability(QNetworkInformation::Reachability Reachability) {
    const bool down = NetworkKnownDown(Reachability);
    if (down == FKnownDown)
        return;
    FKnownDown = down;
    if (down)
        Q_EMIT WentDown();
    else
        Q_EMIT CameBack();
}

} // namespace quillet

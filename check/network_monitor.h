// Whether the network is known to be down, from the system's network information (Qt's default
// reachability backend). Only "disconnected" counts as down: an unknown state, or a network
// that reaches only the local site, lets checks go on, since a mail server may be near. Without
// a backend the network is never known to be down, and checks go on as they always did.
#pragma once

#include <QNetworkInformation>
#include <QObject>

namespace quillet {

// Whether a reachability that the system reports means the network is known to be down.
bool NetworkKnownDown(QNetworkInformation::Reachability Reachability);

class TNetworkMonitor : public QObject {
    Q_OBJECT
public:
    // System: follows the system's reachability (the default backend, loaded on first use).
    // None: follows only SetReachability (tests drive the network through it).
    enum class TSource { System, None };

    explicit TNetworkMonitor(TSource Source = TSource::System, QObject* Parent = nullptr);

    // True when the system's network information is followed.
    bool HasBackend() const { return FHasBackend; }
    bool KnownDown() const { return FKnownDown; }

    // A new reachability: signals when the network went down or came back.
    void SetReachability(QNetworkInformation::Reachability Reachability);

Q_SIGNALS:
    void WentDown();
    void CameBack();

private:
    bool FHasBackend = false;
    bool FKnownDown = false;
};

} // namespace quillet

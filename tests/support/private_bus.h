// A message bus of the test's own (a private dbus-daemon from a minimal configuration): nothing
// else owns names on it, and nothing is started on it. Tests put stand-in services on it.
#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <vector>

namespace quillet::test {

class TPrivateBus {
public:
    TPrivateBus();
    ~TPrivateBus();
    TPrivateBus(const TPrivateBus&) = delete;
    TPrivateBus& operator=(const TPrivateBus&) = delete;

    // In CI (CI=true) a bus that cannot be started is a failure, not a reason to skip.
    static bool Required();

    bool Running() const { return !FAddress.isEmpty(); }
    // Where clients reach the bus (a DBUS_SESSION_BUS_ADDRESS value).
    const QString& Address() const { return FAddress; }
    // A new connection to the bus under Name; closed with the bus.
    QDBusConnection Connect(const QString& Name);

private:
    QTemporaryDir FDir;
    QProcess FDaemon;
    QString FAddress;
    std::vector<QString> FNames;
};

} // namespace quillet::test

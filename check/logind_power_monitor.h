// Sleep and resume on Linux through logind on the system bus: its PrepareForSleep signal, and a
// delay lock (Inhibit "sleep", mode "delay") held while a check runs so that the sleep waits
// until the check has ended or dropped its sessions. The lock is let go as soon as the check
// ends. Without logind (no system bus, no service) nothing is signalled and no lock is held.
#pragma once

#include "check/power_monitor.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>

namespace quillet {

class TLogindPowerMonitor : public TPowerMonitor {
    Q_OBJECT
public:
    static constexpr const char* Service = "org.freedesktop.login1";
    static constexpr const char* Path = "/org/freedesktop/login1";
    static constexpr const char* Interface = "org.freedesktop.login1.Manager";

    // Bus: the system bus in the program, a private one in tests.
    explicit TLogindPowerMonitor(const QDBusConnection& Bus, QObject* Parent = nullptr);
    ~TLogindPowerMonitor() override;

    // True while the delay lock is held.
    bool HoldsLock() const { return FLock.isValid(); }

Q_SIGNALS:
    // The delay lock was taken (true) or let go (false).
    void LockHeldChanged(bool Held);

protected:
    void UpdateLock() override;

private Q_SLOTS:
    void PrepareForSleep(bool Starting);

private:
    void AskForLock();
    void LockAnswered(const QDBusUnixFileDescriptor& Lock, int Request);

    QDBusConnection FBus;
    QDBusUnixFileDescriptor FLock;
    // Numbers the lock requests: an answer to one that is no longer wanted is let go at once.
    int FRequest = 0;
    bool FAsking = false;
};

} // namespace quillet

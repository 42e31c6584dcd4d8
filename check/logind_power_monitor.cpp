#include "check/logind_power_monitor.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace quillet {

TLogindPowerMonitor::TLogindPowerMonitor(const QDBusConnection& Bus, QObject* Parent)
    : TPowerMonitor(Parent), FBus(Bus) {
    if (FBus.isConnected())
        FBus.connect(QLatin1String(Service), QLatin1String(Path), QLatin1String(Interface),
                     QStringLiteral("PrepareForSleep"), this, SLOT(PrepareForSleep(bool)));
}

TLogindPowerMonitor::~TLogindPowerMonitor() {
    if (FBus.isConnected())
        FBus.disconnect(QLatin1String(Service), QLatin1String(Path), QLatin1String(Interface),
                        QStringLiteral("PrepareForSleep"), this, SLOT(PrepareForSleep(bool)));
}

void TLogindPowerMonitor::PrepareForSleep(bool Starting) {
    SleepChanging(Starting);
}

void TLogindPowerMonitor::UpdateLock() {
    if (LockWanted()) {
        if (!FLock.isValid() && !FAsking)
            AskForLock();
        return;
    }
    ++FRequest; // an answer still on its way is let go when it comes
    FAsking = false;
    if (FLock.isValid()) {
        // Closing the descriptor releases the lock.
        FLock = QDBusUnixFileDescriptor();
        Q_EMIT LockHeldChanged(false);
    }
}

void TLogindPowerMonitor::AskForLock() {
    if (!FBus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(Service), QLatin1String(Path),
                                                       QLatin1String(Interface), QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep") << QStringLiteral("Quillet") << QStringLiteral("Checking mail")
         << QStringLiteral("delay");
    FAsking = true;
    const int request = ++FRequest;
    // Asked without waiting: the window goes on while logind answers.
    auto* watcher = new QDBusPendingCallWatcher(FBus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, request](QDBusPendingCallWatcher* Call) {
                QDBusUnixFileDescriptor lock;
                {
                    const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *Call;
                    if (!reply.isError())
                        lock = reply.value();
                }
                Call->deleteLater();
                LockAnswered(lock, request);
            });
}

void TLogindPowerMonitor::LockAnswered(const QDBusUnixFileDescriptor& Lock, int Request) {
    if (Request != FRequest)
        return; // the check ended meanwhile: Lock closes as it goes out of scope
    FAsking = false;
    if (!Lock.isValid())
        return; // refused, or no logind: the check runs without holding the sleep up
    FLock = Lock;
    Q_EMIT LockHeldChanged(true);
}

} // namespace quillet

// A desktop notification service (org.freedesktop.Notifications) for tests, on a private bus:
// it records every notification it is asked to show, answers as told, and reports the user's
// clicks and closes as a desktop would. It runs on a thread of its own, as another program
// would, so it answers whatever the test's thread is doing.
#pragma once

#include "tests/support/private_bus.h"

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QThread>
#include <atomic>
#include <mutex>
#include <vector>

class QDBusMessage;

namespace quillet::test {

class TRecordingNotifications {
public:
    struct TNotification {
        uint ReplacesId;
        QString Summary;
        QString Body;
        QStringList Actions; // key, label, key, label, ...
        uint Id;             // the id it was answered with (0 when refused)
    };

    TRecordingNotifications(TPrivateBus& Bus, const QString& Name, QStringList Capabilities);
    ~TRecordingNotifications();
    TRecordingNotifications(const TRecordingNotifications&) = delete;
    TRecordingNotifications& operator=(const TRecordingNotifications&) = delete;

    // The service's report that the user chose Action ("default": a click) on notification Id.
    void Click(uint Id, const QString& Action);
    // The service's report that notification Id was closed (2: by the user).
    void Close(uint Id, uint Reason = 2);

    std::atomic<int> ReplyDelay = 0; // milliseconds before Notify is answered
    std::atomic<bool> Refuse = false;
    std::atomic<int> CapabilityQuestions = 0;
    std::atomic<int> Answered = 0;
    std::vector<TNotification> Notifications() const;

private:
    class TObject;
    bool Handle(const QDBusMessage& Message, const QDBusConnection& Connection, QObject* Context);

    QDBusConnection FBus;
    const QStringList FCapabilities;
    uint FNextId = 41;
    mutable std::mutex FMutex;
    std::vector<TNotification> FNotifications;
    QThread FThread;
    TObject* FObject;
};

// Tells when a connection has been told that a notification closed: whatever listens on the
// same connection has been told by then too.
class TNotificationClosedProbe : public QObject {
    Q_OBJECT
public:
    explicit TNotificationClosedProbe(QDBusConnection Bus);
    std::vector<uint> Ids;

public Q_SLOTS:
    void Closed(uint Id, uint Reason);
};

} // namespace quillet::test

#include "tests/support/recording_notifications.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QTimer>

namespace quillet::test {

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");

} // namespace

class TRecordingNotifications::TObject : public QDBusVirtualObject {
public:
    explicit TObject(TRecordingNotifications& Owner) : FOwner(Owner) {}
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& Message, const QDBusConnection& Connection) override {
        return FOwner.Handle(Message, Connection, this);
    }

private:
    TRecordingNotifications& FOwner;
};

TRecordingNotifications::TRecordingNotifications(TPrivateBus& Bus, const QString& Name,
                                                 QStringList Capabilities)
    : FBus(Bus.Connect(Name)), FCapabilities(std::move(Capabilities)), FObject(new TObject(*this)) {
    FThread.start();
    FObject->moveToThread(&FThread);
    QMetaObject::invokeMethod(
        FObject,
        [this] {
            FBus.registerVirtualObject(Path, FObject);
            FBus.interface()->registerService(Service);
        },
        Qt::BlockingQueuedConnection);
}

TRecordingNotifications::~TRecordingNotifications() {
    QMetaObject::invokeMethod(
        FObject,
        [this] {
            FBus.interface()->unregisterService(Service);
            FBus.unregisterObject(Path);
            delete FObject;
        },
        Qt::BlockingQueuedConnection);
    FThread.quit();
    FThread.wait();
}

void TRecordingNotifications::Click(uint Id, const QString& Action) {
    QDBusMessage signal = QDBusMessage::createSignal(Path, Service, QStringLiteral("ActionInvoked"));
    signal << Id << Action;
    FBus.send(signal);
}

void TRecordingNotifications::Close(uint Id, uint Reason) {
    QDBusMessage signal = QDBusMessage::createSignal(Path, Service, QStringLiteral("NotificationClosed"));
    signal << Id << Reason;
    FBus.send(signal);
}

std::vector<TRecordingNotifications::TNotification> TRecordingNotifications::Notifications() const {
    const std::lock_guard lock(FMutex);
    return FNotifications;
}

bool TRecordingNotifications::Handle(const QDBusMessage& Message, const QDBusConnection& Connection,
                                     QObject* Context) {
    if (Message.member() == QStringLiteral("GetCapabilities")) {
        ++CapabilityQuestions;
        Connection.send(Message.createReply(QVariant(FCapabilities)));
        return true;
    }
    if (Message.member() != QStringLiteral("Notify"))
        return false;
    const QList<QVariant> args = Message.arguments();
    // A notification that replaces one of ours keeps its id, as a desktop does.
    const uint replaces = args.value(1).toUInt();
    const uint id = Refuse ? 0 : replaces != 0 ? replaces : FNextId++;
    {
        const std::lock_guard lock(FMutex);
        FNotifications.push_back(
            {replaces, args.value(3).toString(), args.value(4).toString(), args.value(5).toStringList(), id});
    }
    const QDBusMessage reply =
        Refuse ? Message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.Failed"),
                                          QStringLiteral("refused"))
               : Message.createReply(QVariant::fromValue(id));
    QTimer::singleShot(ReplyDelay.load(), Context, [this, reply] {
        FBus.send(reply);
        ++Answered;
    });
    return true;
}

TNotificationClosedProbe::TNotificationClosedProbe(QDBusConnection Bus) {
    Bus.connect(Service, Path, Service, QStringLiteral("NotificationClosed"), this, SLOT(Closed(uint, uint)));
}

void TNotificationClosedProbe::Closed(uint Id, uint /*Reason*/) {
    Ids.push_back(Id);
}

} // namespace quillet::test

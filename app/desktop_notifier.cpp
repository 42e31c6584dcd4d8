#include "app/desktop_notifier.h"

#include "app/systray.h"

#ifndef Q_OS_WIN
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QVariantMap>
#endif

namespace quillet {

namespace {

#ifndef Q_OS_WIN
const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
#endif

} // namespace

TDesktopNotifier::TDesktopNotifier(TSystray& Tray, QObject* Parent) : QObject(Parent), FTray(Tray) {
#ifndef Q_OS_WIN
    QDBusConnection::sessionBus().connect(Service, Path, Service, QStringLiteral("ActionInvoked"), this,
                                          SLOT(ActionInvoked(uint, QString)));
#endif
}

void TDesktopNotifier::Show(const QString& Title, const QString& Body) {
    if (ShowHook) {
        ShowHook(Title, Body);
        return;
    }
    if (!ShowOnBus(Title, Body))
        FTray.ShowMessage(Title, Body);
}

bool TDesktopNotifier::ShowOnBus(const QString& Title, const QString& Body) {
#ifdef Q_OS_WIN
    Q_UNUSED(Title);
    Q_UNUSED(Body);
    return false;
#else
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(Service))
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Service, QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("quillet"));
    hints.insert(QStringLiteral("category"), QStringLiteral("email.arrived"));
    call << QStringLiteral("Quillet") << FLastId << QStringLiteral("mail-unread") << Title << Body
         << QStringList{QStringLiteral("default"), QStringLiteral("Show")} << hints << int{-1};
    const QDBusReply<uint> reply = bus.call(call, QDBus::Block, 2000);
    if (!reply.isValid())
        return false;
    FLastId = reply.value();
    return true;
#endif
}

void TDesktopNotifier::ActionInvoked(uint Id, const QString& Action) {
    if (Id == FLastId && Action == QStringLiteral("default"))
        Q_EMIT Activated();
}

} // namespace quillet

// Shows a notification on the desktop. On Linux it goes to the desktop's notification service
// (org.freedesktop.Notifications over D-Bus) with a default action, so that a click on it
// restores the window; without that service (and on Windows) it is the tray icon's message.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace quillet {

class TSystray;

class TDesktopNotifier : public QObject {
    Q_OBJECT
public:
    explicit TDesktopNotifier(TSystray& Tray, QObject* Parent = nullptr);

    void Show(const QString& Title, const QString& Body);
    // Tests take the notification here instead of the desktop.
    std::function<void(const QString& Title, const QString& Body)> ShowHook;

Q_SIGNALS:
    // The user clicked the notification (where the desktop reports it).
    void Activated();

private Q_SLOTS:
    void ActionInvoked(uint Id, const QString& Action);

private:
    bool ShowOnBus(const QString& Title, const QString& Body);
    TSystray& FTray;
    uint FLastId = 0;
};

} // namespace quillet

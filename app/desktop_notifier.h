// Shows a notification on the desktop. On Linux it goes to the desktop's notification service
// (org.freedesktop.Notifications over D-Bus) with a default action, so that a click on it
// restores the window; without that service (and on Windows) it is the tray icon's message.
// Nothing here waits for the service: its answers arrive while the window goes on working.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#ifndef Q_OS_WIN
#include <QDBusConnection>
#endif

namespace quillet {

class TSystray;

// The body as it is handed to the notification service. A service that reads markup in the body
// gets &, < and > as &amp;, &lt; and &gt;, so that mail texts are shown as written and never as
// formatting or links; to any other service the text goes as it is.
QString NotificationBodyText(const QString& Text, bool Markup);

class TDesktopNotifier : public QObject {
    Q_OBJECT
public:
    // Notifications go over the session bus.
    explicit TDesktopNotifier(TSystray& Tray, QObject* Parent = nullptr);
#ifndef Q_OS_WIN
    // Notifications go over Bus (tests use a bus of their own).
    TDesktopNotifier(TSystray& Tray, const QDBusConnection& Bus, QObject* Parent = nullptr);
#endif

    // Title and Body are plain text (mail senders and subjects among them). Returns at once; when
    // the desktop's service turns the notification down, the tray icon shows it instead.
    void Show(const QString& Title, const QString& Body);
    // Tests take the notification here instead of the desktop.
    std::function<void(const QString& Title, const QString& Body)> ShowHook;
    // Tests take the tray icon's message here instead of the tray.
    std::function<void(const QString& Title, const QString& Body)> TrayHook;

Q_SIGNALS:
    // The user clicked the notification (where the desktop reports it).
    void Activated();

private Q_SLOTS:
    void ActionInvoked(uint Id, const QString& Action);

private:
    struct TNotice {
        QString Title;
        QString Body;
    };
    void ShowInTray(const TNotice& Notice);
#ifndef Q_OS_WIN
    void ServiceOwnerChanged(const QString& NewOwner);
    void AskCapabilities();
    void CapabilitiesAnswered(quint64 AskedAtChange, bool Answered, bool BodyMarkup);
    void Notify(const TNotice& Notice);

    QDBusConnection FBus;
    // Whether the service is on the bus: unknown until the bus has told.
    std::optional<bool> FServicePresent;
    // Counts the service's changes of owner, so that an answer from a former owner is not kept.
    quint64 FOwnerChanges = 0;
    // Whether the service's current owner reads markup in the body: unknown until it has answered.
    std::optional<bool> FBodyMarkup;
    bool FAskingCapabilities = false;
    // Notifications that wait for the service's capabilities.
    std::vector<TNotice> FWaiting;
#endif
    TSystray& FTray;
    uint FLastId = 0;
};

} // namespace quillet

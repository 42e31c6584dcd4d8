// Shows a notification on the desktop. On Linux it goes to the desktop's notification service
// (org.freedesktop.Notifications over D-Bus) with a default action, so that a click on it
// restores the window, and the other actions the caller offers, where the service shows actions;
// a later notification replaces the one shown. Without that service (and on Windows) it is the
// tray icon's message. Nothing here waits for the service: its answers arrive while the window
// goes on working.
#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
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

// An action a notification offers besides its default one: the key the service reports back and
// the label it shows.
struct TNoticeAction {
    QString Key;
    QString Label;
};

class TDesktopNotifier : public QObject {
    Q_OBJECT
public:
    // Notifications go over the session bus.
    explicit TDesktopNotifier(TSystray& Tray, QObject* Parent = nullptr);
#ifndef Q_OS_WIN
    // Notifications go over Bus (tests use a bus of their own).
    TDesktopNotifier(TSystray& Tray, const QDBusConnection& Bus, QObject* Parent = nullptr);
#endif

    // Title and Body are plain text (mail senders and subjects among them). Actions are offered
    // where the service shows actions; Tag comes back with the user's action. Returns at once;
    // when the desktop's service turns the notification down, the tray icon shows it instead.
    void Show(const QString& Title, const QString& Body, const std::vector<TNoticeAction>& Actions = {},
              const QVariant& Tag = {});
    // Tests take the notification here instead of the desktop.
    std::function<void(const QString& Title, const QString& Body)> ShowHook;
    // Tests take the tray icon's message here instead of the tray.
    std::function<void(const QString& Title, const QString& Body)> TrayHook;

Q_SIGNALS:
    // The user clicked the notification shown now, which Tag was given for (where the desktop
    // reports it).
    void Activated(const QVariant& Tag);
    // The user chose the action Key on the notification shown now.
    void ActionChosen(const QString& Key, const QVariant& Tag);

private Q_SLOTS:
    void ActionInvoked(uint Id, const QString& Action);
    void NotificationClosed(uint Id, uint Reason);

private:
    struct TNotice {
        QString Title;
        QString Body;
        std::vector<TNoticeAction> Actions;
        QVariant Tag;
    };
    void ShowInTray(const TNotice& Notice);
#ifndef Q_OS_WIN
    void ServiceOwnerChanged(const QString& NewOwner);
    void AskCapabilities();
    void CapabilitiesAnswered(quint64 AskedAtChange, bool Answered, const QStringList& Capabilities);
    void Notify(const TNotice& Notice);

    QDBusConnection FBus;
    // Whether the service is on the bus: unknown until the bus has told.
    std::optional<bool> FServicePresent;
    // Counts the service's changes of owner, so that an answer from a former owner is not kept.
    quint64 FOwnerChanges = 0;
    // Whether the service's current owner reads markup in the body: unknown until it has answered.
    std::optional<bool> FBodyMarkup;
    // Whether it shows actions (known once FBodyMarkup is).
    bool FOffersActions = false;
    bool FAskingCapabilities = false;
    // Notifications that wait for the service's capabilities.
    std::vector<TNotice> FWaiting;
#endif
    TSystray& FTray;
    // The notification of ours that the service shows now (0: none), and what it offers. Its
    // actions are told with its own tag: an action on a notification that a later one is about
    // to replace arrives before the service's answer to the later one.
    uint FLastId = 0;
    TNotice FShown;
};

} // namespace quillet

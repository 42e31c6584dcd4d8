#include "app/desktop_notifier.h"

#include "app/systray.h"

#ifndef Q_OS_WIN
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QVariantMap>
#endif

namespace quillet {

namespace {

#ifndef Q_OS_WIN
const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString MarkupCapability = QStringLiteral("body-markup");
const QString ActionsCapability = QStringLiteral("actions");
const QString DefaultAction = QStringLiteral("default");
// How long the service may take to answer before the tray shows the notification instead.
constexpr int AnswerTimeout = 5000;

// A call to the notification service. A service that is not running is not started for it: the
// tray shows the notification then, as it does when the service is missing.
QDBusMessage ServiceCall(const QString& Method) {
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Service, Method);
    call.setAutoStartService(false);
    return call;
}

// Runs Answered with the watched call once its answer (or error) is in.
template <typename F> void WhenAnswered(const QDBusPendingCall& Call, QObject* Receiver, F Answered) {
    auto* watcher = new QDBusPendingCallWatcher(Call, Receiver);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, Receiver,
                     [Answered = std::move(Answered)](QDBusPendingCallWatcher* Watcher) {
                         Watcher->deleteLater();
                         Answered(*Watcher);
                     });
}
#endif

} // namespace

QString NotificationBodyText(const QString& Text, bool Markup) {
    if (!Markup)
        return Text;
    QString escaped;
    escaped.reserve(Text.size());
    for (const QChar c : Text) {
        if (c == u'&')
            escaped += QStringLiteral("&amp;");
        else if (c == u'<')
            escaped += QStringLiteral("&lt;");
        else if (c == u'>')
            escaped += QStringLiteral("&gt;");
        else
            escaped += c;
    }
    return escaped;
}

#ifdef Q_OS_WIN

TDesktopNotifier::TDesktopNotifier(TSystray& Tray, QObject* Parent) : QObject(Parent), FTray(Tray) {}

void TDesktopNotifier::Show(const QString& Title, const QString& Body,
                            const std::vector<TNoticeAction>& Actions, const QVariant& Tag) {
    if (ShowHook)
        ShowHook(Title, Body);
    else
        ShowInTray({Title, Body, Actions, Tag});
}

#else

TDesktopNotifier::TDesktopNotifier(TSystray& Tray, QObject* Parent)
    : TDesktopNotifier(Tray, QDBusConnection::sessionBus(), Parent) {}

TDesktopNotifier::TDesktopNotifier(TSystray& Tray, const QDBusConnection& Bus, QObject* Parent)
    : QObject(Parent), FBus(Bus), FTray(Tray) {
    if (!FBus.isConnected())
        return;
    FBus.connect(Service, Path, Service, QStringLiteral("ActionInvoked"), this,
                 SLOT(ActionInvoked(uint, QString)));
    FBus.connect(Service, Path, Service, QStringLiteral("NotificationClosed"), this,
                 SLOT(NotificationClosed(uint, uint)));
    // The bus tells when the service comes, goes or changes hands; until then it is asked once
    // whether the service is there. Answers come in order, so the later one is the current one.
    auto* watcher = new QDBusServiceWatcher(Service, FBus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(
        watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
        [this](const QString&, const QString&, const QString& NewOwner) { ServiceOwnerChanged(NewOwner); });
    QDBusMessage hasOwner = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    hasOwner << Service;
    WhenAnswered(FBus.asyncCall(hasOwner, AnswerTimeout), this, [this](const QDBusPendingReply<bool>& Reply) {
        if (Reply.isValid())
            FServicePresent = Reply.value();
    });
}

void TDesktopNotifier::Show(const QString& Title, const QString& Body,
                            const std::vector<TNoticeAction>& Actions, const QVariant& Tag) {
    if (ShowHook) {
        ShowHook(Title, Body);
        return;
    }
    const TNotice notice{Title, Body, Actions, Tag};
    if (!FBus.isConnected() || FServicePresent == false) {
        ShowInTray(notice);
        return;
    }
    if (FBodyMarkup) {
        Notify(notice);
        return;
    }
    FWaiting.push_back(notice);
    AskCapabilities();
}

void TDesktopNotifier::ServiceOwnerChanged(const QString& NewOwner) {
    ++FOwnerChanges;
    FServicePresent = !NewOwner.isEmpty();
    // Another program now shows the notifications; it may read the body differently.
    FBodyMarkup.reset();
}

void TDesktopNotifier::AskCapabilities() {
    if (FAskingCapabilities)
        return;
    FAskingCapabilities = true;
    WhenAnswered(FBus.asyncCall(ServiceCall(QStringLiteral("GetCapabilities")), AnswerTimeout), this,
                 [this, askedAt = FOwnerChanges](const QDBusPendingReply<QStringList>& Reply) {
                     CapabilitiesAnswered(askedAt, Reply.isValid(),
                                          Reply.isValid() ? Reply.value() : QStringList());
                 });
}

void TDesktopNotifier::CapabilitiesAnswered(quint64 AskedAtChange, bool Answered,
                                            const QStringList& Capabilities) {
    FAskingCapabilities = false;
    if (AskedAtChange != FOwnerChanges && FServicePresent != false) {
        // The service changed hands while it was asked: the new owner is asked instead.
        AskCapabilities();
        return;
    }
    std::vector<TNotice> waiting;
    waiting.swap(FWaiting);
    if (!Answered || AskedAtChange != FOwnerChanges) {
        // No service to show them (the question is asked again with the next notification).
        for (const TNotice& notice : waiting)
            ShowInTray(notice);
        return;
    }
    FBodyMarkup = Capabilities.contains(MarkupCapability);
    FOffersActions = Capabilities.contains(ActionsCapability);
    for (const TNotice& notice : waiting)
        Notify(notice);
}

void TDesktopNotifier::Notify(const TNotice& Notice) {
    QDBusMessage call = ServiceCall(QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("quillet"));
    hints.insert(QStringLiteral("category"), QStringLiteral("email.arrived"));
    // A service that shows no actions is sent none, not even the default one.
    QStringList actions;
    if (FOffersActions) {
        actions << DefaultAction << tr("Show");
        for (const TNoticeAction& action : Notice.Actions)
            actions << action.Key << action.Label;
    }
    // The title is always shown as plain text; only the body may be read as markup. The shown
    // notification of ours, if any, is replaced rather than joined by another.
    call << QStringLiteral("Quillet") << FLastId << QStringLiteral("mail-unread") << Notice.Title
         << NotificationBodyText(Notice.Body, FBodyMarkup.value_or(false)) << actions << hints << int{-1};
    WhenAnswered(FBus.asyncCall(call, AnswerTimeout), this,
                 [this, Notice](const QDBusPendingReply<uint>& Reply) {
                     // The next notification replaces this one, and actions on this one are recognised by it.
                     if (Reply.isValid()) {
                         FLastId = Reply.value();
                         FShown = Notice;
                     } else {
                         ShowInTray(Notice);
                     }
                 });
}

#endif

void TDesktopNotifier::ShowInTray(const TNotice& Notice) {
    if (TrayHook)
        TrayHook(Notice.Title, Notice.Body);
    else
        FTray.ShowMessage(Notice.Title, Notice.Body);
}

// The service tells every program of every notification: only our own shown one counts, and
// only for what it offered.
void TDesktopNotifier::ActionInvoked(uint Id, const QString& Action) {
    if (Id == 0 || Id != FLastId)
        return;
    if (Action == QStringLiteral("default")) {
        Q_EMIT Activated(FShown.Tag);
        return;
    }
    for (const TNoticeAction& offered : FShown.Actions)
        if (offered.Key == Action) {
            Q_EMIT ActionChosen(Action, FShown.Tag);
            return;
        }
}

void TDesktopNotifier::NotificationClosed(uint Id, uint /*Reason*/) {
    if (Id == 0 || Id != FLastId)
        return;
    // Gone from the desktop: the next notification is a new one, and nothing is left to act on.
    FLastId = 0;
    FShown = {};
}

} // namespace quillet

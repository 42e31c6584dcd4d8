#include "app/systray.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QTimer>
#include <QWidget>

namespace quillet {

TSystray::TSystray(QWidget* Window, std::function<bool()> TrayAvailable)
    : QObject(Window), FWindow(Window), FTrayAvailable(std::move(TrayAvailable)),
      FTrayIcon(new QSystemTrayIcon(this)) {
    if (!FTrayAvailable)
        FTrayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    connect(FTrayIcon, &QSystemTrayIcon::activated, this, &TSystray::HandleActivation);
    FWindow->installEventFilter(this);
    FWasMinimized = FWindow->isMinimized();
}

TSystray::~TSystray() {
    RemoveIcon();
}

void TSystray::SetEnabled(bool Value) {
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    if (!FWindow->isMinimized())
        return;
    if (HideInTray()) {
        AddIcon();
        FWindow->hide();
    } else if (!FEnabled) {
        RemoveIcon();
        FWindow->showMinimized();
    }
}

void TSystray::SetIcon(const QIcon& Value) {
    FIcon = Value;
    if (FEnabled && FIconShown)
        UpdateIcon();
}

void TSystray::SetHint(const QString& Value) {
    if (Value == FHint)
        return;
    FHint = Value;
    if (FEnabled && FIconShown)
        UpdateIcon();
}

void TSystray::SetPopupMenu(QMenu* Menu) {
    FPopupMenu = Menu;
}

void TSystray::Restore() {
    if (FWindow->isMinimized() || FWindow->isHidden()) {
        FWindow->setWindowState((FWindow->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        FWindow->show();
    }
    FWindow->raise();
    FWindow->activateWindow();
    // Leaving the minimized state has taken the icon away already, unless the window was only hidden.
    if (FIconShown)
        AppRestored();
}

void TSystray::HandleActivation(QSystemTrayIcon::ActivationReason Reason) {
    if (!FEnabled)
        return;
    switch (Reason) {
    case QSystemTrayIcon::Trigger:
        Q_EMIT LeftClick();
        break;
    case QSystemTrayIcon::DoubleClick:
        Restore();
        Q_EMIT DblClick();
        break;
    case QSystemTrayIcon::Context:
        // The tray opens the context menu by itself where it can; the signal is for listeners.
        Q_EMIT RightClick();
        break;
    default:
        break;
    }
}

bool TSystray::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == FWindow && Event->type() == QEvent::WindowStateChange) {
        const bool minimized = FWindow->isMinimized();
        if (minimized && !FWasMinimized) {
            FWasMinimized = true;
            // Hidden once the desktop has finished minimising, not in the middle of it.
            QMetaObject::invokeMethod(this, &TSystray::AppMinimized, Qt::QueuedConnection);
        } else if (!minimized && FWasMinimized) {
            FWasMinimized = false;
            AppRestored();
        }
    }
    return QObject::eventFilter(Watched, Event);
}

void TSystray::AppMinimized() {
    if (!FWindow->isMinimized())
        return;
    Q_EMIT BeforeMinimize();
    if (HideInTray() && !FIconShown) {
        AddIcon();
        FWindow->hide();
    }
    Q_EMIT AfterMinimize();
}

void TSystray::AppRestored() {
    Q_EMIT BeforeRestore();
    if (FEnabled && FIconShown)
        RemoveIcon();
    Q_EMIT AfterRestore();
}

bool TSystray::HideInTray() const {
    return FEnabled && FTrayAvailable();
}

void TSystray::AddIcon() {
    if (FIconShown)
        return;
    UpdateIcon();
    FTrayIcon->setContextMenu(FPopupMenu);
    FTrayIcon->show();
    FIconShown = true;
}

void TSystray::UpdateIcon() {
    FTrayIcon->setIcon(FIcon.isNull() ? QApplication::windowIcon() : FIcon);
    FTrayIcon->setToolTip(ShownHint());
}

void TSystray::RemoveIcon() {
    if (!FIconShown)
        return;
    FTrayIcon->hide();
    FIconShown = false;
}

bool TSystray::ShowMessage(const QString& Title, const QString& Text) {
    if (!FTrayAvailable() || !QSystemTrayIcon::supportsMessages())
        return false;
    if (!FTrayIcon->isVisible()) {
        FTrayIcon->setIcon(FIcon.isNull() ? QApplication::windowIcon() : FIcon);
        FTrayIcon->setToolTip(ShownHint());
        FTrayIcon->show();
        // Not minimized into the tray: the icon goes once the message has had its time.
        QTimer::singleShot(12000, this, [this] {
            if (!FIconShown)
                FTrayIcon->hide();
        });
    }
    FTrayIcon->showMessage(Title, Text, QSystemTrayIcon::Information, 10000);
    return true;
}

} // namespace quillet

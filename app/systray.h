// The tray icon: while the program is minimized it lives as an icon in the desktop's tray
// instead of as a taskbar button, and clicks on that icon become signals. Without a tray on the
// desktop, minimising works as usual and no icon appears.
#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>
#include <functional>

class QWidget;

namespace quillet {

class TSystray : public QObject {
    Q_OBJECT
public:
    // The tip reaches the tray cut to this many characters.
    static constexpr int MaxHintLength = 63;

    // Watches Window's minimising and restoring. TrayAvailable tells whether the desktop has a
    // tray now (default: ask the desktop).
    explicit TSystray(QWidget* Window, std::function<bool()> TrayAvailable = {});
    ~TSystray() override;

    bool Enabled() const { return FEnabled; }
    // When the window is minimized now, true puts it into the tray and false brings its taskbar
    // button back.
    void SetEnabled(bool Value);

    const QIcon& Icon() const { return FIcon; }
    // An icon without picture shows the application's own icon.
    void SetIcon(const QIcon& Value);
    const QString& Hint() const { return FHint; }
    void SetHint(const QString& Value);
    // The tip as the tray shows it.
    QString ShownHint() const { return FHint.left(MaxHintLength); }
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* Menu);

    // The icon is in the tray now.
    bool IconShown() const { return FIconShown; }
    // A message from the tray icon (a balloon); shown while the icon is in the tray, or briefly
    // put there for it when the desktop has a tray. False when there is no tray to show it.
    bool ShowMessage(const QString& Title, const QString& Text);

    // Shows the window again as it was before it was minimized, brings it to the front and takes
    // the icon out of the tray.
    void Restore();

    // A click on the icon, as the tray reports it. Ignored unless Enabled: a double click
    // restores, a right click opens PopupMenu, each also raises its signal.
    void HandleActivation(QSystemTrayIcon::ActivationReason Reason);

Q_SIGNALS:
    void LeftClick();
    void DblClick();
    void RightClick();
    void BeforeMinimize();
    void AfterMinimize();
    void BeforeRestore();
    void AfterRestore();

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void AppMinimized();
    void AppRestored();
    void AddIcon();
    void UpdateIcon();
    void RemoveIcon();
    bool HideInTray() const;

    QWidget* FWindow;
    std::function<bool()> FTrayAvailable;
    QSystemTrayIcon* FTrayIcon;
    QPointer<QMenu> FPopupMenu;
    QIcon FIcon;
    QString FHint;
    bool FEnabled = true;
    bool FIconShown = false;
    bool FWasMinimized = false;
};

} // namespace quillet

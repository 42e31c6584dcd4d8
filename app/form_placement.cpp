#include "app/form_placement.h"

#include "util/placement.h"
#include "util/settings_store.h"
#include "util/text_convert.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace quillet {

namespace {

const std::string kSection = "Dialogs";

TPlacementRect OuterGeometry(const QWidget* w) {
    const QRect r = w->frameGeometry();
    return {r.x(), r.y(), r.width(), r.height()};
}

} // namespace

void ApplyPlacementText(const std::string& Text, QWidget* Window, bool WithSize) {
    if (Window == nullptr)
        return;
    QSize screen(1024, 768);
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        screen = primary->geometry().size();
    const TPlacementRect before = OuterGeometry(Window);
    const TPlacementRect after = ApplyPlacement(Text, screen.width(), screen.height(), before, WithSize);
    if (after == before)
        return;
    Window->move(after.Left, after.Top);
    if (after.Width != before.Width || after.Height != before.Height) {
        // The stored size is the outer size; the frame decoration is not part of resize().
        const int frameW = before.Width - Window->width();
        const int frameH = before.Height - Window->height();
        Window->resize(after.Width - frameW, after.Height - frameH);
    }
}

void RestoreFormPlacement(TSettingsStore& Store, QWidget* Window, bool WithSize) {
    if (Window == nullptr)
        return;
    const std::string text = Store.ReadString(kSection, FromQString(Window->objectName()), "-1,-1");
    ApplyPlacementText(text, Window, WithSize);
}

void SaveFormPlacement(TSettingsStore& Store, QWidget* Window, bool WithSize) {
    if (Window == nullptr || Window->isMinimized() || Window->isMaximized())
        return;
    Store.WriteString(kSection, FromQString(Window->objectName()),
                      PlacementText(OuterGeometry(Window), WithSize));
}

} // namespace quillet

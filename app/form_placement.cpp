#include "app/form_placement.h"

#include "util/placement.h"
#include "util/settings_store.h"
#include "util/text_convert.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <limits>

namespace quillet {

namespace {

const std::string kSection = "Dialogs";

TPlacementRect OuterGeometry(const QWidget* w) {
    const QRect r = w->frameGeometry();
    return {r.x(), r.y(), r.width(), r.height()};
}

long long Area(const QRect& R) {
    return R.isEmpty() ? 0 : static_cast<long long>(R.width()) * R.height();
}

// Squared distance between the centres of two rectangles.
long long CentreDistance(const QRect& A, const QRect& B) {
    const long long dx = A.center().x() - B.center().x();
    const long long dy = A.center().y() - B.center().y();
    return dx * dx + dy * dy;
}

// The start of a span of Length that lies inside [Lo, Lo + Room) and moves Start the least.
int FitSpan(int Start, int Length, int Lo, int Room) {
    return std::clamp(Start, Lo, Lo + std::max(0, Room - Length));
}

} // namespace

void ApplyPlacementText(const std::string& Text, QWidget* Window, bool WithSize) {
    if (Window == nullptr)
        return;
    QSize screen(1024, 768);
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        screen = primary->geometry().size();
    const TPlacementRect before = OuterGeometry(Window);
    const TPlacementRect placed = ApplyPlacement(Text, screen.width(), screen.height(), before, WithSize);
    const QRect wanted(placed.Left, placed.Top, placed.Width, placed.Height);
    const QRect area = ScreenAreaFor(wanted, AvailableScreenAreas());
    if (placed == before) {
        // Nothing remembered: the desktop places the window, but a window larger than the screen
        // (a large font, a high scale) is cut to it.
        const QSize size = wanted.size().boundedTo(area.size());
        if (!area.isEmpty() && size != wanted.size())
            Window->resize(size - (wanted.size() - Window->size()));
        return;
    }
    // A place remembered on another screen, or at another scale, may lie partly outside the
    // screen the window is on now: it comes back wholly inside.
    SetFrameGeometry(Window, FitIntoArea(wanted, area));
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

QRect ScreenAreaFor(const QRect& Frame, const QList<QRect>& Areas) {
    QRect best;
    long long bestShared = 0;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (const QRect& area : Areas) {
        const long long shared = Area(area.intersected(Frame));
        const long long distance = CentreDistance(area, Frame);
        if (shared > bestShared || (bestShared == 0 && shared == 0 && distance < bestDistance)) {
            best = area;
            bestShared = shared;
            bestDistance = distance;
        }
    }
    return best;
}

QRect FitIntoArea(const QRect& Frame, const QRect& Area) {
    if (Area.isEmpty())
        return Frame;
    const int width = std::min(Frame.width(), Area.width());
    const int height = std::min(Frame.height(), Area.height());
    return {FitSpan(Frame.x(), width, Area.x(), Area.width()),
            FitSpan(Frame.y(), height, Area.y(), Area.height()), width, height};
}

QRect FirstStartGeometry(const QRect& Area) {
    // Nine tenths of the screen leave the desktop visible around the window; beyond about
    // 1200 x 860 lines of mail become too long to read comfortably.
    const int width = std::min(Area.width() * 9 / 10, 1200);
    const int height = std::min(Area.height() * 9 / 10, 860);
    return {Area.x() + (Area.width() - width) / 2, Area.y() + (Area.height() - height) / 2, width, height};
}

QList<QRect> AvailableScreenAreas() {
    QList<QRect> areas;
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        areas << primary->availableGeometry();
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            areas << screen->availableGeometry();
    return areas;
}

void FitIntoScreen(QWidget* Window) {
    if (Window == nullptr || Window->isMaximized() || Window->isMinimized() || Window->isFullScreen())
        return;
    const QRect frame = Window->frameGeometry();
    const QRect fitted = FitIntoArea(frame, ScreenAreaFor(frame, AvailableScreenAreas()));
    if (fitted != frame)
        SetFrameGeometry(Window, fitted);
}

void SetFrameGeometry(QWidget* Window, const QRect& Frame) {
    const QRect before = Window->frameGeometry();
    Window->move(Frame.topLeft());
    if (Frame.size() != before.size()) {
        // The frame decoration is not part of resize().
        const int frameW = before.width() - Window->width();
        const int frameH = before.height() - Window->height();
        Window->resize(Frame.width() - frameW, Frame.height() - frameH);
    }
}

} // namespace quillet

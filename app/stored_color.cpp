#include "app/stored_color.h"

#include <QPalette>
#include <QWidget>

namespace quillet {

namespace {

QPalette::ColorRole DesktopColorRole(int Number) {
    switch (Number) {
    case 5: // window background
        return QPalette::Base;
    case 8: // window text
        return QPalette::Text;
    case 13:
        return QPalette::Highlight;
    case 14:
        return QPalette::HighlightedText;
    case 15: // button face
        return QPalette::Button;
    case 16:
        return QPalette::Dark;
    case 18:
        return QPalette::ButtonText;
    case 24:
        return QPalette::ToolTipBase;
    default:
        return QPalette::Window;
    }
}

} // namespace

QColor StoredToColor(std::int32_t Value, const QPalette& Palette) {
    const auto bits = static_cast<std::uint32_t>(Value);
    if ((bits & 0xFF000000u) == 0x80000000u)
        return Palette.color(QPalette::Active, DesktopColorRole(static_cast<int>(bits & 0xFFu)));
    return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                  static_cast<int>((bits >> 16) & 0xFFu));
}

std::int32_t ColorToStored(const QColor& Color) {
    const QColor rgb = Color.toRgb();
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(rgb.red()) |
                                     (static_cast<std::uint32_t>(rgb.green()) << 8) |
                                     (static_cast<std::uint32_t>(rgb.blue()) << 16));
}

QColor ReadableTextOn(const QColor& Background) {
    const QColor rgb = Background.toRgb();
    // Relative luminance after ITU-R BT.709, on the sRGB values: good enough to pick black or white.
    const double luminance = 0.2126 * rgb.redF() + 0.7152 * rgb.greenF() + 0.0722 * rgb.blueF();
    return luminance > 0.5 ? QColor(Qt::black) : QColor(Qt::white);
}

bool DarkPalette(const QPalette& Palette) {
    return ReadableTextOn(Palette.color(QPalette::Active, QPalette::Base)) == QColor(Qt::white);
}

QColor ShownColor(std::int32_t Stored, std::int32_t Default, const QPalette& Palette) {
    // A default that names a desktop colour follows the desktop already.
    const bool desktopDefault = (static_cast<std::uint32_t>(Default) & 0xFF000000u) == 0x80000000u;
    if (Stored == Default && !desktopDefault && DarkPalette(Palette))
        return Palette.color(QPalette::Active, QPalette::Base);
    return StoredToColor(Stored, Palette);
}

void PaintBackground(QWidget* Widget, std::int32_t StoredColor) {
    PaintBackground(Widget, StoredToColor(StoredColor, QPalette()));
}

void PaintBackground(QWidget* Widget, const QColor& Background) {
    QPalette palette = Widget->palette();
    const QColor background = Background;
    // On the desktop's own background the desktop's own text colour; on any other the one of
    // black and white that reads better.
    const QPalette desktop;
    const QColor text = background == desktop.color(QPalette::Active, QPalette::Base)
                            ? desktop.color(QPalette::Active, QPalette::Text)
                            : ReadableTextOn(background);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, background);
        palette.setColor(group, QPalette::AlternateBase, background.darker(105));
        palette.setColor(group, QPalette::Text, text);
    }
    QColor placeholder = text;
    placeholder.setAlphaF(0.55f);
    palette.setColor(QPalette::PlaceholderText, placeholder);
    Widget->setPalette(palette);
}

} // namespace quillet

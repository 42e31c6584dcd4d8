// Colours as the settings store them: a 32-bit value with red in the low byte, then green, then
// blue; a value with the top bit set names one of the desktop's own colours by its number.
#pragma once

#include <QColor>
#include <cstdint>

class QPalette;
class QWidget;

namespace quillet {

// The desktop colour numbers: 5 window background, 15 button face, and so on. A number that is
// not known gives the palette's window colour.
QColor StoredToColor(std::int32_t Value, const QPalette& Palette);
std::int32_t ColorToStored(const QColor& Color);

// Black or white, whichever reads better on Background.
QColor ReadableTextOn(const QColor& Background);

// Gives Widget's text area the background colour and a text colour that stays readable on it.
void PaintBackground(QWidget* Widget, std::int32_t StoredColor);

} // namespace quillet

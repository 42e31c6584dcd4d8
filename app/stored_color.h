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

// Whether the palette's text areas are dark (a dark desktop theme).
bool DarkPalette(const QPalette& Palette);

// The colour that a stored list or pane colour shows in Palette. A colour the user never changed
// (Stored is the option's default Default, a colour of its own) follows the desktop when its text
// areas are dark, where a light default would glare beside everything else; on a light desktop it
// shows as it is. A colour the user chose, and a desktop colour number, show as they are.
QColor ShownColor(std::int32_t Stored, std::int32_t Default, const QPalette& Palette);

// Gives Widget's text area the background colour and a text colour that stays readable on it.
void PaintBackground(QWidget* Widget, std::int32_t StoredColor);
void PaintBackground(QWidget* Widget, const QColor& Background);

} // namespace quillet

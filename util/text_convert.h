// The two conversions between the program's 8-bit text and Qt's text, used at the widget
// boundary only.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace quillet {

// Bytes to QString: UTF-8; bytes that are not valid UTF-8 are read as Windows-1252 so that
// nothing is lost or shown as replacement characters.
QString ToQString(std::string_view bytes);

// QString to bytes (UTF-8).
std::string FromQString(const QString& text);

} // namespace quillet

// The error raised when header text cannot be decoded: a uuencoded word with a character
// outside the uuencode set, or a Date value without a month.
#pragma once

#include <QCoreApplication>
#include <stdexcept>
#include <string>

namespace quillet {

class EMailFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Message texts of the two decoding failures.
inline constexpr const char* kUUCodeFormatErrorText =
    QT_TRANSLATE_NOOP("EMailFormatError", "UUCODE message format error");
inline constexpr const char* kDateWithoutMonthErrorText =
    QT_TRANSLATE_NOOP("EMailFormatError", "Date without month");

// Raises the error with one of the texts above, in the user's language.
[[noreturn]] inline void RaiseMailFormatError(const char* Text) {
    throw EMailFormatError(QCoreApplication::translate("EMailFormatError", Text).toStdString());
}

} // namespace quillet

// The error raised when header text cannot be decoded: a uuencoded word with a character
// outside the uuencode set, or a Date value without a month.
#pragma once

#include <stdexcept>
#include <string>

namespace quillet {

class EMailFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Message texts of the two decoding failures.
inline constexpr const char* kUUCodeFormatErrorText = "UUCODE message format error";
inline constexpr const char* kDateWithoutMonthErrorText = "Date without month";

} // namespace quillet

// Look-up of header field values in a list of header lines. Pure functions on 8-bit text.
#pragma once

#include "util/strings.h" // TrimSpace, used with every field value

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Index of the Occurrence-th (0-based) line whose start equals Prefix, ASCII letters compared
// without regard to case; -1 when there are fewer such lines. Body lines are searched too, but
// the header lines come first.
int FindFieldLine(const std::vector<std::string>& Lines, std::string_view Prefix, int Occurrence);

// The value of one header line: the text after the first colon outside double quotes, up to the
// first semicolon outside double quotes, trimmed of spaces, with one pair of enclosing double
// quotes removed. A line without such a colon has an empty value.
std::string ExtractFieldValue(std::string_view Line);

// The value of the first line of Lines that begins with Name followed by a colon. Only that one
// physical line is read (folded continuation lines are not). A value longer than two characters
// that begins and ends with a quote (double or single, not necessarily the same) loses both.
std::string FieldValueIn(const std::vector<std::string>& Lines, std::string_view Name);

} // namespace quillet

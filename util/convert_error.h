// The conversion error: a text that should hold a number (or hexadecimal digits) does not.
// Its message is the documented "'<text>' is not a valid integer value".
#pragma once

#include <stdexcept>
#include <string>

namespace quillet {

class EConvertError : public std::runtime_error {
public:
    // Text is the offending text as the message quotes it.
    explicit EConvertError(const std::string& Text)
        : std::runtime_error("'" + Text + "' is not a valid integer value"), FText(Text) {}

    // The offending text, for the message in the user's language (util/convert_error_text.h).
    const std::string& Text() const { return FText; }

private:
    std::string FText;
};

} // namespace quillet

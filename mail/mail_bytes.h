// Byte-level rules shared by the preview decoder and the HTML text reader: ASCII classes, hex
// digits and ASCII lower case, for text that may hold any byte.
#pragma once

#include "util/strings.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace quillet::mail_bytes {

inline bool IsBlank(char C) {
    return C == ' ' || C == '\t';
}

inline bool IsWhite(char C) {
    return C == ' ' || C == '\t' || C == '\r' || C == '\n' || C == '\f';
}

inline bool IsAsciiLetter(char C) {
    return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z');
}

inline bool IsAsciiDigit(char C) {
    return C >= '0' && C <= '9';
}

inline int HexValue(char C) {
    return HexDigitValue(C);
}

inline bool IsBase64Letter(char C) {
    return IsAsciiLetter(C) || IsAsciiDigit(C) || C == '+' || C == '/';
}

inline bool AllAscii(std::string_view Bytes) {
    return std::all_of(Bytes.begin(), Bytes.end(),
                       [](char C) { return static_cast<unsigned char>(C) < 0x80; });
}

inline std::string LowerAscii(std::string_view Text) {
    std::string lower(Text);
    for (char& c : lower)
        c = AsciiLower(c);
    return lower;
}

} // namespace quillet::mail_bytes

// The keyless, randomised form of the stored credentials used when no master password is
// set. It only keeps a value from being read at a glance; it is not encryption.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// A random first character (code 32..254), a character carrying a random shift k (4..126)
// as k + 127, then two characters per byte of V, derived from its two hexadecimal digits
// and k. Two calls on the same value almost always differ. The result has 2 + 2n bytes.
std::string ScrambleString(std::string_view V);

// The inverse of ScrambleString. Texts of fewer than four characters give empty text and an
// odd last character is ignored. Digits that do not decode to hexadecimal raise the
// conversion error of HexToString.
std::string UnscrambleString(std::string_view S);

} // namespace quillet

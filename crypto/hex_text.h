// The hexadecimal text form in which protected credentials are stored: two upper-case digits
// per byte, no separators, so every stored value is plain ASCII.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// Every byte as two upper-case hexadecimal digits, most significant first.
std::string StringToHex(std::string_view S);

// Reads the text two characters at a time (either letter case); an odd last character is
// ignored. A pair that is not hexadecimal raises EConvertError with the text
// "'$XY' is not a valid integer value" (XY being the two characters).
std::string HexToString(std::string_view T);

// The value of the hexadecimal pair H1 H2, or the conversion error above.
unsigned char HexPairValue(char H1, char H2);

} // namespace quillet

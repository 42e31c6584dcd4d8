#include "crypto/hex_text.h"

#include "util/convert_error.h"
#include "util/strings.h"

namespace quillet {

std::string StringToHex(std::string_view S) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string Result;
    Result.reserve(S.size() * 2);
    for (const char C : S) {
        const auto B = static_cast<unsigned char>(C);
        Result += Digits[B >> 4];
        Result += Digits[B & 15];
    }
    return Result;
}

unsigned char HexPairValue(char H1, char H2) {
    const int High = HexDigitValue(H1);
    const int Low = HexDigitValue(H2);
    if (High < 0 || Low < 0)
        throw EConvertError(std::string("$") + H1 + H2);
    return static_cast<unsigned char>(High * 16 + Low);
}

std::string HexToString(std::string_view T) {
    std::string Result;
    Result.reserve(T.size() / 2);
    for (std::size_t I = 0; I + 1 < T.size(); I += 2)
        Result += static_cast<char>(HexPairValue(T[I], T[I + 1]));
    return Result;
}

} // namespace quillet

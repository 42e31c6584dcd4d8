// Stored credential text comes from a settings file the user can edit: any input must give
// either the conversion error or bytes that write back as the same digits.
#include "crypto/hex_text.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string Text(reinterpret_cast<const char*>(Data), Size);
    std::string Bytes;
    try {
        Bytes = quillet::HexToString(Text);
    } catch (const std::runtime_error&) {
        return 0;
    }
    if (Bytes.size() != Size / 2)
        std::abort();
    std::string Upper = Text.substr(0, Size / 2 * 2);
    for (char& C : Upper)
        C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
    if (quillet::StringToHex(Bytes) != Upper)
        std::abort();
    return 0;
}

// A scrambled credential read back from the settings file: any input must give either the
// conversion error or a value of the expected length that scrambles back to itself.
#include "crypto/scramble.h"

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string Text(reinterpret_cast<const char*>(Data), Size);
    std::string Value;
    try {
        Value = quillet::UnscrambleString(Text);
    } catch (const std::runtime_error&) {
        return 0;
    }
    if (Value.size() != (Size < 4 ? 0 : Size / 2 - 1))
        std::abort();
    if (quillet::UnscrambleString(quillet::ScrambleString(Value)) != Value)
        std::abort();
    return 0;
}

// Stored sound values of any bytes: every text parses, and what is written reads back.
#include "notify/one_sound.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    quillet::TOneSound sound;
    sound.FromText(std::string(reinterpret_cast<const char*>(Data), Size));
    quillet::TOneSound back;
    back.FromText(sound.ToText());
    // A path that itself holds a following key cannot come back whole; everything else must.
    const bool ambiguous = sound.WavePath.find(",act=") != std::string::npos ||
                           sound.WavePath.find(",builtin=") != std::string::npos ||
                           sound.WavePath.find(",path=") != std::string::npos;
    if (back.IsActive != sound.IsActive || back.BuiltIn != sound.BuiltIn ||
        (!ambiguous && back.WavePath != sound.WavePath))
        std::abort();
    return 0;
}

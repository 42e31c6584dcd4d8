// The start of a user's .wav file, of any bytes.
#include "notify/wave_header.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    quillet::IsPlayableWave(std::string_view(reinterpret_cast<const char*>(Data), Size));
    return 0;
}

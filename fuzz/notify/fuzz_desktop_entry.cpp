// Autostart entry files of any bytes.
#include "notify/desktop_entry.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    quillet::AutostartEntryIsSet(std::string_view(reinterpret_cast<const char*>(Data), Size));
    return 0;
}

// Stored dialog positions come from the options store, which the user or another tool can edit:
// any text must give a geometry (or none) without crashing.
#include "util/placement.h"
#include "util/strings.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const quillet::TPlacementRect designed{10, 10, 300, 200};
    const quillet::TPlacementRect r = quillet::ApplyPlacement(text, 1024, 768, designed, true);
    if (r.Left > 1004 || r.Top > 748)
        __builtin_trap();
    int pos = 1;
    while (pos > 0 && pos <= static_cast<int>(text.size())) {
        const int before = pos;
        quillet::NextToken(text, pos, ",; ");
        if (pos <= before && pos <= static_cast<int>(text.size()))
            __builtin_trap();
    }
    quillet::StrToIntSafe(text);
    int p = 0;
    quillet::FindMarkedText(text, "=", ",", p);
    return 0;
}

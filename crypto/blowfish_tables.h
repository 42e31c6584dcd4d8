// The initial Blowfish sub-keys and substitution boxes, copied into a cipher at every keying.
#pragma once

#include <cstdint>

namespace quillet {

struct TBlowfishTables {
    std::uint32_t P[18];
    std::uint32_t S[4][256];
};

// The hexadecimal digits of the fraction of pi: P-array first, then S-boxes 1 to 4.
extern const TBlowfishTables BlowfishInitialTables;

} // namespace quillet

#include "crypto/secure_wipe.h"

namespace quillet {

void SecureFill(void* Data, std::size_t Size, std::uint8_t Value) {
    volatile std::uint8_t* P = static_cast<volatile std::uint8_t*>(Data);
    for (std::size_t I = 0; I < Size; ++I)
        P[I] = Value;
#if defined(__GNUC__) || defined(__clang__)
    // Tells the compiler the memory is observed afterwards, so the stores stay.
    __asm__ __volatile__("" : : "r"(Data) : "memory");
#endif
}

} // namespace quillet

// Overwriting of key material in a way the optimiser may not drop, even when the buffer is
// never read again (a plain memset before a buffer dies is routinely removed).
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillet {

// Sets Size bytes at Data to Value through volatile stores.
void SecureFill(void* Data, std::size_t Size, std::uint8_t Value);

// Fills a buffer with zero bytes when the scope ends, by any path (return or exception).
class TWipeOnExit {
public:
    TWipeOnExit(void* Data, std::size_t Size) : FData(Data), FSize(Size) {}
    ~TWipeOnExit() { SecureFill(FData, FSize, 0); }
    TWipeOnExit(const TWipeOnExit&) = delete;
    TWipeOnExit& operator=(const TWipeOnExit&) = delete;

private:
    void* FData;
    std::size_t FSize;
};

} // namespace quillet

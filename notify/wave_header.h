// A look at the start of a .wav file before it goes to the sound output, which can stall on
// data that is no wave at all. Pure.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillet {

// The number of leading bytes that IsPlayableWave looks at.
constexpr std::size_t WaveHeadSize = 64 * 1024;

struct TWaveInfo {
    std::uint64_t DataBytes = 0;      // as the "data" chunk declares it
    std::uint64_t BytesPerSecond = 0; // sample rate x channels x bytes per sample
};

// The wave's data size and rate when Head (the first bytes of a file) is a RIFF WAVE with a PCM
// or floating-point "fmt " chunk (1 or 2 channels, 8 to 32 bits, a sample rate) followed by a
// non-empty "data" chunk, all of whose headers lie within Head; nothing otherwise.
std::optional<TWaveInfo> ReadWaveHead(std::string_view Head);

// How long the program waits at most for a user's wave to play to its end, in milliseconds:
// its data (no more than the file holds) at its rate, at most an hour, plus StartMs for loading
// and starting.
int LongestPlayMs(const TWaveInfo& Wave, std::uint64_t FileSize, int StartMs);

inline bool IsPlayableWave(std::string_view Head) {
    return ReadWaveHead(Head).has_value();
}

} // namespace quillet

#include "notify/wave_header.h"

#include <algorithm>
#include <cstdint>

namespace quillet {

namespace {

std::uint32_t Le32(std::string_view S, std::size_t At) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(S[At])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(S[At + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(S[At + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(S[At + 3])) << 24;
}

std::uint16_t Le16(std::string_view S, std::size_t At) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(S[At]) |
                                      static_cast<unsigned char>(S[At + 1]) << 8);
}

} // namespace

std::optional<TWaveInfo> ReadWaveHead(std::string_view Head) {
    if (Head.size() < 12 || Head.substr(0, 4) != "RIFF" || Head.substr(8, 4) != "WAVE")
        return std::nullopt;
    bool formatOk = false;
    TWaveInfo info;
    std::size_t pos = 12;
    while (Head.size() - pos >= 8) {
        const std::string_view id = Head.substr(pos, 4);
        const std::uint64_t size = Le32(Head, pos + 4);
        const std::size_t body = pos + 8;
        if (id == "fmt ") {
            if (size < 16 || Head.size() - body < 16)
                return std::nullopt;
            const std::uint16_t tag = Le16(Head, body);
            const std::uint16_t channels = Le16(Head, body + 2);
            const std::uint32_t rate = Le32(Head, body + 4);
            const std::uint16_t bits = Le16(Head, body + 14);
            formatOk = (tag == 1 || tag == 3) && channels >= 1 && channels <= 2 && rate > 0 &&
                       (bits == 8 || bits == 16 || bits == 24 || bits == 32);
            if (!formatOk)
                return std::nullopt;
            info.BytesPerSecond = std::uint64_t{rate} * channels * (bits / 8);
        } else if (id == "data") {
            if (!formatOk || size == 0)
                return std::nullopt;
            info.DataBytes = size;
            return info;
        }
        // Chunks are padded to an even length.
        const std::uint64_t next = body + size + (size & 1);
        if (next > Head.size())
            return std::nullopt;
        pos = static_cast<std::size_t>(next);
    }
    return std::nullopt;
}

int LongestPlayMs(const TWaveInfo& Wave, std::uint64_t FileSize, int StartMs) {
    constexpr std::uint64_t hourMs = 3600 * 1000;
    if (Wave.BytesPerSecond == 0)
        return StartMs;
    const std::uint64_t bytes = std::min(Wave.DataBytes, FileSize);
    return static_cast<int>(std::min(bytes / Wave.BytesPerSecond * 1000 +
                                         bytes % Wave.BytesPerSecond * 1000 / Wave.BytesPerSecond,
                                     hourMs)) +
           StartMs;
}

} // namespace quillet

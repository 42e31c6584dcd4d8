#include "notify/wave_header.h"

#include <gtest/gtest.h>
#include <string>

namespace quillet {
namespace {

std::string Le(std::uint32_t v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i)
        s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}

std::string Fmt(int tag, int channels, int rate, int bits) {
    return "fmt " + Le(16, 4) + Le(tag, 2) + Le(channels, 2) + Le(rate, 4) +
           Le(rate * channels * bits / 8, 4) + Le(channels * bits / 8, 2) + Le(bits, 2);
}

std::string Wave(const std::string& chunks) {
    return "RIFF" + Le(4 + chunks.size(), 4) + "WAVE" + chunks;
}

TEST(WaveHeader, WhatMayGoToTheSoundOutput) {
    const std::string data = "data" + Le(4, 4) + "abcd";
    const std::pair<std::string, bool> rows[] = {
        {Wave(Fmt(1, 1, 22050, 16) + data), true},
        {Wave(Fmt(3, 2, 48000, 32) + data), true},
        {Wave("LIST" + Le(3, 4) + "abc" + std::string(1, '\0') + Fmt(1, 1, 8000, 8) + data), true},
        {Wave(Fmt(1, 1, 22050, 16) + "data" + Le(0, 4)), false},
        {Wave(data + Fmt(1, 1, 22050, 16)), false},
        {Wave(Fmt(2, 1, 22050, 4) + data), false},
        {Wave(Fmt(1, 0, 22050, 16) + data), false},
        {Wave(Fmt(1, 1, 0, 16) + data), false},
        {Wave(Fmt(1, 1, 22050, 16)), false},
        {Wave("fmt " + Le(16, 4) + "short"), false},
        {Wave("JUNK" + Le(0xFFFFFFF0u, 4) + "x"), false},
        {"RIFF\x10\0\0\0WAVEfmt garbage", false},
        {"", false},
    };
    for (std::size_t n = 0; n < std::size(rows); ++n)
        EXPECT_EQ(IsPlayableWave(rows[n].first), rows[n].second) << "row " << n;
    const auto info = ReadWaveHead(Wave(Fmt(1, 2, 22050, 16) + data));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->DataBytes, 4u);
    EXPECT_EQ(info->BytesPerSecond, 88200u);
}

TEST(WaveHeader, LongestPlayTime) {
    struct Row {
        TWaveInfo wave;
        std::uint64_t fileSize;
        int expectedMs;
    } rows[] = {
        {{88200, 88200}, 100000, 1000 + 500},         // one second of sound
        {{88200, 44100}, 50000, 1133 + 500},          // the file holds less than the data says
        {{1ull << 40, 1}, 1ull << 40, 3600000 + 500}, // at most an hour
        {{100, 0}, 100, 500},                         // no rate: only the start margin
    };
    for (const auto& r : rows)
        EXPECT_EQ(LongestPlayMs(r.wave, r.fileSize, 500), r.expectedMs) << r.wave.DataBytes;
}

} // namespace
} // namespace quillet

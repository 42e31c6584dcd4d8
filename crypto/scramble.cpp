#include "crypto/scramble.h"

#include "crypto/hex_text.h"

#include <array>
#include <random>

namespace quillet {

namespace {

// One engine per thread, seeded from the operating system's entropy source.
std::mt19937& ScrambleRandom() {
    thread_local std::mt19937 Engine = [] {
        std::random_device Device;
        std::array<std::uint32_t, 8> Seed;
        for (auto& Word : Seed)
            Word = Device();
        std::seed_seq Sequence(Seed.begin(), Seed.end());
        return std::mt19937(Sequence);
    }();
    return Engine;
}

int Code(char C) {
    return static_cast<unsigned char>(C);
}

} // namespace

std::string ScrambleString(std::string_view V) {
    std::mt19937& Random = ScrambleRandom();
    const int K = std::uniform_int_distribution<int>(4, 126)(Random);
    const int Lead = std::uniform_int_distribution<int>(32, 254)(Random);

    const std::string Hex = StringToHex(V);
    std::string Result;
    Result.reserve(2 + Hex.size());
    Result += static_cast<char>(Lead);
    Result += static_cast<char>(K + 127);
    for (std::size_t I = 0; I < Hex.size(); I += 2) {
        Result += static_cast<char>(285 - Code(Hex[I]) - K);
        Result += static_cast<char>(280 - Code(Hex[I + 1]) - K);
    }
    return Result;
}

std::string UnscrambleString(std::string_view S) {
    std::string Result;
    // The shift sits in the second character; shorter texts carry no value.
    if (S.size() < 4)
        return Result;
    const int K = Code(S[1]) - 127;
    Result.reserve(S.size() / 2 - 1);
    for (std::size_t P = 2; P + 1 < S.size(); P += 2) {
        const char H1 = static_cast<char>((285 - Code(S[P]) - K) & 0xFF);
        const char H2 = static_cast<char>((280 - Code(S[P + 1]) - K) & 0xFF);
        Result += static_cast<char>(HexPairValue(H1, H2));
    }
    return Result;
}

} // namespace quillet

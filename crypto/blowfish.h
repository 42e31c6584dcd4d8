// Encryption of stored credentials under the master password: Blowfish in CBC mode with a
// 448-bit key derived from the pass phrase and the cipher's default initialisation vector,
// so the same value under the same pass phrase always gives the same bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

constexpr std::size_t CipherKeyBytes = 56;
using TCipherKey = std::array<std::uint8_t, CipherKeyBytes>;

// The pass phrase repeated cyclically and cut at 56 bytes; an empty pass phrase is replaced
// by a fixed one-letter text. Pass phrases that agree in their first 56 bytes, or that are
// repetitions of one another, give the same key.
TCipherKey DeriveCipherKey(std::string_view PassPhrase);

// The value enciphered under the pass phrase; the result has exactly the value's length.
std::string EncryptString(std::string_view Value, std::string_view PassPhrase);

// The inverse of EncryptString. A wrong pass phrase is not detected: it gives other bytes of
// the same length.
std::string DecryptString(std::string_view Value, std::string_view PassPhrase);

} // namespace quillet

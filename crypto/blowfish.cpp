#include "crypto/blowfish.h"

#include "crypto/blowfish_cipher.h"
#include "crypto/secure_wipe.h"

#include <cstdint>
#include <limits>

namespace quillet {

namespace {

// Stands in for an empty pass phrase, which would otherwise leave nothing to repeat.
constexpr std::string_view EmptyPassPhraseSubstitute = "x";

void FillCipherKey(std::string_view PassPhrase, std::uint8_t* Key) {
    if (PassPhrase.empty())
        PassPhrase = EmptyPassPhraseSubstitute;
    for (std::size_t I = 0; I < CipherKeyBytes; ++I)
        Key[I] = static_cast<std::uint8_t>(PassPhrase[I % PassPhrase.size()]);
}

std::string RunCBC(std::string_view Value, std::string_view PassPhrase, bool Encrypt) {
    std::string Result(Value);
    if (Result.empty())
        return Result;

    TBlowfishCipher Cipher;
    {
        std::uint8_t Key[CipherKeyBytes];
        TWipeOnExit KeyWiper(Key, sizeof Key);
        FillCipherKey(PassPhrase, Key);
        Cipher.Init(Key, static_cast<std::int32_t>(CipherKeyBytes * 8));
    }

    // One CBC pass over the whole value. A value longer than one call can take is fed in
    // pieces of whole blocks; the chain carries over, so the output is the same.
    constexpr std::size_t Piece = std::size_t(std::numeric_limits<std::int32_t>::max()) / 8 * 8;
    char* Data = Result.data();
    std::size_t Left = Result.size();
    while (Left > 0) {
        const auto Size = static_cast<std::int32_t>(Left > Piece ? Piece : Left);
        if (Encrypt)
            Cipher.EncryptCBC(Data, Data, Size);
        else
            Cipher.DecryptCBC(Data, Data, Size);
        Data += Size;
        Left -= static_cast<std::size_t>(Size);
    }
    Cipher.Wipe();
    return Result;
}

} // namespace

TCipherKey DeriveCipherKey(std::string_view PassPhrase) {
    TCipherKey Key;
    FillCipherKey(PassPhrase, Key.data());
    return Key;
}

std::string EncryptString(std::string_view Value, std::string_view PassPhrase) {
    return RunCBC(Value, PassPhrase, true);
}

std::string DecryptString(std::string_view Value, std::string_view PassPhrase) {
    return RunCBC(Value, PassPhrase, false);
}

} // namespace quillet

#include "crypto/blowfish_cipher.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

namespace quillet {
namespace {

const std::string Key16 = "0123456789abcdef";

std::string Pattern(std::size_t Size) {
    std::string S(Size, '\0');
    for (std::size_t I = 0; I < Size; ++I)
        S[I] = static_cast<char>(I * 37 + 11);
    return S;
}

TBlowfishCipher& Keyed(TBlowfishCipher& C, const std::string& Key = Key16, const void* IV = nullptr) {
    C.Init(Key.data(), static_cast<std::int32_t>(Key.size() * 8), IV);
    return C;
}

std::string Crypt(TBlowfishCipher& C, bool Cbc, bool Encrypt, const std::string& In) {
    std::string Out(In.size(), '\0');
    const auto Size = static_cast<std::int32_t>(In.size());
    if (Cbc)
        Encrypt ? C.EncryptCBC(In.data(), Out.data(), Size) : C.DecryptCBC(In.data(), Out.data(), Size);
    else
        Encrypt ? C.EncryptCFB8(In.data(), Out.data(), Size) : C.DecryptCFB8(In.data(), Out.data(), Size);
    return Out;
}

// Every length 0..64 in both modes, in place and out of place, each from a fresh chain.
TEST(BlowfishCipher, RoundTripsEveryLength) {
    for (const bool Cbc : {true, false}) {
        for (std::size_t Size = 0; Size <= 64; ++Size) {
            SCOPED_TRACE((Cbc ? "CBC size " : "CFB8 size ") + std::to_string(Size));
            const std::string Plain = Pattern(Size);
            TBlowfishCipher C;
            Keyed(C);
            const std::string Cipher = Crypt(C, Cbc, true, Plain);
            ASSERT_EQ(Cipher.size(), Size);
            if (Size >= 2) {
                EXPECT_NE(Cipher, Plain);
            }

            C.ResetChain();
            std::string InPlace = Plain;
            const auto N = static_cast<std::int32_t>(Size);
            Cbc ? C.EncryptCBC(InPlace.data(), InPlace.data(), N)
                : C.EncryptCFB8(InPlace.data(), InPlace.data(), N);
            EXPECT_EQ(InPlace, Cipher);

            C.ResetChain();
            EXPECT_EQ(Crypt(C, Cbc, false, Cipher), Plain);
            C.ResetChain();
            Cbc ? C.DecryptCBC(InPlace.data(), InPlace.data(), N)
                : C.DecryptCFB8(InPlace.data(), InPlace.data(), N);
            EXPECT_EQ(InPlace, Plain);
        }
    }
}

TEST(BlowfishCipher, InvalidKeySizes) {
    const std::string Key(64, 'k');
    for (const std::int32_t Size : {0, 450, 12, -8, 456, 1}) {
        SCOPED_TRACE(Size);
        TBlowfishCipher C;
        Keyed(C); // a failed Init must also drop an earlier key
        try {
            C.Init(Key.data(), Size);
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& E) {
            EXPECT_EQ(std::string(E.what()), "Blowfish: Invalid key size - " + std::to_string(Size));
        }
        EXPECT_FALSE(C.Initialized());
    }
    for (const std::int32_t Size : {8, 448}) {
        TBlowfishCipher C;
        EXPECT_NO_THROW(C.Init(Key.data(), Size));
        EXPECT_TRUE(C.Initialized());
    }
}

// Every data operation refuses to run without a key and leaves the output alone.
TEST(BlowfishCipher, NotInitialized) {
    using TOp = std::function<void(TBlowfishCipher&, const char*, char*)>;
    const std::vector<TOp> Ops = {
        [](TBlowfishCipher& C, const char* I, char* O) { C.EncryptBlock(I, O); },
        [](TBlowfishCipher& C, const char* I, char* O) { C.DecryptBlock(I, O); },
        [](TBlowfishCipher& C, const char* I, char* O) { C.EncryptCBC(I, O, 8); },
        [](TBlowfishCipher& C, const char* I, char* O) { C.DecryptCBC(I, O, 8); },
        [](TBlowfishCipher& C, const char* I, char* O) { C.EncryptCFB8(I, O, 8); },
        [](TBlowfishCipher& C, const char* I, char* O) { C.DecryptCFB8(I, O, 8); },
    };
    for (const bool AfterWipe : {false, true}) {
        for (std::size_t I = 0; I < Ops.size(); ++I) {
            SCOPED_TRACE((AfterWipe ? "after Wipe, op " : "fresh, op ") + std::to_string(I));
            TBlowfishCipher C;
            if (AfterWipe) {
                Keyed(C);
                C.Wipe();
            }
            const std::string In = Pattern(8);
            std::string Out(8, 'z');
            try {
                Ops[I](C, In.data(), Out.data());
                ADD_FAILURE() << "ran without a key";
            } catch (const std::runtime_error& E) {
                EXPECT_STREQ(E.what(), "Blowfish: Not initialized");
            }
            EXPECT_EQ(Out, std::string(8, 'z'));
        }
    }
}

TEST(BlowfishCipher, RefusesNegativeSizeAndMissingBuffers) {
    TBlowfishCipher C;
    Keyed(C);
    std::string Buf(8, 'a');
    EXPECT_THROW(C.EncryptCBC(Buf.data(), Buf.data(), -1), std::invalid_argument);
    EXPECT_THROW(C.DecryptCFB8(Buf.data(), nullptr, 8), std::invalid_argument);
    EXPECT_THROW(C.EncryptBlock(nullptr, Buf.data()), std::invalid_argument);
    EXPECT_NO_THROW(C.EncryptCBC(nullptr, nullptr, 0));
    TBlowfishCipher D;
    EXPECT_THROW(D.Init(nullptr, 64), std::invalid_argument);
    EXPECT_FALSE(D.Initialized());
}

// The chain carries over between calls: size 0 leaves it alone, two calls of whole blocks
// equal one call over both, and ResetChain starts again from the IV.
TEST(BlowfishCipher, ChainContinuesAcrossCalls) {
    const std::string Plain = Pattern(24);
    TBlowfishCipher Whole;
    const std::string Expected = Crypt(Keyed(Whole), true, true, Plain);

    TBlowfishCipher Split;
    Keyed(Split);
    EXPECT_EQ(Crypt(Split, true, true, ""), "");
    std::string Got = Crypt(Split, true, true, Plain.substr(0, 8));
    EXPECT_EQ(Crypt(Split, true, true, ""), "");
    Got += Crypt(Split, true, true, Plain.substr(8));
    EXPECT_EQ(Got, Expected);

    Split.ResetChain();
    EXPECT_EQ(Crypt(Split, true, true, Plain), Expected);
}

TEST(BlowfishCipher, ShortCbcValuesUseTheKeystreamOfTheChain) {
    // With no whole block, the output is the input XORed with encrypt(IV); the default IV
    // is encrypt(FF x 8), so the keystream is the key's double encryption of FF x 8.
    TBlowfishCipher C;
    Keyed(C);
    std::string Stream(8, '\xFF');
    C.EncryptBlock(Stream.data(), Stream.data());
    C.EncryptBlock(Stream.data(), Stream.data());
    for (std::size_t Size = 1; Size <= 7; ++Size) {
        C.ResetChain();
        const std::string Plain = Pattern(Size);
        std::string Expected = Plain;
        for (std::size_t I = 0; I < Size; ++I)
            Expected[I] = static_cast<char>(Plain[I] ^ Stream[I]);
        EXPECT_EQ(Crypt(C, true, true, Plain), Expected) << Size;
    }

    // 13 bytes: one chained block, then 5 bytes XORed with the encryption of that block.
    C.ResetChain();
    const std::string Plain = Pattern(13);
    const std::string Cipher = Crypt(C, true, true, Plain);
    std::string Tail = Cipher.substr(0, 8);
    C.EncryptBlock(Tail.data(), Tail.data());
    for (std::size_t I = 8; I < 13; ++I)
        EXPECT_EQ(static_cast<char>(Cipher[I] ^ Tail[I - 8]), Plain[I]);
}

TEST(BlowfishCipher, KeysRepeatCyclically) {
    // A short key is repeated over the mixing, so "A" and "AAAA" key the same cipher, and an
    // explicit IV equal to the default one gives the same output.
    TBlowfishCipher One, Four, WithIV;
    Keyed(One, "A");
    Keyed(Four, "AAAA");
    std::string IV(8, '\xFF');
    One.EncryptBlock(IV.data(), IV.data());
    Keyed(WithIV, "A", IV.data());
    const std::string Plain = Pattern(19);
    const std::string Expected = Crypt(One, true, true, Plain);
    EXPECT_EQ(Crypt(Four, true, true, Plain), Expected);
    EXPECT_EQ(Crypt(WithIV, true, true, Plain), Expected);
}

TEST(BlowfishCipher, ReInitReplacesTheKey) {
    TBlowfishCipher A, B;
    Keyed(A, "first key");
    Keyed(A, "second key");
    Keyed(B, "second key");
    const std::string Plain = Pattern(16);
    EXPECT_EQ(Crypt(A, true, true, Plain), Crypt(B, true, true, Plain));
}

} // namespace
} // namespace quillet

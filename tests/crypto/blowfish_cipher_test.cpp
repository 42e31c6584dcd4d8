#include "crypto/blowfish_cipher.h"

#include <gtest/gtest.h>

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

TBlowfishCipher& Keyed(TBlowfishCipher& C, const std::string& Key = Key16) {
    C.Init(Key.data(), static_cast<std::int32_t>(Key.size() * 8));
    return C;
}

// One chaining call over In, into a separate buffer or in place.
std::string Crypt(TBlowfishCipher& C, bool Cbc, bool Encrypt, std::string In, bool InPlace = false) {
    const auto Op = Cbc ? (Encrypt ? &TBlowfishCipher::EncryptCBC : &TBlowfishCipher::DecryptCBC)
                        : (Encrypt ? &TBlowfishCipher::EncryptCFB8 : &TBlowfishCipher::DecryptCFB8);
    std::string Out(In.size(), '\0');
    (C.*Op)(In.data(), InPlace ? In.data() : Out.data(), static_cast<std::int32_t>(In.size()));
    return InPlace ? In : Out;
}

// Every length 0..64 in both modes, in place and out of place, each from a fresh chain.
TEST(BlowfishCipher, RoundTripsEveryLength) {
    for (const bool Cbc : {true, false}) {
        for (std::size_t Size = 0; Size <= 64; ++Size) {
            SCOPED_TRACE((Cbc ? "CBC size " : "CFB8 size ") + std::to_string(Size));
            const std::string Plain = Pattern(Size);
            TBlowfishCipher C;
            const std::string Cipher = Crypt(Keyed(C), Cbc, true, Plain);
            ASSERT_EQ(Cipher.size(), Size);
            if (Size >= 2) {
                EXPECT_NE(Cipher, Plain); // a test macro holds an if of its own
            }
            C.ResetChain();
            EXPECT_EQ(Crypt(C, Cbc, true, Plain, true), Cipher);
            C.ResetChain();
            EXPECT_EQ(Crypt(C, Cbc, false, Cipher), Plain);
            C.ResetChain();
            EXPECT_EQ(Crypt(C, Cbc, false, Cipher, true), Plain);
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
    void (*const Ops[])(TBlowfishCipher&, const char*, char*) = {
        [](TBlowfishCipher& C, const char* I, char* O) { C.EncryptBlock(I, O); },
        [](TBlowfishCipher& C, const char* I, char* O) { C.DecryptBlock(I, O); },
        [](TBlowfishCipher& C, const char* I, char* O) { C.EncryptCBC(I, O, 8); },
        [](TBlowfishCipher& C, const char* I, char* O) { C.DecryptCBC(I, O, 8); },
        [](TBlowfishCipher& C, const char* I, char* O) { C.EncryptCFB8(I, O, 8); },
        [](TBlowfishCipher& C, const char* I, char* O) { C.DecryptCFB8(I, O, 8); },
    };
    for (const bool AfterWipe : {false, true}) {
        for (std::size_t I = 0; I < std::size(Ops); ++I) {
            SCOPED_TRACE((AfterWipe ? "after Wipe, op " : "fresh, op ") + std::to_string(I));
            TBlowfishCipher C;
            if (AfterWipe)
                Keyed(C).Wipe();
            std::string Out(8, 'z');
            try {
                Ops[I](C, Pattern(8).data(), Out.data());
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
// equal one call over both, and ResetChain starts again from the IV. (Short and partial-block
// values, short keys and explicit IVs are covered by the known answers.)
TEST(BlowfishCipher, ChainContinuesAcrossCalls) {
    const std::string Plain = Pattern(24);
    TBlowfishCipher Whole, Split;
    const std::string Expected = Crypt(Keyed(Whole), true, true, Plain);
    Keyed(Split);
    EXPECT_EQ(Crypt(Split, true, true, ""), "");
    std::string Got = Crypt(Split, true, true, Plain.substr(0, 8));
    EXPECT_EQ(Crypt(Split, true, true, ""), "");
    Got += Crypt(Split, true, true, Plain.substr(8));
    EXPECT_EQ(Got, Expected);
    Split.ResetChain();
    EXPECT_EQ(Crypt(Split, true, true, Plain), Expected);
}

TEST(BlowfishCipher, ReInitReplacesTheKey) {
    TBlowfishCipher A, B;
    Keyed(Keyed(A, "first key"), "second key");
    const std::string Plain = Pattern(16);
    EXPECT_EQ(Crypt(A, true, true, Plain), Crypt(Keyed(B, "second key"), true, true, Plain));
}

} // namespace
} // namespace quillet

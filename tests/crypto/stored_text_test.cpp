// The stored forms of the credentials: hexadecimal text, encryption under a pass phrase and
// the keyless scrambling.
#include "crypto/blowfish.h"
#include "crypto/hex_text.h"
#include "crypto/scramble.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <stdexcept>
#include <string>

namespace quillet {
namespace {

std::string AllBytes() {
    std::string S;
    for (int I = 0; I < 256; ++I)
        S += static_cast<char>(I);
    return S;
}

std::string ErrorOf(const std::function<void()>& Call) {
    try {
        Call();
    } catch (const std::runtime_error& E) {
        return E.what();
    }
    return "(no error)";
}

TEST(HexText, Reading) {
    struct {
        std::string Text, Bytes, Error;
    } const Cases[] = {
        {"4a4B", "JK", ""},
        {"414", "A", ""},
        {"41G", "A", ""}, // the odd last character is ignored, whatever it is
        {"", "", ""},
        {"7", "", ""},
        {"4G", "", "'$4G' is not a valid integer value"},
        {"41zz", "", "'$zz' is not a valid integer value"},
        {" 1", "", "'$ 1' is not a valid integer value"},
        {"-1", "", "'$-1' is not a valid integer value"},
        {"+F", "", "'$+F' is not a valid integer value"},
        {"\x01Z", "", "'$\x01Z' is not a valid integer value"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Text);
        if (C.Error.empty())
            EXPECT_EQ(HexToString(C.Text), C.Bytes);
        else
            EXPECT_EQ(ErrorOf([&] { HexToString(C.Text); }), C.Error);
    }
    const std::string Hex = StringToHex(AllBytes());
    EXPECT_EQ(Hex.substr(0, 8) + Hex.substr(Hex.size() - 6), "00010203FDFEFF");
    EXPECT_EQ(HexToString(Hex), AllBytes());
}

// Empty values, fixed output and lengths are covered by the known answers; what they hold no
// row for is checked here.
TEST(StoredEncryption, KeyDerivationAndEmptyPassPhrase) {
    const TCipherKey Key = DeriveCipherKey("abc");
    EXPECT_EQ(Key[0], 'a');
    EXPECT_EQ(Key[3], 'a');
    EXPECT_EQ(Key[55], 'b'); // 55 mod 3 = 1
    EXPECT_EQ(DeriveCipherKey("abcabc"), Key);
    const std::string Long(56, 'q');
    EXPECT_EQ(DeriveCipherKey(Long + "tail"), DeriveCipherKey(Long + "other"));
    EXPECT_NE(DeriveCipherKey(""), DeriveCipherKey("y"));
    EXPECT_EQ(DeriveCipherKey(""), DeriveCipherKey(std::string_view("\0", 0)));

    const std::string Value("13 bytes \x80\xFF\x00!", 13);
    const std::string Cipher = EncryptString(Value, "secret");
    EXPECT_EQ(EncryptString(Value, "secretsecret"), Cipher);
    const std::string Wrong = DecryptString(Cipher, "Secret");
    EXPECT_EQ(Wrong.size(), 13u);
    EXPECT_NE(Wrong, Value);
    // An empty pass phrase works through its stand-in key.
    EXPECT_EQ(EncryptString(Value, "").size(), 13u);
    EXPECT_EQ(DecryptString(EncryptString(Value, ""), ""), Value);
}

TEST(Scrambling, RoundTripsAndShape) {
    const std::string Bytes = AllBytes();
    for (std::size_t Size = 0; Size <= Bytes.size(); Size += 17) {
        const std::string Value = Bytes.substr(Bytes.size() - Size);
        const std::string S = ScrambleString(Value);
        ASSERT_EQ(S.size(), 2 + 2 * Size);
        EXPECT_EQ(StringToHex(S).size(), 4 + 4 * Size);
        EXPECT_EQ(UnscrambleString(S), Value);
    }
}

// The lead character is 32..254 and the shift character 131..253; both are drawn afresh
// every time, so unchanged values are written differently.
TEST(Scrambling, RandomChoices) {
    std::set<std::string> Seen;
    std::set<int> Leads, Shifts;
    for (int I = 0; I < 5000; ++I) {
        const std::string S = ScrambleString("pw");
        Leads.insert(static_cast<unsigned char>(S[0]));
        Shifts.insert(static_cast<unsigned char>(S[1]));
        for (std::size_t J = 2; J < S.size(); ++J) {
            EXPECT_GE(static_cast<unsigned char>(S[J]), 84);
            EXPECT_LE(static_cast<unsigned char>(S[J]), 233);
        }
        Seen.insert(S);
    }
    EXPECT_EQ(*Leads.begin(), 32);
    EXPECT_EQ(*Leads.rbegin(), 254);
    EXPECT_EQ(*Shifts.begin(), 131);
    EXPECT_EQ(*Shifts.rbegin(), 253);
    EXPECT_GT(Seen.size(), 4000u);
}

TEST(Scrambling, Reading) {
    struct {
        std::string Text, Value, Error;
    } const Cases[] = {
        {"", "", ""},
        {"A", "", ""}, // too short to hold the shift character's value: nothing to read
        {"AB", "", ""},
        {"AB\x01", "", ""},
        {"\xB2\xA1", "", ""},
        {"\x8D\xC9\x9D\x9D", "a", ""},
        {"\x8D\xC9\x9D\x9D\x01", "a", ""}, // odd last character ignored
        // Shift 74: code 0x9E decodes to '5' and 0x01 to 0xCD - not a digit.
        {"\x8D\xC9\x9E\x01", "", "'$5\xCD' is not a valid integer value"},
        // A shift character below 127 gives a negative shift; decoding wraps modulo 256.
        {std::string("\x20\x00\x68\x66", 4), "A", ""},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(StringToHex(C.Text));
        if (C.Error.empty())
            EXPECT_EQ(UnscrambleString(C.Text), C.Value);
        else
            EXPECT_EQ(ErrorOf([&] { UnscrambleString(C.Text); }), C.Error);
    }
}

} // namespace
} // namespace quillet

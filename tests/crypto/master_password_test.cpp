#include "crypto/master_password.h"

#include "crypto/blowfish.h"
#include "crypto/hex_text.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace quillet {
namespace {

TEST(MasterPassword, TestPhraseRecognisesOnlyTheRightPassword) {
    const std::string Stored = MakeTestPhrase("Tr0ub4dor");
    EXPECT_EQ(Stored.size(), 20u); // ten characters of verification text
    EXPECT_EQ(Stored, MakeTestPhrase("Tr0ub4dor"));

    struct {
        std::string Typed;
        bool Opens;
    } const Cases[] = {
        {"Tr0ub4dor", true},  {"Tr0ub4dorTr0ub4dor", true}, // a repetition derives the same key
        {"tr0ub4dor", false},                               // letter case counts
        {"Tr0ub4do", false},  {"", false},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(PasswordOpensTestPhrase(Stored, C.Typed), C.Opens) << C.Typed;
}

TEST(MasterPassword, EmptyEntryNeverOpens) {
    // "x" keys like an empty pass phrase; an empty entry must still not open its file, or
    // the program would go on without a master password over encrypted credentials.
    EXPECT_TRUE(PasswordOpensTestPhrase(MakeTestPhrase("x"), "x"));
    EXPECT_FALSE(PasswordOpensTestPhrase(MakeTestPhrase("x"), ""));
    EXPECT_FALSE(PasswordOpensTestPhrase(MakeTestPhrase(""), ""));
}

TEST(MasterPassword, DamagedTestPhrase) {
    EXPECT_FALSE(PasswordOpensTestPhrase("", "anything"));
    const std::string Stored = MakeTestPhrase("pw");
    EXPECT_FALSE(PasswordOpensTestPhrase(Stored.substr(0, 18), "pw"));
    EXPECT_TRUE(PasswordOpensTestPhrase(Stored + "Z", "pw")); // odd last character ignored
    EXPECT_THROW(PasswordOpensTestPhrase("ZZ" + Stored.substr(2), "pw"), std::runtime_error);
    EXPECT_THROW(PasswordOpensTestPhrase("ZZ", ""), std::runtime_error);
}

} // namespace
} // namespace quillet

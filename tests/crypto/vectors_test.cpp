// Known answers made by an independent implementation of the cipher and the stored formats.
#include "crypto/blowfish.h"
#include "crypto/blowfish_cipher.h"
#include "crypto/hex_text.h"
#include "crypto/protected_text.h"
#include "crypto/scramble.h"
#include "tests/crypto/vector_file.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::Bytes;
using test::ReadVectorFile;

std::int32_t Bits(const std::string& Key) {
    return static_cast<std::int32_t>(Key.size() * 8);
}

TEST(KnownAnswers, BlowfishBlocks) {
    const auto Rows = ReadVectorFile("blowfish_block.tsv");
    ASSERT_EQ(Rows.size(), 62u);
    for (const auto& Row : Rows) {
        SCOPED_TRACE("blowfish_block.tsv line " + std::to_string(Row.Line));
        const std::string Key = Bytes(Row, 0), Plain = Bytes(Row, 1), Cipher = Bytes(Row, 2);
        TBlowfishCipher C;
        C.Init(Key.data(), Bits(Key));
        std::string Out(8, '\0');
        C.EncryptBlock(Plain.data(), Out.data());
        EXPECT_EQ(StringToHex(Out), Row.Columns[2]);
        C.DecryptBlock(Cipher.data(), Out.data());
        EXPECT_EQ(Out, Plain);
    }
}

TEST(KnownAnswers, BlowfishChainingModes) {
    const auto Rows = ReadVectorFile("blowfish_modes.tsv");
    ASSERT_EQ(Rows.size(), 24u);
    for (const auto& Row : Rows) {
        SCOPED_TRACE("blowfish_modes.tsv line " + std::to_string(Row.Line));
        const bool Cbc = Row.Columns[0] == "CBC";
        const auto Encrypt = Cbc ? &TBlowfishCipher::EncryptCBC : &TBlowfishCipher::EncryptCFB8;
        const auto Decrypt = Cbc ? &TBlowfishCipher::DecryptCBC : &TBlowfishCipher::DecryptCFB8;
        const std::string Key = Bytes(Row, 1), IV = Bytes(Row, 2), Plain = Bytes(Row, 3);
        const auto Size = static_cast<std::int32_t>(Plain.size());

        TBlowfishCipher C;
        C.Init(Key.data(), Bits(Key), IV.empty() ? nullptr : IV.data());
        std::string Data = Plain;
        (C.*Encrypt)(Data.data(), Data.data(), Size);
        EXPECT_EQ(StringToHex(Data), Row.Columns[4]);
        C.ResetChain();
        (C.*Decrypt)(Data.data(), Data.data(), Size);
        EXPECT_EQ(Data, Plain);
    }
}

// Each file is read both through the stored forms and through the protected text built on them.
TEST(KnownAnswers, StoredEncrypted) {
    const auto Rows = ReadVectorFile("stored_encrypted.tsv");
    ASSERT_EQ(Rows.size(), 45u);
    for (const auto& Row : Rows) {
        SCOPED_TRACE("stored_encrypted.tsv line " + std::to_string(Row.Line));
        const std::string Phrase = Bytes(Row, 0), Value = Bytes(Row, 1), Stored = Row.Columns.at(2);
        EXPECT_EQ(StringToHex(EncryptString(Value, Phrase)), Stored);
        EXPECT_EQ(DecryptString(HexToString(Stored), Phrase), Value);
        EXPECT_EQ(ProtectText(Value, Phrase), Stored);
        EXPECT_EQ(UnprotectText(Stored, Phrase), Value);
    }
}

TEST(KnownAnswers, StoredScrambled) {
    const auto Rows = ReadVectorFile("stored_scrambled.tsv");
    ASSERT_EQ(Rows.size(), 21u);
    for (const auto& Row : Rows) {
        SCOPED_TRACE("stored_scrambled.tsv line " + std::to_string(Row.Line));
        EXPECT_EQ(UnscrambleString(HexToString(Row.Columns.at(1))), Bytes(Row, 0));
        EXPECT_EQ(UnprotectText(Row.Columns.at(1), ""), Bytes(Row, 0));
    }
}

} // namespace
} // namespace quillet

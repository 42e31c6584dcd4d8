// Known answers made by an independent implementation of the cipher and the stored formats.
#include "crypto/blowfish.h"
#include "crypto/blowfish_cipher.h"
#include "crypto/hex_text.h"
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
        const std::string Key = Bytes(Row, 1), IV = Bytes(Row, 2), Plain = Bytes(Row, 3),
                          Cipher = Bytes(Row, 4);
        const void* IVector = IV.empty() ? nullptr : IV.data();
        const auto Size = static_cast<std::int32_t>(Plain.size());

        TBlowfishCipher C;
        C.Init(Key.data(), Bits(Key), IVector);
        std::string Data = Plain;
        if (Cbc)
            C.EncryptCBC(Data.data(), Data.data(), Size);
        else
            C.EncryptCFB8(Data.data(), Data.data(), Size);
        EXPECT_EQ(StringToHex(Data), Row.Columns[4]);

        C.ResetChain();
        if (Cbc)
            C.DecryptCBC(Data.data(), Data.data(), Size);
        else
            C.DecryptCFB8(Data.data(), Data.data(), Size);
        EXPECT_EQ(Data, Plain);
        EXPECT_EQ(Cipher.size(), Plain.size());
    }
}

TEST(KnownAnswers, StoredEncrypted) {
    const auto Rows = ReadVectorFile("stored_encrypted.tsv");
    ASSERT_EQ(Rows.size(), 45u);
    for (const auto& Row : Rows) {
        SCOPED_TRACE("stored_encrypted.tsv line " + std::to_string(Row.Line));
        const std::string Phrase = Bytes(Row, 0), Value = Bytes(Row, 1);
        EXPECT_EQ(StringToHex(EncryptString(Value, Phrase)), Row.Columns[2]);
        EXPECT_EQ(DecryptString(HexToString(Row.Columns[2]), Phrase), Value);
    }
}

TEST(KnownAnswers, StoredScrambled) {
    const auto Rows = ReadVectorFile("stored_scrambled.tsv");
    ASSERT_EQ(Rows.size(), 21u);
    for (const auto& Row : Rows) {
        SCOPED_TRACE("stored_scrambled.tsv line " + std::to_string(Row.Line));
        EXPECT_EQ(UnscrambleString(HexToString(Row.Columns[1])), Bytes(Row, 0));
    }
}

} // namespace
} // namespace quillet

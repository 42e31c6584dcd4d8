// Base64, quoted-printable and uuencode decoding of encoded-word texts.
#include "mail/decoders.h"
#include "mail/mail_format_error.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

struct Row {
    std::string input;
    std::string output;
};

TEST(Base64Decode, Quartets) {
    const Row rows[] = {
        {"SGVsbG8=", "Hello"},
        {"SGVsbA==", "Hell"},
        {"SGVs", "Hel"},
        {"SGVsbG8", "Hel"}, // characters after the last whole quartet are ignored
        {"", ""},
        {"/+/+", "\xff\xef\xfe"},
        {"=AAA", ""},                             // a quartet starting with "=" gives nothing
        {"=AAASGVs", "Hel"},                      // ... and decoding goes on after it
        {"S!!!", std::string("\x48\x00\x00", 3)}, // characters outside the alphabet count as 0
    };
    for (const auto& row : rows) {
        std::string out = "previous";
        EXPECT_EQ(DecodeBase64(row.input, out), static_cast<int>(row.output.size())) << row.input;
        EXPECT_EQ(out, row.output) << row.input;
    }
}

TEST(QuotedPrintableDecode, EscapesAndSoftBreaks) {
    const Row rows[] = {
        {"Caf=E9", "Caf\xe9"},
        {"A=3D=0", "A==0"}, // a decoded "=" is not examined again; "=" + one character stays
        {"A=3D41", "A=41"},
        {"end=", "end"}, // a final "=" is dropped
        {"=", ""},
        {"=e9", "=e9"}, // lower-case escapes stay
        {"a=\r\nb", "ab"},
        {"a=\n\rb", "ab"},
        {"a=\nb", "ab"},
        {"a=\r\rb", "a\rb"},
        {"a=\n", "a=\n"}, // only one character after "=": it stays
        {"=G1x", "=G1x"},
        {"==41", "=A"},
        {std::string("=00", 3), std::string(1, '\0')},
    };
    for (const auto& row : rows)
        EXPECT_EQ(DecodeQuotedPrintable(row.input), row.output) << row.input;
}

TEST(UUDecode, Values) {
    EXPECT_EQ(UUValue(' '), 0);
    EXPECT_EQ(UUValue('`'), 0);
    EXPECT_EQ(UUValue('!'), 1);
    EXPECT_EQ(UUValue('_'), 63);
    for (const char bad : {'a', '~', '\0', '\t', '\x80'}) {
        try {
            UUValue(bad);
            ADD_FAILURE() << "no error for code " << static_cast<int>(static_cast<unsigned char>(bad));
        } catch (const TMailFormatError& e) {
            EXPECT_STREQ(e.what(), "UUCODE message format error");
        }
    }
}

TEST(UUDecode, Lines) {
    const Row rows[] = {
        {"", ""},
        {"#0V%T", "Cat"},
        {"%2&5L;&\\", "Hello"},
        {"%2&5L", std::string("Hel\0\0", 5)}, // bits beyond the characters read as zeros
        {" ", ""},
        {"!", std::string(1, '\0')},
    };
    for (const auto& row : rows) {
        std::string out = "previous";
        EXPECT_EQ(DecodeUULine(row.input, out), static_cast<int>(row.output.size())) << row.input;
        EXPECT_EQ(out, row.output) << row.input;
    }
}

TEST(UUDecode, FullLineReadsExactlySixtyCharacters) {
    // 45 bytes announced ("M"): 60 characters follow; the bad character after them is not read.
    const std::string line = "M" + std::string(60, '!') + "a";
    std::string out;
    ASSERT_EQ(DecodeUULine(line, out), 45);
    EXPECT_EQ(out.substr(0, 3), "\x04\x10\x41");
    EXPECT_THROW(DecodeUULine("M" + std::string(59, '!') + "a", out), TMailFormatError);
    // More than 45 bytes announced: at most 45 are written.
    EXPECT_EQ(DecodeUULine("_" + std::string(70, '!'), out), 45);
}

} // namespace
} // namespace quillet

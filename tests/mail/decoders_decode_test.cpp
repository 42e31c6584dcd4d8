// Base64, quoted-printable and uuencode decoding of encoded-word texts.
#include "mail/decoders.h"
#include "mail/mail_format_error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quillet {
namespace {

using namespace std::string_literals;

// Both decoders replace the output and return the number of bytes written.
TEST(Decoders, Base64QuartetsAndUULines) {
    struct Row {
        int (*decode)(std::string_view, std::string&);
        std::string input, output;
    } rows[] = {
        {DecodeBase64, "SGVsbG8=", "Hello"},
        {DecodeBase64, "SGVsbA==", "Hell"},
        {DecodeBase64, "SGVs", "Hel"},
        {DecodeBase64, "SGVsbG8", "Hel"}, // characters after the last whole quartet are ignored
        {DecodeBase64, "", ""},
        {DecodeBase64, "/+/+", "\xff\xef\xfe"},
        {DecodeBase64, "=AAA", ""},              // a quartet starting with "=" gives nothing
        {DecodeBase64, "=AAASGVs", "Hel"},       // ... and decoding goes on after it
        {DecodeBase64, "S!!!", "\x48\x00\x00"s}, // characters outside the alphabet count as 0
        {DecodeUULine, "", ""},
        {DecodeUULine, "#0V%T", "Cat"},
        {DecodeUULine, "%2&5L;&\\", "Hello"},
        {DecodeUULine, "%2&5L", "Hel\0\0"s}, // bits beyond the characters read as zeros
        {DecodeUULine, " ", ""},
        {DecodeUULine, "!", "\0"s},
    };
    for (const auto& row : rows) {
        std::string out = "previous";
        EXPECT_EQ(row.decode(row.input, out), static_cast<int>(row.output.size())) << row.input;
        EXPECT_EQ(out, row.output) << row.input;
    }
}

TEST(Decoders, QuotedPrintableEscapesAndSoftBreaks) {
    const std::pair<std::string, std::string> rows[] = {
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
        {"=00", "\0"s},
    };
    for (const auto& [input, output] : rows)
        EXPECT_EQ(DecodeQuotedPrintable(input), output) << input;
}

TEST(Decoders, UUValues) {
    for (const auto& [c, value] : {std::pair{' ', 0}, {'`', 0}, {'!', 1}, {'_', 63}})
        EXPECT_EQ(UUValue(c), value) << c;
    for (const char bad : {'a', '~', '\0', '\t', '\x80'})
        EXPECT_THAT([&] { UUValue(bad); },
                    testing::ThrowsMessage<EMailFormatError>(testing::StrEq("UUCODE message format error")))
            << static_cast<int>(static_cast<unsigned char>(bad));
}

TEST(Decoders, FullUULineReadsExactlySixtyCharacters) {
    // 45 bytes announced ("M"): 60 characters follow; the bad character after them is not read.
    std::string out;
    ASSERT_EQ(DecodeUULine("M" + std::string(60, '!') + "a", out), 45);
    EXPECT_EQ(out.substr(0, 3), "\x04\x10\x41");
    EXPECT_THROW(DecodeUULine("M" + std::string(59, '!') + "a", out), EMailFormatError);
    // More than 45 bytes announced: at most 45 are written.
    EXPECT_EQ(DecodeUULine("_" + std::string(70, '!'), out), 45);
}

} // namespace
} // namespace quillet

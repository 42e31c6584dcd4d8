// Encoded-word decoding: word boundaries, encodings, character set conversion, re-examination
// of decoded text and hostile input.
#include "mail/encoded_words.h"
#include "mail/mail_format_error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quillet {
namespace {

std::string Repeat(const std::string& Part, int Times) {
    std::string s;
    for (int i = 0; i < Times; ++i)
        s += Part;
    return s;
}

TEST(EncodedWordsDecode, WordsAndCharsets) {
    const std::pair<std::string, std::string> rows[] = {
        {"=?utf-8?B?SGVsbG8=?=", "Hello"},
        {"  plain text  ", "plain text"},
        {"=?x?Q?=41?=", "A"}, // the end is found after the escape, not right after the letter
        {"=?x?q?a_b?=", "a b"},
        {"=?x?Q?a_=5F?=", "a _"},               // only a literal "_" is a space
        {"=?x?b?SGk=?= =?x?B?SGk=?=", "Hi Hi"}, // the blank between adjacent words stays
        {"=?x?B?SGk=?==?x?B?SGk=?=", "HiHi"},
        {"=?x?Z?a=41?=", "aA"}, // an unknown encoding letter means Q
        {"=?x?Bx?=", ""},       // no "?" after the letter: Q, the first two characters dropped
        {"=?x?\?=", ""},
        {"=?x?B?\?=", ""}, // empty encoded text
        {"=?x?U?#0V%T?=", "Cat"},
        {"=?x?U?%2&5L?=", "Hel"},   // the zero bytes after the announced count are cut
        {"=?x?B?SGkASGk=?=", "Hi"}, // base64 bytes are cut at the first zero byte
        {"a =?x?Q?b", "a =?x?Q?b"}, // no end: the rest stays
        {"=?nothing", "=?nothing"},
        {"=?x?Q?a?= =?x?Q?b", "a =?x?Q?b"},       // a malformed word stops decoding
        {"=?x?Q?=3D=3Fx=3FQ=3Fin=3F=3D?=", "in"}, // decoded text is examined again
        {"==?x?Q?=3Fx=3FQ=3Fz?=?=", "z"},         // ... also where it meets the text before it
        {"x=?x?Q?=3F?=y", "x?y"},
        {"=?", "=?"},
        {"?=?=", "?=?="},
        // Character sets convert to UTF-8.
        {"=?iso-8859-1?Q?Caf=E9_au_lait?=", "Caf\xc3\xa9 au lait"},
        {"=?ISO-8859-1?Q?Jos=E9?=", "Jos\xc3\xa9"},
        {"=?iso-8859-1*fr?Q?=E9?=", "\xc3\xa9"},
        {"=?windows-1252?Q?=80_=93x=94?=", "\xe2\x82\xac \xe2\x80\x9cx\xe2\x80\x9d"},
        {"=?utf-8?Q?Caf=C3=A9?=", "Caf\xc3\xa9"},
        {"=?utf-8?Q?bad=E9?=", "bad\xe9"}, // not UTF-8: the bytes stay
        {"=?utf-8?Q?cut=C3?=", "cut\xc3"}, // an incomplete sequence is not lost
        {"=?koi8-r?B?8NLJ18XU?=", "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82"}, // "Привет"
        {"=?x-unknown-set?Q?=E9?=", "\xe9"}, // unknown set: the bytes stay
        {"=?\?Q?=E9?=", "\xe9"},
        {"=?bad name?Q?=E9?=", "\xe9"},
        {"=?gb2312?B?1tDOxA==?=", "\xe4\xb8\xad\xe6\x96\x87"},              // "中文"
        {"=?iso-2022-jp?B?GyRCRnxLXBsoQg==?=", "\xe6\x97\xa5\xe6\x9c\xac"}, // "日本"
        {"=?utf-16be?Q?=00H=00i?=", "Hi"},
        {"a =?utf-16?Q?A?= b", "a A b"}, // half a UTF-16 unit: the byte stays
        {"=?utf-16le?Q?ABC?=", "ABC"},
        {"=?utf-16le?Q?=01=D8?=", "\x01\xd8"}, // a lone surrogate: the bytes stay
        {"=?utf-32?Q?AB?=", "AB"},
        // The converted text is longer than its word.
        {"ab =?iso-8859-1?B?" + Repeat("6enp", 10) + "?= cd =?x?Q?e?=",
         "ab " + Repeat("\xc3\xa9", 30) + " cd e"},
    };
    for (const auto& [input, output] : rows)
        EXPECT_EQ(DecodeEncodedWords(input), output) << input;
    EXPECT_THAT([] { DecodeEncodedWords("ok =?x?U?#abc?="); },
                testing::ThrowsMessage<EMailFormatError>(testing::StrEq("UUCODE message format error")));
}

TEST(EncodedWordsDecode, HostileInputStaysBounded) {
    // Words nested inside Latin-1 words with their accented bytes left raw: every level turns
    // each such byte into two, so keeping every converted text would double the text per level.
    std::string text = "=?iso-8859-1?Q?\xe9\xe9\xe9\xe9?=";
    for (int level = 0; level < 24; ++level) {
        std::string escaped;
        for (const char c : text)
            escaped += c == '=' ? std::string("=3D") : c == '?' ? std::string("=3F") : std::string(1, c);
        text = "=?iso-8859-1?Q?" + escaped + "?=";
    }
    EXPECT_EQ(DecodeEncodedWords("=?iso-8859-1?Q?=3D=3Fiso-8859-1=3FQ=3F\xe9=3F=3D?="), "\xc3\x83\xc2\xa9");
    EXPECT_LE(DecodeEncodedWords(text).size(), 3 * text.size() + 1024);
    // Unterminated words, lone markers and many "?" characters.
    for (const std::string& text : {Repeat("?", 100000), Repeat("=", 100000), Repeat("=?a", 30000)})
        EXPECT_TRUE(DecodeEncodedWords(text) == text) << text.substr(0, 12);
}

} // namespace
} // namespace quillet

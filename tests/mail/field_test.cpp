// Header field look-up: trimming, line matching, value extraction and quote stripping.
#include "mail/field_value.h"
#include "util/strings.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using Rows = std::vector<std::pair<const char*, const char*>>;

TEST(FieldValue, TrimSpaceRemovesOnlySpaces) {
    for (const auto& [text, trimmed] : Rows{{"  a b  ", "a b"}, {"\ta ", "\ta"}, {"    ", ""}, {"", ""}})
        EXPECT_EQ(TrimSpace(text), trimmed) << text;
}

TEST(FieldValue, FindFieldLineCountsMatchesAndIgnoresLetterCase) {
    const std::vector<std::string> lines = {"SUBJECT: one", "Sub", "subject: two", "", "Subject: body"};
    EXPECT_EQ(FindFieldLine(lines, "subject:", 0), 0);
    EXPECT_EQ(FindFieldLine(lines, "subject:", 1), 2);
    EXPECT_EQ(FindFieldLine(lines, "subject:", 2), 4); // body lines are searched too
    EXPECT_EQ(FindFieldLine(lines, "subject:", 3), -1);
    EXPECT_EQ(FindFieldLine(lines, "Subj", 0), 0); // "Sub" is shorter than the prefix
    EXPECT_EQ(FindFieldLine({}, "x", 0), -1);
}

TEST(FieldValue, ExtractFieldValue) {
    const Rows rows = {
        {"Subject: Re: lunch; today", "Re: lunch"}, // cut at the first semicolon
        {"Content-Type: text/plain; charset=us-ascii", "text/plain"},
        {"X-Tag: \"a;b\"", "a;b"},
        {"X-Tag: \"a\" b; c", "\"a\" b"},
        {"X-Tag: \"", ""},
        {"X-Tag:\"\"", ""},
        {"\"odd:name\": value", "value"},
        {"No colon here", ""},
        {"Empty:", ""},
        {"Time: 08:12:31", "08:12:31"},
    };
    for (const auto& [line, value] : rows)
        EXPECT_EQ(ExtractFieldValue(line), value) << line;
}

TEST(FieldValue, FieldValueInHeader) {
    const std::vector<std::string> header =
        SplitTextLines("SUBJECT: Hello\r\nTo: first\r\nTo: second\r\nX-Folded: start\r\n\tcontinued\r\n"
                       "X-Single: 'single'\r\nX-Two: ''\r\nX-Mixed: \"mixed'\r\nX-Spaced : no\r\n\r\n"
                       "Body: text\r\n");
    const Rows rows = {
        {"subject", "Hello"},   {"To", "first"}, {"X-Folded", "start"}, // first physical line only
        {"X-Single", "single"}, {"X-Two", "''"}, {"X-Mixed", "mixed"},
        {"X-Spaced", ""},       {"Missing", ""}, {"Body", "text"},
    };
    for (const auto& [name, value] : rows)
        EXPECT_EQ(FieldValueIn(header, name), value) << name;
}

} // namespace
} // namespace quillet

// Header field look-up: trimming, line matching, value extraction and quote stripping.
#include "mail/field_value.h"
#include "util/strings.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(FieldValue, TrimSpaceRemovesOnlySpaces) {
    EXPECT_EQ(TrimSpace("  a b  "), "a b");
    EXPECT_EQ(TrimSpace("\ta "), "\ta");
    EXPECT_EQ(TrimSpace("    "), "");
    EXPECT_EQ(TrimSpace(""), "");
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

struct ExtractRow {
    const char* line;
    const char* value;
};

TEST(FieldValue, ExtractFieldValue) {
    const ExtractRow rows[] = {
        {"Subject: Re: lunch; today", "Re: lunch"},
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
    for (const auto& row : rows)
        EXPECT_EQ(ExtractFieldValue(row.line), row.value) << row.line;
}

struct FieldRow {
    const char* name;
    const char* value;
};

TEST(FieldValue, FieldValueInHeader) {
    const std::vector<std::string> header = SplitTextLines("SUBJECT: Hello\r\n"
                                                           "To: first\r\n"
                                                           "To: second\r\n"
                                                           "X-Folded: start\r\n"
                                                           "\tcontinued\r\n"
                                                           "X-Single: 'single'\r\n"
                                                           "X-Two: ''\r\n"
                                                           "X-Mixed: \"mixed'\r\n"
                                                           "X-Spaced : no\r\n"
                                                           "\r\n"
                                                           "Body: text\r\n");
    const FieldRow rows[] = {
        {"subject", "Hello"},   {"To", "first"}, {"X-Folded", "start"},
        {"X-Single", "single"}, {"X-Two", "''"}, {"X-Mixed", "mixed"},
        {"X-Spaced", ""},       {"Missing", ""}, {"Body", "text"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FieldValueIn(header, row.name), row.value) << row.name;
}

} // namespace
} // namespace quillet

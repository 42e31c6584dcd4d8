#include "util/strings.h"

#include <gtest/gtest.h>

using namespace quillet;

TEST(Strings, StartsWithText) {
    struct Row {
        const char* s;
        const char* p;
        bool expected;
    } rows[] = {
        {"+OK done", "+", true}, {"Abcd", "aB", true}, {"abc", "", false},
        {"", "", false},         {"ab", "abc", false}, {"-ERR", "+", false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(StartsWithText(r.s, r.p), r.expected) << r.s << " / " << r.p;
}

TEST(Strings, NextTokenWalksThroughEmptyFields) {
    int pos = 1;
    const std::string s = "10,20,,30";
    EXPECT_EQ(NextToken(s, pos, ","), "10");
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(NextToken(s, pos, ","), "20");
    EXPECT_EQ(pos, 6);
    EXPECT_EQ(NextToken(s, pos, ","), "30");
    EXPECT_EQ(pos, 10);
    EXPECT_EQ(NextToken(s, pos, ","), "");
    EXPECT_EQ(pos, 10);
}

TEST(Strings, NextTokenEdges) {
    struct Row {
        const char* s;
        const char* delims;
        int pos;
        const char* token;
        int posAfter;
    } rows[] = {
        {",,a", ",", 1, "a", 4}, {",,a", ",", 0, "", 0},     {",,a", ",", -3, "", -3},
        {"abc", ",", 9, "", 9},  {"a b;c", " ;", 1, "a", 2}, {"a b;c", " ;", 2, "b", 4},
        {",,,", ",", 1, "", 4},  {"", ",", 1, "", 1},        {"abc", "", 1, "abc", 4},
    };
    for (const auto& r : rows) {
        int pos = r.pos;
        EXPECT_EQ(NextToken(r.s, pos, r.delims), r.token) << r.s << " from " << r.pos;
        EXPECT_EQ(pos, r.posAfter) << r.s << " from " << r.pos;
    }
}

TEST(Strings, FindMarkedTextAndValueAfter) {
    struct Row {
        const char* s;
        const char* marker;
        const char* ends;
        int pos;
        const char* found;
        int posAfter;
    } rows[] = {
        {"x=1;y=2", "y=", ";", 1, "y=2", 5},    {"x=1;y=2", "z=", ";", 1, "", 0},
        {"x=1;y=2", "x=", ";", 0, "x=1", 1},    {"x=1;y=2", "x=", ";", 2, "", 0},
        {"x=1;y=2", "x=", "", 1, "x=1;y=2", 1}, {"x=1", "x=", ";", 50, "", 0},
    };
    for (const auto& r : rows) {
        int pos = r.pos;
        EXPECT_EQ(FindMarkedText(r.s, r.marker, r.ends, pos), r.found) << r.s << " " << r.marker;
        EXPECT_EQ(pos, r.posAfter) << r.s << " " << r.marker;
    }
    EXPECT_EQ(ValueAfter("act=1,builtin=0,path=C:\\a.wav", "path=", ","), "C:\\a.wav");
    EXPECT_EQ(ValueAfter("act=1,builtin=0,path=C:\\a.wav", "act=", ","), "1");
    EXPECT_EQ(ValueAfter("path=C:\\My,file.wav", "path=", ","), "C:\\My");
    EXPECT_EQ(ValueAfter("react=5", "act=", ","), "5"); // the first occurrence counts, inside a word too
    EXPECT_EQ(ValueAfter("a=1", "b=", ","), "");
}

TEST(Strings, DecimalParsersAcceptWhatTheirNamesSay) {
    struct Row {
        const char* s;
        std::optional<std::int32_t> signedDecimal, spaceLed;
    } rows[] = {
        {"42", 42, 42},
        {"+5", 5, 5},
        {"-7", -7, -7},
        {"  9", std::nullopt, 9},
        {"9 ", std::nullopt, std::nullopt},
        {"+-5", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"-2147483648", INT32_MIN, INT32_MIN},
        {"2147483648", std::nullopt, std::nullopt},
        {"\t1", std::nullopt, std::nullopt},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(ParseSignedDecimal(r.s), r.signedDecimal) << '"' << r.s << '"';
        EXPECT_EQ(ParseSpaceLedDecimal(r.s), r.spaceLed) << '"' << r.s << '"';
    }
}

TEST(Strings, TrimmingAndCaseFolding) {
    EXPECT_EQ(TrimSpaces(" \ta b\t "), "\ta b\t");
    EXPECT_EQ(TrimBlanks(" \ta b\t "), "a b");
    EXPECT_EQ(TrimControls("\x01\r a b\n"), "a b");
    EXPECT_TRUE(SameTextAscii("Accounts", "aCCOUNTS"));
    EXPECT_FALSE(SameTextAscii("\xC4", "\xE4")); // only ASCII letters fold
    EXPECT_FALSE(SameTextAscii("ab", "abc"));
}

TEST(Strings, StrToIntSafe) {
    struct Row {
        const char* s;
        int expected;
    } rows[] = {
        {"  42 ", 42},
        {"4 2", 0},
        {"", 0},
        {"-7", -7},
        {"2147483647", 2147483647},
        {"2147483648", 0},
        {"-2147483648", -2147483647 - 1},
        {"99999999999", 0},
        {"\t\r\n13\x01", 13},
        {"+5", 5},
        {"0x10", 0},
        {"12abc", 0},
        {"-", 0},
        {"--1", 0},
        {"+-5", 0}, // one sign only
        {"-+5", 0},
    };
    for (const auto& r : rows)
        EXPECT_EQ(StrToIntSafe(r.s), r.expected) << '"' << r.s << '"';
}

TEST(Strings, Cuts) {
    EXPECT_EQ(TakeLeft("abc", 2), "ab");
    EXPECT_EQ(TakeLeft("abc", 5), "abc");
    EXPECT_EQ(TakeLeft("abc", 0), "");
    EXPECT_EQ(TakeLeft("abc", -1), "");
    EXPECT_EQ(TakeRight("ab", 3), "");
    EXPECT_EQ(TakeRight("ab", 2), "ab");
    EXPECT_EQ(TakeRight("abc", 0), "");
    EXPECT_EQ(DropRight("123 KB", 3), "123");
    EXPECT_EQ(DropRight("KB", 3), "");
    EXPECT_EQ(DropRight("KB", 2), "");
    EXPECT_EQ(DropRight("abc", 0), "abc");
    EXPECT_EQ(DropRight("", 0), "");
    EXPECT_EQ(PadLeftWith("7", 2, '0'), "07");
    EXPECT_EQ(PadLeftWith("123", 2, '0'), "123");
    EXPECT_EQ(PadLeftWith("", 3, '*'), "***");
    EXPECT_EQ(TrimRightChar("a.b.,,", ','), "a.b.");
    EXPECT_EQ(TrimRightChar(",,,", ','), "");
    EXPECT_EQ(AppendPathPart("C:\\App\\", "x.ini"), "C:\\App\\x.ini");
    EXPECT_EQ(AppendPathPart("C:\\App", "x.ini"), "C:\\App\\x.ini");
    EXPECT_EQ(AppendPathPart("", "x.ini"), "\\x.ini");
    EXPECT_EQ(AppendPathPart("/home/u/.config/Quillet/", "Quillet.ini"),
              "/home/u/.config/Quillet/Quillet.ini");
    EXPECT_EQ(PosFrom("b", "abcb", 1), 2);
    EXPECT_EQ(PosFrom("b", "abcb", 3), 4);
    EXPECT_EQ(PosFrom("b", "abcb", 5), 0);
    EXPECT_EQ(PosFrom("x", "abcb", 1), 0);
    EXPECT_EQ(PosFrom("b", "abcb", 0), 0);
}

TEST(Strings, Checksums) {
    EXPECT_EQ(ByteSumHex(""), "00");
    EXPECT_EQ(ByteSumHex("abc"), "26");
    EXPECT_EQ(ByteSumHex(std::string("\xFF\x01", 2)), "00");
    EXPECT_EQ(ByteSumHex(std::string(1, '\x0A')), "0A");
    EXPECT_EQ(LinesChecksum({"a", "b"}, 2), "");
    EXPECT_EQ(LinesChecksum({"a", "b", "abc", ""}, 2), "2600");
    EXPECT_EQ(LinesChecksum({"a", "b"}, 0), "6162");
}

TEST(Strings, SplitAndJoinLines) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitTextLines("a\r\nb\r\n"), (V{"a", "b"}));
    EXPECT_EQ(SplitTextLines("a\nb"), (V{"a", "b"}));
    EXPECT_EQ(SplitTextLines("a\r\r\nb"), (V{"a", "", "b"}));
    EXPECT_EQ(SplitTextLines("\r\n"), (V{""}));
    EXPECT_EQ(SplitTextLines(""), V{});
    EXPECT_EQ(JoinTextLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

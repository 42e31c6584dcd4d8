// The POP3 client's pure text rules: listing parse, TOP text, numeric hosts, safe arguments.
#include "mail/pop3_text.h"

#include <gtest/gtest.h>

using namespace quillet;

namespace {

TEST(Pop3Listing, CountAndSizes) {
    struct Row {
        const char* reply;
        int count;
        std::vector<std::int32_t> sizes;
    } rows[] = {
        {"+OK\r\n.\r\n", 0, {}},
        {"+OK 2 messages\r\n1 120\r\n2 4000\r\n.\r\n", 2, {0, 120, 4000}},
        {"+OK\r\n1 120\r\n3 80\r\n.\r\n", 3, {0, 120, 0, 80}}, // a gap
        {"+OK\r\n1 120\r\n7\r\n.\r\n", -1, {}},                // last line without a size
        {"+OK\r\n1 12x\r\n2  55\r\n.\r\n", 2, {0, 0, 55}},     // size not a number; extra blank
        {"+OK\n1 5\n2 6\n.\n", 2, {0, 5, 6}},                  // bare LF line ends
        {"+OK\r\n  1 5  \r\n.\r\n", 1, {0, 0}},                // size after the first blank
        {"+OK\r\nabc def\r\n.\r\n", -1, {}},                   // last line not a number
    };
    for (const auto& r : rows) {
        const std::string reply(r.reply);
        std::int32_t count = 99;
        std::vector<std::int32_t> sizes;
        ParseListing(reply, count, sizes);
        EXPECT_EQ(count, r.count) << r.reply;
        EXPECT_EQ(sizes, r.sizes) << r.reply;
    }
}

TEST(Pop3Listing, ZeroByteEndsTheText) {
    static const char raw[] = "+OK\r\n1 5\r\n2 6\r\n.\r\n\0003 9\r\n.\r\n";
    const std::string reply(raw, sizeof raw - 1);
    std::int32_t count = 0;
    std::vector<std::int32_t> sizes;
    ParseListing(reply, count, sizes);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(sizes, (std::vector<std::int32_t>{0, 5, 6}));
}

TEST(Pop3Listing, MalformedLinesRaiseTheConversionError) {
    struct Row {
        const char* reply;
        const char* message;
    } rows[] = {
        {"+OK\r\nx1 5\r\n2 6\r\n.\r\n", "'x1' is not a valid integer value"},
        {"+OK\r\n1\r\n2 6\r\n.\r\n", "'' is not a valid integer value"},
        {"+OK\r\n-5 6\r\n2 6\r\n.\r\n", "'-5' is not a valid integer value"},
        {"+OK\r\n2000000000 6\r\n.\r\n", "'2000000000' is not a valid integer value"},
        {"+OK\r\n10000001 6\r\n.\r\n", "'10000001' is not a valid integer value"},
    };
    for (const auto& r : rows) {
        std::int32_t count = 0;
        std::vector<std::int32_t> sizes;
        try {
            ParseListing(r.reply, count, sizes);
            ADD_FAILURE() << "no error for " << r.reply;
        } catch (const EPop3ListingError& e) {
            EXPECT_STREQ(e.what(), r.message);
        }
        EXPECT_LE(sizes.size(), 3u) << r.reply;
    }
}

TEST(Pop3Top, TextWithoutStatusAndDotLines) {
    struct Row {
        const char* reply;
        const char* text;
    } rows[] = {
        {"+OK\r\nSubject: a\r\n\r\n.\r\n", "Subject: a\r\n\r\n"},
        {"+OK\r\nA: b\r\n\r\nline 1\r\n..dot\r\n.\r\n", "A: b\r\n\r\nline 1\r\n..dot\r\n"},
        {"+OK\r\n.\r\n", ""},
        {"", ""},
    };
    for (const auto& r : rows)
        EXPECT_EQ(TopTextFromReply(r.reply), r.text) << r.reply;
}

TEST(Pop3Host, NumericAddressOrName) {
    const std::pair<const char*, bool> rows[] = {
        {"10.1.2.3", true},  {"127.0.0.1", true},         {"10", true},
        {"10.1..3", false},  {".10.1.2", false},          {"10.1.2.", false},
        {"", false},         {"mail.example.com", false}, {"10.1.2.3a", false},
        {"-1.2.3.4", false}, {"99999999999.1", false},
    };
    for (const auto& [host, numeric] : rows)
        EXPECT_EQ(IsNumericHost(host), numeric) << host;
}

TEST(Pop3Argument, LineBreaksAndZeroBytesAreUnsafe) {
    EXPECT_TRUE(IsSafeArgument("secret pass:word"));
    EXPECT_TRUE(IsSafeArgument(""));
    for (const std::string& bad :
         {std::string("a\r\nDELE 1"), std::string("a\nb"), std::string("a\rb"), std::string("a\0b", 3)})
        EXPECT_FALSE(IsSafeArgument(bad));
}

} // namespace

// The POP3 client's pure text rules: listing parse, TOP text, numeric hosts, safe arguments.
#include "mail/pop3_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace quillet;
using namespace std::string_literals;

namespace {

TEST(Pop3Listing, CountAndSizes) {
    struct Row {
        std::string reply;
        int count;
        std::vector<std::int32_t> sizes;
    } rows[] = {
        {"+OK\r\n.\r\n", 0, {}},
        {"+OK 2 messages\r\n1 120\r\n2 4000\r\n.\r\n", 2, {0, 120, 4000}},
        {"+OK\r\n1 120\r\n3 80\r\n.\r\n", 3, {0, 120, 0, 80}},           // a gap
        {"+OK\r\n1 120\r\n7\r\n.\r\n", -1, {}},                          // last line without a size
        {"+OK\r\n1 12x\r\n2  55\r\n.\r\n", 2, {0, 0, 55}},               // size not a number; extra blank
        {"+OK\n1 5\n2 6\n.\n", 2, {0, 5, 6}},                            // bare LF line ends
        {"+OK\r\n  1 5  \r\n.\r\n", 1, {0, 0}},                          // size after the first blank
        {"+OK\r\nabc def\r\n.\r\n", -1, {}},                             // last line not a number
        {"+OK\r\n1 1\0 0\r\n2 20\r\n3 30\r\n.\r\n"s, 3, {0, 0, 20, 30}}, // a zero byte is data
        {"+OK\r\n2 7\r\n4 9\r\n1 5\r\n3 8\r\n.\r\n", 3, {0, 5, 0, 8}},   // out of order: 4 is cut away
        {"+OK\r\n3 8\r\n1 5\r\n2 6\r\n.\r\n", 2, {0, 5, 6}},             // a cut entry grows back as 0
        {"+OK\r\n3 8\r\n0 1\r\n3 9\r\n.\r\n", 3, {0, 0, 0, 9}},
    };
    for (const auto& r : rows) {
        std::int32_t count = 99;
        std::vector<std::int32_t> sizes;
        ParseListing(r.reply, count, sizes);
        EXPECT_EQ(count, r.count) << r.reply;
        EXPECT_EQ(sizes, r.sizes) << r.reply;
    }
}

TEST(Pop3Listing, NumbersJumpingUpAndDownStayCheap) {
    // Each line sets the table's length, so a listing that alternates a huge number and 1 would
    // cut and refill ten million entries per line if it were applied line by line.
    std::string reply = "+OK\r\n";
    for (int i = 0; i < 2000; ++i)
        reply += i % 2 == 0 ? "10000000 7\r\n" : "1 3\r\n";
    reply += "2 4\r\n.\r\n";
    std::int32_t count = 0;
    std::vector<std::int32_t> sizes{0, 1, 2, 3, 4, 5};
    ParseListing(reply, count, sizes);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(sizes, (std::vector<std::int32_t>{0, 3, 4}));
}

TEST(Pop3Listing, MalformedLinesRaiseTheConversionError) {
    const std::pair<const char*, const char*> rows[] = {
        {"+OK\r\nx1 5\r\n2 6\r\n.\r\n", "'x1' is not a valid integer value"},
        {"+OK\r\n1\r\n2 6\r\n.\r\n", "'' is not a valid integer value"},
        {"+OK\r\n-5 6\r\n2 6\r\n.\r\n", "'-5' is not a valid integer value"},
        {"+OK\r\n2000000000 6\r\n.\r\n", "'2000000000' is not a valid integer value"},
        {"+OK\r\n10000001 6\r\n.\r\n", "'10000001' is not a valid integer value"},
    };
    for (const auto& [reply, message] : rows) {
        std::int32_t count = 0;
        std::vector<std::int32_t> sizes;
        EXPECT_THAT([&] { ParseListing(reply, count, sizes); },
                    testing::ThrowsMessage<EConvertError>(testing::StrEq(message)));
        EXPECT_LE(sizes.size(), 3u) << reply;
    }
}

TEST(Pop3Top, TextWithoutStatusAndDotLines) {
    const std::pair<std::string, std::string> rows[] = {
        {"+OK\r\nSubject: a\r\n\r\n.\r\n", "Subject: a\r\n\r\n"},
        {"+OK\r\nA: b\r\n\r\nline 1\r\n..dot\r\n.\r\n", "A: b\r\n\r\nline 1\r\n.dot\r\n"}, // un-stuffed
        {"+OK\r\nA: b\r\n\r\nx\0y\r\nafter\r\n.\r\n"s, "A: b\r\n\r\nx\0y\r\nafter\r\n"s},  // bytes are bytes
        {"+OK\r\n.\r\n", ""},
        {"", ""},
    };
    for (const auto& [reply, text] : rows)
        EXPECT_EQ(TopTextFromReply(reply), text) << reply;
}

TEST(Pop3Reply, EndsAtItsOwnTerminator) {
    const std::tuple<std::string, bool, std::size_t> rows[] = {
        {"+OK hel", false, 0},       {"+OK hello\r\n+OK more\r\n", false, 11},
        {"+OK\r\n1 2\r\n", true, 0}, {"+OK\r\n1 2\r\n.\r\nnext", true, 13},
        {"+OK\r\n.\r\n", true, 8},   {"-ERR no such message\r\n", true, 22},
        {"-ERR", true, 0},
    };
    for (const auto& [received, multiLine, length] : rows)
        EXPECT_EQ(Pop3ReplyLength(received, multiLine), length) << received;
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
    const std::pair<std::string, bool> rows[] = {
        {"secret pass:word", true}, {"", true}, {"a\r\nDELE 1", false}, {"a\nb", false}, {"a\rb", false},
        {"a\0b"s, false},
    };
    for (const auto& [arg, safe] : rows)
        EXPECT_EQ(IsSafeArgument(arg), safe) << arg;
}

} // namespace

// The file of the mails already announced: what a damaged or hand-edited file still gives, and
// a file written and read again as after a restart.
#include "settings/seen_mail_file.h"
#include "tests/support/temp_settings.h"

#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>

namespace quillet::test {
namespace {

using TExpected = std::map<TSeenAccount, std::set<std::string>>;

TExpected Contents(const TSeenMail& Seen) {
    TExpected out;
    for (const auto& [account, ids] : Seen.Accounts())
        out[account] = std::set<std::string>(ids.begin(), ids.end());
    return out;
}

TEST(SeenMailFile, DamagedOrHandEditedLinesArePassedOver) {
    const TSeenAccount c{"C", "h", "u"};
    const std::string longId(MaxSeenLineBytes, 'x');
    const std::pair<std::string, TExpected> rows[] = {
        {"", {}},
        {"# nothing but a comment\n\n\r\n", {}},
        // Every kind of bad line among good ones: ids before any account, an account line with
        // too few or too many fields (its mails belong to nobody, not to the account before),
        // a broken escape, an empty id, an unknown tag, a repeated account, CR LF line ends.
        {"seen\torphan\naccount\tC\th\tu\nseen\tok\naccount\tA\th\nseen\tnot-C\n"
         "account\tB\th\tu\textra\nseen\tnot-C-either\naccount\tC\th\tu\r\nseen\t%zz\nseen\t\n"
         "seen\tok\nSEEN\tcase\nseen\tcut%4\naccount\tC\th\tu\nseen\tmerged\r\n",
         {{c, {"ok", "merged"}}}},
        {"account\tWork%09mail\tpop%25host\t\nseen\tUID%2520x\nseen\t%00%FF%0D%0A\n",
         {{{"Work\tmail", "pop%host", ""}, {"UID%20x", std::string("\0\xFF\r\n", 4)}}}},
        {"account\tC\th\tu\nseen\t" + longId + "\nseen\tshort", {{c, {"short"}}}},
    };
    for (const auto& [text, expected] : rows) {
        const TSeenMail seen = ParseSeenMail(text);
        EXPECT_EQ(Contents(seen), expected) << text;
        EXPECT_EQ(ParseSeenMail(SeenMailText(seen)), seen) << "written as read: " << text;
    }
}

TEST(SeenMailFile, WrittenAndReadAgain) {
    TTempAppDir dir;
    const std::string path = dir.FilePath(SeenMailFileName);
    EXPECT_TRUE(ReadSeenMailFile(path).Accounts().empty()) << "no file yet";

    TSeenMail seen;
    seen.Add({"Home", "pop.example.com", "ann"}, {"UID1", "UID2"});
    seen.Add({"Grüße\n[x]", "h", "u"}, {"5:Label0:ab12"});
    ASSERT_EQ(WriteSeenMailFile(path, seen), "");
    EXPECT_EQ(ReadSeenMailFile(path), seen);

    // A complete check keeps only what the server still has; the file follows.
    seen.Keep({"Home", "pop.example.com", "ann"}, {"UID2", "UID3"});
    ASSERT_EQ(WriteSeenMailFile(path, seen), "");
    const TSeenMail again = ReadSeenMailFile(path);
    EXPECT_TRUE(again.Contains({"Home", "pop.example.com", "ann"}, "UID3"));
    EXPECT_FALSE(again.Contains({"Home", "pop.example.com", "ann"}, "UID1"));
    EXPECT_FALSE(again.Contains({"Home", "other.example.com", "ann"}, "UID3")) << "another server";

    EXPECT_NE(WriteSeenMailFile(dir.FilePath("missing/folder/" + std::string(SeenMailFileName)), seen), "")
        << "a file that cannot be written says why";
}

} // namespace
} // namespace quillet::test

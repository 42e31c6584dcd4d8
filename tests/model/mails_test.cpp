#include "model/mails.h"

#include <gtest/gtest.h>

using namespace quillet;

namespace {

std::unique_ptr<TMail> MailWithId(const std::string& id, const std::string& account = "a") {
    auto m = std::make_unique<TMail>();
    m->UniqueID = id;
    m->Account = account;
    return m;
}

} // namespace

TEST(MailIdentity, HeaderLinesFromTheThirdOn) {
    using V = std::vector<std::string>;
    const V example{"Received: by relay", "X-Note: hello", "Subject: abc", "From: Ann", "", "body"};
    EXPECT_EQ(MailIdentity(example), "500B");

    struct Row {
        V lines;
        std::string id;
    } rows[] = {
        {{"A: 1", "B: 2"}, ""},                     // two header lines
        {{"A: 1", "B: 2", "", "C: 3", "D: 4"}, ""}, // body lines do not count
        {{"Received: other", "X-Note: changed", "Subject: abc", "From: Ann"}, "500B"}, // top lines ignored
        {{"Received: by relay", "X-Note: hello", "Subject: abd", "From: Ann"}, "510B"},
        {{"a", "b", "\t folded", "x"}, "9778"}, // a continuation line is a line
        {{}, ""},
    };
    for (const auto& r : rows)
        EXPECT_EQ(MailIdentity(r.lines), r.id);
}

TEST(MailIdentity, SplitHeaderAndBody) {
    std::vector<std::string> header, body;
    SplitHeaderAndBody({"A: 1", "B: 2", "", "line1", "", "line3"}, header, body);
    EXPECT_EQ(header, (std::vector<std::string>{"A: 1", "B: 2"}));
    EXPECT_EQ(body, (std::vector<std::string>{"line1", "", "line3"}));
    SplitHeaderAndBody({"A: 1"}, header, body);
    EXPECT_EQ(header.size(), 1u);
    EXPECT_TRUE(body.empty());
}

TEST(Mail, KeepsTheFetchedLinesByteForByte) {
    using V = std::vector<std::string>;
    const V rows[] = {
        {"A: 1", "B: 2", "", "line1", "", "line3"},
        {"A: 1\rB: 2", std::string("N\0L", 3), "", std::string("\0", 1), "cr\r", "\r"}, // CR and NUL
        {"A: 1", "", "body", ""},                                                       // empty last line
        {"A: 1", "B: 2", ""},                                                           // no body lines
        {"A: 1", "B: 2"},                                                               // no empty line
        {"", "body only", ""},                                                          // no header lines
        {},
    };
    for (const V& lines : rows) {
        V header, body;
        SplitHeaderAndBody(lines, header, body);
        TMail m;
        m.SetLines(V{"Old: line", "", "old body"});
        m.SetLines(lines);
        EXPECT_EQ(m.HeaderLines(), header);
        EXPECT_EQ(m.BodyLines(), body);
        ASSERT_EQ(m.HeaderLineCount(), static_cast<int>(header.size()));
        ASSERT_EQ(m.BodyLineCount(), static_cast<int>(body.size()));
        for (int i = 0; i < m.BodyLineCount(); ++i)
            EXPECT_EQ(m.BodyLine(i), body[static_cast<std::size_t>(i)]);
        EXPECT_EQ(TMail(m).HeaderLines(), header) << "a copy keeps the lines";
    }
}

TEST(Mail, SetServerIdxIgnoresNonNumbers) {
    TMail m;
    m.SetServerIdx(4);
    m.SetServerIdx(0);
    m.SetServerIdx(-2);
    EXPECT_EQ(m.ServerIdx, 4);
    EXPECT_EQ(m.State, TMailState::New);
    EXPECT_EQ(m.MailSize, 0);
}

TEST(Mails, FindMailGivesTheFirstEntryThroughDeletes) {
    TMails mails;
    mails.Add(MailWithId("AA"));
    mails.Add(MailWithId("BB", "first"));
    mails.Add(MailWithId("CC"));
    mails.Add(MailWithId("BB", "second"));
    mails.Add(MailWithId("")); // empty identities are one mail as well
    mails.Add(MailWithId(""));

    EXPECT_EQ(mails.FindMail("BB"), 1);
    EXPECT_EQ(mails[mails.FindMail("BB")].Account, "first");
    EXPECT_EQ(mails.FindMail(""), 4);
    EXPECT_EQ(mails.FindMail("bb"), -1); // exact, case-sensitive
    EXPECT_EQ(mails.FindMail("ZZ"), -1);

    mails.Delete(0);
    EXPECT_EQ(mails.FindMail("BB"), 0);
    mails.Delete(0);
    EXPECT_EQ(mails.FindMail("BB"), 1);
    EXPECT_EQ(mails[1].Account, "second");
    mails.Delete(1);
    EXPECT_EQ(mails.FindMail("BB"), -1);
    EXPECT_EQ(mails.FindMail("CC"), 0);
    EXPECT_EQ(mails.FindMail(""), 1);

    // An identity changed after adding does not confuse the index when the entry goes.
    mails[0].UniqueID = "changed";
    mails.Delete(0);
    EXPECT_EQ(mails.FindMail("CC"), -1);
    EXPECT_EQ(mails.Count(), 2);
    mails.Delete(7); // out of range: nothing
    mails.Clear();
    EXPECT_EQ(mails.FindMail(""), -1);
}

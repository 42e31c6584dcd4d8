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

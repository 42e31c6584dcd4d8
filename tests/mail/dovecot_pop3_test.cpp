// The POP3 client against a real Dovecot on 127.0.0.1: log-in, listings, TOP and deleting.
// Without Dovecot the tests are skipped on a developer machine and fail in CI.
#include "mail/mail_message.h"
#include "mail/pop3_client.h"
#include "tests/support/dovecot_server.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

using namespace quillet;
using quillet::test::TDovecotServer;
using Lines = std::vector<std::string>;

namespace {

constexpr int kFullCount = 100;

std::string N(int I) {
    return std::to_string(I);
}

Lines HeaderOf(int I) {
    return {"From: Sender " + N(I) + " <sender" + N(I) + "@example.com>", "To: full@example.com",
            "Subject: Message number " + N(I), "Message-ID: <" + N(I) + "@quillet.test>"};
}

Lines BodyOf(int I) {
    Lines body;
    for (int n = 1; n <= 40 + (I * 7) % 30; ++n) // 40..69 lines: some shorter than 50, some longer
        body.push_back(n == 3 ? ".a line that starts with a dot" : "Body line " + N(n) + " of " + N(I));
    return body;
}

// The message as a maildir stores it: LF line ends.
std::string MessageText(int I) {
    Lines lines = HeaderOf(I);
    lines.push_back("");
    std::ranges::copy(BodyOf(I), std::back_inserter(lines));
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    return text;
}

// The size the server lists: the message with CR LF line ends.
std::int32_t WireSize(int I) {
    const std::string text = MessageText(I);
    return static_cast<std::int32_t>(text.size() + std::ranges::count(text, '\n'));
}

class DovecotPop3 : public ::testing::Test {
protected:
    static inline std::unique_ptr<TDovecotServer> Server;
    static inline std::string StartError;

    static void SetUpTestSuite() {
        if (!TDovecotServer::Installed())
            return;
        Server = std::make_unique<TDovecotServer>();
        for (const auto& [user, count] :
             {std::pair{"full", kFullCount}, {"empty", 0}, {"del", 5}, {"keep", 3}}) {
            Server->AddUser(user, std::string("pw-") + user);
            for (int i = 1; i <= count; ++i)
                Server->Deliver(user, MessageText(i));
        }
        if (!Server->Start(StartError) && StartError.empty())
            StartError = "dovecot did not start";
    }
    static void TearDownTestSuite() { Server.reset(); }

    void SetUp() override {
        if (!TDovecotServer::Installed()) {
            if (TDovecotServer::Required())
                FAIL() << "Dovecot (dovecot-pop3d) is required in CI but not installed";
            GTEST_SKIP() << "Dovecot is not installed";
        }
        ASSERT_TRUE(StartError.empty()) << StartError;
    }

    bool ok = false; // whether the last LoggedIn succeeded

    // A client connected and logged in as User; Password defaults to the right one.
    std::unique_ptr<TPop3Client> LoggedIn(const std::string& User, std::string Password = {}) {
        auto pop = std::make_unique<TPop3Client>();
        pop->Host = "127.0.0.1";
        pop->Port = Server->Port();
        pop->SetTimeOut(10);
        pop->UserName = User;
        pop->Password = Password.empty() ? "pw-" + User : Password;
        ok = pop->Connect() && pop->Login();
        return pop;
    }
};

TEST_F(DovecotPop3, ListingsOfEmptyAndFullMailboxes) {
    auto empty = LoggedIn("empty");
    ASSERT_TRUE(ok) << empty->LastReply();
    EXPECT_EQ(empty->MessageCount(), 0);
    EXPECT_TRUE(empty->MessageSizes().empty());
    EXPECT_TRUE(empty->Quit());

    auto full = LoggedIn("full");
    ASSERT_TRUE(ok) << full->LastReply();
    ASSERT_EQ(full->MessageCount(), kFullCount);
    ASSERT_EQ(full->MessageSizes().size(), static_cast<std::size_t>(kFullCount + 1));
    EXPECT_EQ(full->MessageSizes()[0], 0);
    for (int i = 1; i <= kFullCount; ++i)
        EXPECT_EQ(full->MessageSizes()[static_cast<std::size_t>(i)], WireSize(i)) << i;
    EXPECT_TRUE(full->Quit());
}

TEST_F(DovecotPop3, TopGivesHeaderEmptyLineAndFirstLines) {
    auto pop = LoggedIn("full");
    ASSERT_TRUE(ok) << pop->LastReply();
    TMailMessage msg;
    pop->MailMessage = &msg;
    for (int n : {1, 2, 57, kFullCount}) {
        for (int lines : {0, 50}) {
            ASSERT_TRUE(pop->FetchTop(n, lines)) << pop->LastReply();
            Lines expected = HeaderOf(n);
            expected.push_back("");
            const auto body = BodyOf(n);
            for (std::size_t k = 0; k < body.size() && k < static_cast<std::size_t>(lines); ++k)
                expected.push_back(body[k]); // sent dot-stuffed, read back as written
            EXPECT_EQ(msg.Header, expected) << "TOP " << n << " " << lines;
        }
    }
    EXPECT_TRUE(pop->Quit());
}

TEST_F(DovecotPop3, DeleteThenQuitRemovesAndAbortKeeps) {
    auto del = LoggedIn("del");
    ASSERT_TRUE(ok) << del->LastReply();
    EXPECT_TRUE(del->DeleteMessage(2));
    EXPECT_TRUE(del->DeleteMessage(4));
    EXPECT_TRUE(del->Quit());
    EXPECT_EQ(Server->MessageFileCount("del"), 3);
    EXPECT_EQ(LoggedIn("del")->MessageCount(), 3);

    auto keep = LoggedIn("keep");
    ASSERT_TRUE(ok) << keep->LastReply();
    EXPECT_TRUE(keep->DeleteMessage(1));
    keep->Abort();
    EXPECT_EQ(Server->MessageFileCount("keep"), 3);
    auto after = LoggedIn("keep");
    EXPECT_TRUE(ok);
    EXPECT_EQ(after->MessageCount(), 3);
    EXPECT_TRUE(after->Quit());
}

// Last: Dovecot delays the next log-ins from an address after a failed one.
TEST_F(DovecotPop3, LogInWithGoodAndBadPasswords) {
    auto good = LoggedIn("empty");
    EXPECT_TRUE(ok) << good->LastReply();
    EXPECT_TRUE(good->Quit());

    auto bad = LoggedIn("empty", "wrong");
    EXPECT_FALSE(ok);
    EXPECT_TRUE(bad->Connected());
    EXPECT_FALSE(bad->LoggedIn());
    EXPECT_EQ(bad->LastReply().rfind("-ERR", 0), 0u) << bad->LastReply();
    bad->Abort();
}

} // namespace

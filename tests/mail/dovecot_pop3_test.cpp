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

namespace {

constexpr int kFullCount = 100;

std::vector<std::string> HeaderOf(int I) {
    return {"From: Sender " + std::to_string(I) + " <sender" + std::to_string(I) + "@example.com>",
            "To: full@example.com", "Subject: Message number " + std::to_string(I),
            "Message-ID: <" + std::to_string(I) + "@quillet.test>"};
}

std::vector<std::string> BodyOf(int I) {
    std::vector<std::string> body;
    const int count = 40 + (I * 7) % 30; // 40..69 lines: some shorter than 50, some longer
    for (int n = 1; n <= count; ++n)
        body.push_back(n == 3 ? ".a line that starts with a dot"
                              : "Body line " + std::to_string(n) + " of " + std::to_string(I));
    return body;
}

// The message as a maildir stores it: LF line ends.
std::string MessageText(int I) {
    std::string text;
    for (const auto& line : HeaderOf(I))
        text += line + "\n";
    text += "\n";
    for (const auto& line : BodyOf(I))
        text += line + "\n";
    return text;
}

// The size the server lists: the message with CR LF line ends.
std::int32_t WireSize(int I) {
    const std::string text = MessageText(I);
    return static_cast<std::int32_t>(text.size() + std::count(text.begin(), text.end(), '\n'));
}

class DovecotPop3 : public ::testing::Test {
protected:
    static inline std::unique_ptr<TDovecotServer> Server;
    static inline std::string StartError;

    static void SetUpTestSuite() {
        if (!TDovecotServer::Installed())
            return;
        Server = std::make_unique<TDovecotServer>();
        for (const char* user : {"full", "empty", "del", "keep"})
            Server->AddUser(user, std::string("pw-") + user);
        for (int i = 1; i <= kFullCount; ++i)
            Server->Deliver("full", MessageText(i));
        for (int i = 1; i <= 5; ++i)
            Server->Deliver("del", MessageText(i));
        for (int i = 1; i <= 3; ++i)
            Server->Deliver("keep", MessageText(i));
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

    // A client connected and logged in as User; Password defaults to the right one.
    std::unique_ptr<TPop3Client> LoggedIn(const std::string& User, bool& Ok, std::string Password = {}) {
        auto pop = std::make_unique<TPop3Client>();
        pop->Host = "127.0.0.1";
        pop->Port = Server->Port();
        pop->SetTimeOut(10);
        pop->UserName = User;
        pop->Password = Password.empty() ? "pw-" + User : Password;
        Ok = pop->Connect() && pop->Login();
        return pop;
    }
};

TEST_F(DovecotPop3, ListingsOfEmptyAndFullMailboxes) {
    bool ok = false;
    auto empty = LoggedIn("empty", ok);
    ASSERT_TRUE(ok) << empty->LastReply();
    EXPECT_EQ(empty->MessageCount, 0);
    EXPECT_TRUE(empty->MessageSizes.empty());
    EXPECT_TRUE(empty->Quit());

    auto full = LoggedIn("full", ok);
    ASSERT_TRUE(ok) << full->LastReply();
    ASSERT_EQ(full->MessageCount, kFullCount);
    ASSERT_EQ(full->MessageSizes.size(), static_cast<std::size_t>(kFullCount + 1));
    EXPECT_EQ(full->MessageSizes[0], 0);
    for (int i = 1; i <= kFullCount; ++i)
        EXPECT_EQ(full->MessageSizes[static_cast<std::size_t>(i)], WireSize(i)) << i;
    EXPECT_TRUE(full->Quit());
}

TEST_F(DovecotPop3, TopGivesHeaderEmptyLineAndFirstLines) {
    bool ok = false;
    auto pop = LoggedIn("full", ok);
    ASSERT_TRUE(ok) << pop->LastReply();
    TMailMessage msg;
    pop->MailMessage = &msg;
    for (int n : {1, 2, 57, kFullCount}) {
        for (int lines : {0, 50}) {
            ASSERT_TRUE(pop->FetchTop(n, lines)) << pop->LastReply();
            std::vector<std::string> expected = HeaderOf(n);
            expected.push_back("");
            const auto body = BodyOf(n);
            for (std::size_t k = 0; k < body.size() && k < static_cast<std::size_t>(lines); ++k)
                expected.push_back(body[k][0] == '.' ? "." + body[k] : body[k]); // sent dot-stuffed
            EXPECT_EQ(msg.Header, expected) << "TOP " << n << " " << lines;
        }
    }
    EXPECT_TRUE(pop->Quit());
}

TEST_F(DovecotPop3, DeleteThenQuitRemovesAndAbortKeeps) {
    bool ok = false;
    auto del = LoggedIn("del", ok);
    ASSERT_TRUE(ok) << del->LastReply();
    EXPECT_TRUE(del->DeleteMessage(2));
    EXPECT_TRUE(del->DeleteMessage(4));
    EXPECT_TRUE(del->Quit());
    EXPECT_EQ(Server->MessageFileCount("del"), 3);
    auto again = LoggedIn("del", ok);
    EXPECT_EQ(again->MessageCount, 3);
    again->Abort();

    auto keep = LoggedIn("keep", ok);
    ASSERT_TRUE(ok) << keep->LastReply();
    EXPECT_TRUE(keep->DeleteMessage(1));
    keep->Abort();
    EXPECT_EQ(Server->MessageFileCount("keep"), 3);
    auto after = LoggedIn("keep", ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(after->MessageCount, 3);
    EXPECT_TRUE(after->Quit());
}

// Last: Dovecot delays the next log-ins from an address after a failed one.
TEST_F(DovecotPop3, LogInWithGoodAndBadPasswords) {
    bool ok = false;
    auto good = LoggedIn("empty", ok);
    EXPECT_TRUE(ok) << good->LastReply();
    EXPECT_TRUE(good->Quit());

    auto bad = LoggedIn("empty", ok, "wrong");
    EXPECT_FALSE(ok);
    EXPECT_TRUE(bad->Connected);
    EXPECT_FALSE(bad->LoggedIn);
    EXPECT_EQ(bad->LastReply().rfind("-ERR", 0), 0u) << bad->LastReply();
    bad->Abort();
}

} // namespace

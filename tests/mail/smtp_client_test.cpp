// The SMTP client's reply rules: which reply is accepted at which step, and which early chunk
// ends the wait at once.
#include "mail/smtp_client.h"

#include <gtest/gtest.h>

using namespace quillet;

namespace {

TEST(SmtpClient, ReplyCheckAndEarlyFailure) {
    TSmtpClient smtp;
    TSocketConversation& c = *smtp.Conversation();
    struct Row {
        std::uint8_t code;
        const char* reply;
        bool accepted;
    } rows[] = {
        {1, "220 ready\r\n", true}, {1, "250 ok\r\n", false}, {9, "250 ok\r\n", true},
        {13, "250 ok\r\n", true},   {12, "354 go\r\n", true}, {14, "221 bye\r\n", true},
        {2, "250 ok\r\n", false},   {0, "220 x\r\n", false},
    };
    for (const auto& r : rows) {
        bool ok = false;
        c.OnReplyReady(&c, r.code, ok, r.reply);
        EXPECT_EQ(ok, r.accepted) << int(r.code) << " " << r.reply;
    }
    const std::pair<const char*, bool> early[] = {{"550 no such user\r\n", true},
                                                  {"450 try later\r\n", false},
                                                  {"550 partial", false},
                                                  {"5x0 ?\r\n", false}};
    for (const auto& [chunk, cancels] : early) {
        c.PrepareWait(10);
        bool ok = true;
        c.OnReceiveData(&c, 10, ok, chunk);
        EXPECT_EQ(!c.Waiting(), cancels) << chunk;
        c.Cancel();
    }
}

} // namespace

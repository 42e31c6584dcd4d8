// The POP3 client against the scripted server: each operation's wire exchange, its result and
// state, refusals in the wrong state, and the guards against injected commands, mail content
// that looks like "-ERR" and overlong replies.
#include "mail/mail_message.h"
#include "mail/pop3_client.h"
#include "mail/pop3_text.h"
#include "tests/support/scripted_pop3_server.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace quillet;
using quillet::test::TScriptedPop3Server;
using Lines = std::vector<std::string>;

namespace {

const char* const kListing = "+OK 2 messages\r\n1 120\r\n2 4000\r\n.\r\n";

// Points the client at the listening server.
bool Attach(TPop3Client& Pop, TScriptedPop3Server& Server) {
    Pop.Host = "127.0.0.1";
    Pop.Port = Server.Listen() ? Server.Port() : 0;
    return Pop.Port != 0;
}

void ExpectLoggedOut(const TPop3Client& Pop) {
    EXPECT_FALSE(Pop.Connected());
    EXPECT_FALSE(Pop.LoggedIn());
    EXPECT_EQ(Pop.MessageCount(), -1);
    EXPECT_TRUE(Pop.MessageSizes().empty());
}

class Pop3Client : public ::testing::Test {
protected:
    TScriptedPop3Server server;
    TPop3Client pop;

    void SetUp() override {
        pop.SetTimeOut(5);
        pop.UserName = "bob";
        pop.Password = "secret";
    }

    // The server's part of a greeting and a log-in with the given listing reply.
    TScriptedPop3Server& LoginScript(const std::string& Listing = kListing) {
        return server.Send("+OK POP3 ready\r\n")
            .Expect("USER bob")
            .Send("+OK\r\n")
            .Expect("PASS secret")
            .Send("+OK logged in\r\n")
            .Expect("LIST")
            .Send(Listing);
    }

    bool ConnectToServer() { return Attach(pop, server) && pop.Connect(); }
    bool LogIn() { return ConnectToServer() && pop.Login(); }

    void ExpectNoServerErrors() {
        for (const auto& e : server.Errors())
            ADD_FAILURE() << e;
    }
};

TEST_F(Pop3Client, FailedGreetingLeavesTheClientClosedAndReady) {
    const std::pair<std::string, std::string> rows[] = {
        {"-ERR busy\r\n", "-ERR busy\r\n"},
        {"+O", "Connection closed by the server while waiting for the server's greeting; it had sent: +O"},
    };
    for (const auto& [greeting, reason] : rows) {
        TScriptedPop3Server refusing, good;
        refusing.Send(greeting).Close();
        good.Send("+OK ready\r\n");
        TPop3Client p;
        ASSERT_TRUE(Attach(p, refusing));
        EXPECT_FALSE(p.Connect()) << greeting;
        EXPECT_FALSE(p.Connected());
        EXPECT_FALSE(p.Conversation()->Opened()) << "nothing is left open";
        EXPECT_EQ(p.LastReply(), reason);
        ASSERT_TRUE(Attach(p, good));
        EXPECT_TRUE(p.Connect()) << "the next attempt starts afresh";
        p.Abort();
    }
}

TEST_F(Pop3Client, GreetingSplitAcrossPacketsIsOneReply) {
    server.SendChunks({"+OK hel", "lo\r\n"}, 100)
        .Expect("USER bob")
        .Send("+OK\r\n")
        .Expect("PASS secret")
        .Send("-ERR no\r\n");
    ASSERT_TRUE(ConnectToServer());
    EXPECT_EQ(pop.LastReply(), "+OK hello\r\n");
    EXPECT_FALSE(pop.Login());
    EXPECT_EQ(pop.LastReply(), "-ERR no\r\n");
    ExpectNoServerErrors();
}

TEST_F(Pop3Client, InjectedLineNeverAnswersTheNextCommand) {
    // The server puts an extra "+OK" in front of its answer to USER: PASS must be judged by its
    // own reply, which refuses the password.
    server.Send("+OK ready\r\n")
        .Expect("USER bob")
        .Send("+OK injected\r\n+OK user\r\n")
        .Expect("PASS secret")
        .Send("-ERR invalid password\r\n");
    ASSERT_TRUE(ConnectToServer());
    EXPECT_FALSE(pop.Login());
    EXPECT_FALSE(pop.LoggedIn());
    EXPECT_EQ(pop.LastReply(), "-ERR invalid password\r\n");
    EXPECT_EQ(pop.Conversation()->UnexpectedBytesDropped(), 10u);
    ExpectNoServerErrors();
}

TEST_F(Pop3Client, ConnectChoosesAddressOrHostName) {
    pop.Host = "";
    EXPECT_FALSE(pop.Connect());
    EXPECT_FALSE(pop.Conversation()->Opened());

    server.Send("+OK\r\n");
    ASSERT_TRUE(Attach(pop, server));
    pop.Host = "localhost";
    EXPECT_TRUE(pop.Connect());
    EXPECT_EQ(pop.Conversation()->HostName, "localhost");
    EXPECT_EQ(pop.Conversation()->Address, "");
    EXPECT_FALSE(pop.Connect()) << "already connected";
}

TEST_F(Pop3Client, RefusedPasswordFailsLogin) {
    server.Send("+OK\r\n")
        .Expect("USER bob")
        .Send("+OK\r\n")
        .Expect("PASS secret")
        .Send("-ERR invalid password\r\n");
    EXPECT_FALSE(LogIn());
    EXPECT_FALSE(pop.LoggedIn());
    EXPECT_EQ(pop.LastReply(), "-ERR invalid password\r\n");
    ExpectNoServerErrors();
}

TEST_F(Pop3Client, RefusedListStillLogsInAtOnce) {
    LoginScript("-ERR mailbox locked\r\n");
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(LogIn());
    EXPECT_LT(clock.elapsed(), 2000) << "must not wait for the time-out";
    EXPECT_TRUE(pop.LoggedIn());
    EXPECT_EQ(pop.MessageCount(), -1);
    EXPECT_TRUE(pop.MessageSizes().empty());
}

TEST_F(Pop3Client, MalformedListingIsALoginWithoutAListing) {
    LoginScript("+OK\r\nfoo 1\r\n2 10\r\n.\r\n");
    ASSERT_TRUE(ConnectToServer());
    EXPECT_TRUE(pop.Login());
    EXPECT_TRUE(pop.PassAccepted());
    EXPECT_EQ(pop.ListingFailure(), "LIST: the listing cannot be read: 'foo' is not a valid integer value");
    EXPECT_EQ(pop.MessageCount(), -1);
}

TEST_F(Pop3Client, LoginListingTopAndAbort) {
    LoginScript()
        .Expect("TOP 1 0")
        .Send("+OK\r\nSubject: hi\r\nFrom: a@b\r\n\r\n.\r\n")
        .Expect("TOP 2 5")
        // A body line "-ERR ..." that arrives at the start of a chunk is mail content.
        .SendChunks({"+OK\r\nSubject: x\r\n\r\n", "-ERR this is mail text\r\n", "..dot\r\n.\r\n"})
        .Expect("TOP 3 5")
        .Send("-ERR no such message\r\n");
    TMailMessage msg;
    pop.MailMessage = &msg;
    ASSERT_TRUE(ConnectToServer());
    EXPECT_TRUE(pop.Connected());
    ASSERT_TRUE(pop.Login());
    EXPECT_TRUE(pop.LoggedIn());
    EXPECT_EQ(pop.MessageCount(), 2);
    EXPECT_EQ(pop.MessageSizes(), (TMessageSize{0, 120, 4000}));
    EXPECT_EQ(pop.LastReply(), kListing);

    EXPECT_TRUE(pop.FetchTop(1, 0));
    EXPECT_EQ(pop.LastTopText(), "Subject: hi\r\nFrom: a@b\r\n\r\n");
    EXPECT_EQ(msg.Header, (Lines{"Subject: hi", "From: a@b", ""}));
    EXPECT_TRUE(pop.FetchTop(2, 5));
    EXPECT_EQ(pop.LastTopText(), "Subject: x\r\n\r\n-ERR this is mail text\r\n.dot\r\n");

    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(pop.FetchTop(3, 5));
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(pop.LastTopText(), "");
    EXPECT_EQ(pop.LastReply(), "-ERR no such message\r\n");
    EXPECT_TRUE(pop.Connected());

    pop.Abort(); // sends nothing
    ExpectLoggedOut(pop);
    EXPECT_EQ(server.Received(), (Lines{"USER bob", "PASS secret", "LIST", "TOP 1 0", "TOP 2 5", "TOP 3 5"}));
    ExpectNoServerErrors();
}

TEST_F(Pop3Client, OperationsInTheWrongStateSendNothing) {
    server.Send("+OK\r\n");
    EXPECT_FALSE(pop.Login());
    EXPECT_FALSE(pop.Quit());
    ASSERT_TRUE(ConnectToServer());
    EXPECT_FALSE(pop.FetchTop(1, 5));
    EXPECT_FALSE(pop.DeleteMessage(1));
    EXPECT_TRUE(server.Received().empty());
}

TEST_F(Pop3Client, QuitAcceptedClosesAndRefusedKeepsTheConnection) {
    LoginScript()
        .Expect("DELE 2")
        .Send("+OK\r\n")
        .Expect("QUIT")
        .Send("-ERR not now\r\n")
        .Expect("QUIT")
        .Send("+OK bye\r\n");
    ASSERT_TRUE(LogIn());
    EXPECT_TRUE(pop.DeleteMessage(2));
    EXPECT_FALSE(pop.Quit());
    EXPECT_TRUE(pop.Connected());
    EXPECT_EQ(pop.MessageCount(), 2);
    EXPECT_TRUE(pop.Quit());
    ExpectLoggedOut(pop);
    ExpectNoServerErrors();
}

TEST_F(Pop3Client, ServerCloseInMidReplyReturnsToClosed) {
    LoginScript().Expect("TOP 1 5").Send("+OK\r\nSubject: a\r\n").Close();
    ASSERT_TRUE(LogIn());
    EXPECT_FALSE(pop.FetchTop(1, 5));
    ExpectLoggedOut(pop);
}

TEST_F(Pop3Client, ReplyAfterItsTimeOutIsNeverTakenForTheNext) {
    LoginScript()
        .Expect("TOP 1 5")
        .Silence(1500)
        .Send("+OK\r\nSubject: one\r\n.\r\n")
        .Expect("TOP 2 5")
        .Send("+OK\r\nSubject: two\r\n.\r\n");
    ASSERT_TRUE(LogIn());
    pop.SetTimeOut(1);
    EXPECT_FALSE(pop.FetchTop(1, 5));
    EXPECT_EQ(pop.LastReply(), "Timed out: no data for 1 seconds while waiting for the reply to TOP 1 5");
    ExpectLoggedOut(pop);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(pop.FetchTop(2, 5));
    EXPECT_LT(clock.elapsed(), 100) << "fails at once";
    EXPECT_EQ(server.Received(), (Lines{"USER bob", "PASS secret", "LIST", "TOP 1 5"}));
}

TEST_F(Pop3Client, ArgumentsWithLineBreaksAreNeverSent) {
    const std::tuple<std::string, std::string, Lines> rows[] = {
        {"bob", "secret\r\nDELE 1", {"USER bob"}},
        {"bob\nDELE 1", "secret", {}},
        {"bob", std::string("sec\0ret", 7), {"USER bob"}},
        {"bob\r", "secret", {}},
    };
    for (const auto& [user, password, sent] : rows) {
        TScriptedPop3Server s;
        s.Send("+OK\r\n").Expect("USER bob").Send("+OK\r\n");
        TPop3Client p;
        ASSERT_TRUE(Attach(p, s));
        p.UserName = user;
        p.Password = password;
        ASSERT_TRUE(p.Connect());
        EXPECT_FALSE(p.Login());
        EXPECT_NE(p.LastReply().find("Not sent"), std::string::npos) << p.LastReply();
        EXPECT_EQ(p.LastReply().find("DELE"), std::string::npos) << "the secret is not echoed";
        EXPECT_EQ(s.Received(), sent);
        p.Abort();
    }
}

TEST_F(Pop3Client, OverlongReplyAbortsTheConnection) {
    LoginScript().Expect("TOP 1 5").Send("+OK\r\n" + std::string(5000, 'x'));
    ASSERT_TRUE(LogIn());
    pop.Conversation()->MaxReplySize = 1000;
    EXPECT_FALSE(pop.FetchTop(1, 5));
    EXPECT_FALSE(pop.Connected());
    EXPECT_FALSE(pop.Conversation()->Opened());
    EXPECT_NE(pop.LastReply().find("Reply too long"), std::string::npos);
}

TEST_F(Pop3Client, OverlongListingEndsTheLogin) {
    // A listing of nothing but line breaks is bounded by its lines, not only its bytes, and a
    // login whose listing cost the connection has no listing, though the server counted it.
    LoginScript("+OK\r\n" + std::string(5000, '\n'));
    pop.Conversation()->MaxReplyLineBreaks = 1000;
    EXPECT_TRUE(LogIn());
    EXPECT_TRUE(pop.PassAccepted());
    EXPECT_FALSE(pop.LoggedIn());
    EXPECT_FALSE(pop.Connected());
    EXPECT_TRUE(pop.ListingFailure().starts_with("LIST: Reply too long: more than 500 lines"))
        << pop.ListingFailure();
}

} // namespace

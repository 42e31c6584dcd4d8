// Fast checks against the scripted server: CAPA, UIDL and pipelined TOP and DELE runs whose
// replies arrive together, split anywhere, with a failure in the middle, cut off, or serially.
#include "mail/mail_message.h"
#include "mail/pop3_client.h"
#include "tests/support/scripted_pop3_server.h"

#include <gtest/gtest.h>

using namespace quillet;
using quillet::test::TScriptedPop3Server;
using Lines = std::vector<std::string>;

namespace {

std::string Top(int N) {
    return "+OK\r\nSubject: " + std::to_string(N) + "\r\n\r\n..line " + std::to_string(N) + "\r\n.\r\n";
}

// Greeting, CAPA (with Capa as the reply), USER, PASS, LIST of three and, when offered, UIDL.
TScriptedPop3Server& LogIn(TScriptedPop3Server& Server, const std::string& Capa) {
    Server.Send("+OK\r\n").Expect("CAPA").Send(Capa).Expect("USER u").Send("+OK\r\n").Expect("PASS p").Send(
        "+OK\r\n");
    Server.Expect("LIST").Send("+OK\r\n1 10\r\n2 20\r\n3 30\r\n.\r\n");
    if (Capa.find("UIDL") != std::string::npos)
        Server.Expect("UIDL").Send("+OK\r\n1 aaa\r\n2 same\r\n3 same\r\n.\r\n");
    return Server;
}

struct TRun {
    std::vector<std::pair<int, bool>> Replies;
    Lines Subjects;
};

TEST(Pop3Pipelining, RunsOfTopAndDele) {
    const std::string pipelining = "+OK\r\nPIPELINING\r\nUIDL\r\nTOP\r\n.\r\n";
    struct Row {
        const char* name;
        std::string capa;
        std::function<void(TScriptedPop3Server&)> script;
        int stopAfter; // Each returns false after this message (0: never)
        std::vector<std::pair<int, bool>> replies;
        bool openAfter;
    } rows[] = {
        {"all replies in one packet, the last terminator split",
         pipelining,
         [](TScriptedPop3Server& S) {
             S.Expect("TOP 1 5").Expect("TOP 2 5").Expect("TOP 3 5").SendChunks(
                 {Top(1) + Top(2) + Top(3).substr(0, 30), Top(3).substr(30)});
         },
         0,
         {{1, true}, {2, true}, {3, true}},
         true},
        {"a -ERR in the middle fails only its message",
         pipelining,
         [](TScriptedPop3Server& S) {
             S.Expect("TOP 1 5").Expect("TOP 2 5").Expect("TOP 3 5").Send(
                 Top(1) + "-ERR no such message\r\n" + Top(3));
         },
         0,
         {{1, true}, {2, false}, {3, true}},
         true},
        {"a dropped connection fails the rest",
         pipelining,
         [](TScriptedPop3Server& S) {
             S.Expect("TOP 1 5").Expect("TOP 2 5").Expect("TOP 3 5").Send(Top(1)).Close();
         },
         0,
         {{1, true}, {2, false}, {3, false}},
         false},
        {"an abort reads no further reply",
         pipelining,
         [](TScriptedPop3Server& S) {
             S.Expect("TOP 1 5").Expect("TOP 2 5").Expect("TOP 3 5").Send(Top(1) + Top(2) + Top(3));
         },
         1,
         {{1, true}},
         false},
        {"a server without CAPA is asked one command at a time",
         "-ERR unknown command\r\n",
         [](TScriptedPop3Server& S) {
             S.Expect("TOP 1 5").Send(Top(1)).Expect("TOP 2 5").Send(Top(2)).Expect("TOP 3 5").Send(Top(3));
         },
         0,
         {{1, true}, {2, true}, {3, true}},
         true},
        {"PIPELINING listed but answered one by one",
         pipelining,
         [](TScriptedPop3Server& S) {
             S.Expect("TOP 1 5").Send(Top(1)).Expect("TOP 2 5").Send(Top(2)).Expect("TOP 3 5").Send(Top(3));
         },
         0,
         {{1, true}, {2, true}, {3, true}},
         true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        TScriptedPop3Server server;
        LogIn(server, r.capa);
        r.script(server);
        ASSERT_TRUE(server.Listen());
        TPop3Client pop;
        TMailMessage message;
        pop.MailMessage = &message;
        pop.Host = "127.0.0.1";
        pop.Port = server.Port();
        pop.UserName = "u";
        pop.Password = "p";
        pop.UseFastChecks = true;
        pop.SetTimeOut(5);
        ASSERT_TRUE(pop.Connect() && pop.Login()) << pop.LastReply();
        EXPECT_EQ(pop.LastReply(), "+OK\r\n1 10\r\n2 20\r\n3 30\r\n.\r\n")
            << "the listing stays the last reply";
        std::vector<std::pair<int, bool>> replies;
        pop.FetchTopRange(1, 3, 5, [&](std::int32_t N, bool Ok, const std::string& Text) {
            replies.emplace_back(N, Ok);
            if (Ok) {
                EXPECT_EQ(ServerTextLines(Text).back(), ".line " + std::to_string(N))
                    << "un-stuffed, in order";
            }
            return N != r.stopAfter;
        });
        EXPECT_EQ(replies, r.replies);
        EXPECT_EQ(pop.Conversation()->Opened(), r.openAfter);
        if (r.capa.find("UIDL") != std::string::npos) {
            EXPECT_EQ(pop.UniqueIdOf(1), "aaa");
            EXPECT_EQ(pop.UniqueIdOf(2), "") << "an id two messages share belongs to neither";
        }
        for (const auto& e : server.Errors())
            ADD_FAILURE() << e;
    }
}

TEST(Pop3Pipelining, UidlListingRules) {
    const TUniqueIds ids = ParseUidlListing(
        "+OK\r\n1 abc\r\n2 dup\r\n3 dup\r\n4 has space\r\nx nonumber\r\n5 \x01\r\n6 ok-6\r\n.\r\n");
    EXPECT_EQ(ids, (TUniqueIds{{1, "abc"}, {6, "ok-6"}}));
    EXPECT_TRUE(ParseUidlListing("-ERR no\r\n").empty());
}

} // namespace

// Fast checks against the scripted server: what goes out in one write (the log-in with its
// listing, CAPA with a re-check's log-in, runs of TOP and DELE, QUIT with the last of them) and
// how the replies are taken: in order, a -ERR failing only its own command, a dropped connection
// failing the rest, an abort reading nothing further.
#include "mail/mail_message.h"
#include "mail/pop3_client.h"
#include "tests/support/scripted_pop3_server.h"

#include <QEventLoop>
#include <QSslSocket>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quillet;
using quillet::test::TScriptedPop3Server;
using Lines = std::vector<std::string>;
using Writes = std::vector<Lines>;
using Replies = std::vector<std::pair<int, bool>>;

namespace {

const std::string kPipelining = "+OK\r\nPIPELINING\r\nUIDL\r\nTOP\r\n.\r\n";
const std::string kListing = "+OK\r\n1 10\r\n2 20\r\n3 30\r\n.\r\n";
const Lines kLogInWrite = {"USER u", "PASS p", "LIST", "UIDL"};

std::string Top(int N) {
    return "+OK\r\nSubject: " + std::to_string(N) + "\r\n\r\n..line " + std::to_string(N) + "\r\n.\r\n";
}

// Greeting, CAPA (with Capa as the reply), USER, PASS, LIST of three and, when offered, UIDL.
TScriptedPop3Server& LogIn(TScriptedPop3Server& Server, const std::string& Capa) {
    Server.Send("+OK\r\n").Expect("CAPA").Send(Capa).Expect("USER u").Send("+OK\r\n").Expect("PASS p").Send(
        "+OK\r\n");
    Server.Expect("LIST").Send(kListing);
    if (Capa.find("UIDL") != std::string::npos)
        Server.Expect("UIDL").Send("+OK\r\n1 aaa\r\n2 same\r\n3 same\r\n.\r\n");
    return Server;
}

void Prepare(TPop3Client& Pop, TScriptedPop3Server& Server) {
    Pop.Host = "127.0.0.1";
    Pop.Port = Server.Port();
    Pop.UserName = "u";
    Pop.Password = "p";
    Pop.UseFastChecks = true;
    Pop.SetTimeOut(5);
}

// Lets the event loop run for a while (a close by the server arrives meanwhile).
void Pause(int Ms) {
    QEventLoop loop;
    QTimer::singleShot(Ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// How many of the client's writes held a line that starts with Prefix.
int WritesWith(const TScriptedPop3Server& Server, const std::string& Prefix) {
    return static_cast<int>(std::ranges::count_if(Server.Arrivals(), [&](const Lines& Write) {
        return std::ranges::any_of(Write, [&](const std::string& Line) { return Line.starts_with(Prefix); });
    }));
}

void ExpectNoServerErrors(const TScriptedPop3Server& Server) {
    for (const auto& e : Server.Errors())
        ADD_FAILURE() << e;
}

TEST(Pop3Pipelining, RunsOfTopAndDele) {
    struct Row {
        const char* name;
        std::string capa;
        std::function<void(TScriptedPop3Server&)> script;
        int stopAfter; // Each returns false after this message (0: never)
        Replies replies;
        bool openAfter;
        int topWrites; // the client's writes that held TOP commands
    } rows[] = {
        {"all replies in one packet, the last terminator split",
         kPipelining,
         [](TScriptedPop3Server& S) {
             S.Expect("TOP 1 5").Expect("TOP 2 5").Expect("TOP 3 5").SendChunks(
                 {Top(1) + Top(2) + Top(3).substr(0, 30), Top(3).substr(30)});
         },
         0,
         {{1, true}, {2, true}, {3, true}},
         true,
         1},
        {"a -ERR in the middle fails only its message",
         kPipelining,
         [](TScriptedPop3Server& S) {
             S.Expect("TOP 1 5").Expect("TOP 2 5").Expect("TOP 3 5").Send(
                 Top(1) + "-ERR no such message\r\n" + Top(3));
         },
         0,
         {{1, true}, {2, false}, {3, true}},
         true,
         1},
        {"a dropped connection fails the rest",
         kPipelining,
         [](TScriptedPop3Server& S) {
             S.Expect("TOP 1 5").Expect("TOP 2 5").Expect("TOP 3 5").Send(Top(1)).Close();
         },
         0,
         {{1, true}, {2, false}, {3, false}},
         false,
         1},
        {"an abort reads no further reply",
         kPipelining,
         [](TScriptedPop3Server& S) {
             S.Expect("TOP 1 5").Expect("TOP 2 5").Expect("TOP 3 5").Send(Top(1) + Top(2) + Top(3));
         },
         1,
         {{1, true}},
         false,
         1},
        {"a server without CAPA is asked one command at a time",
         "-ERR unknown command\r\n",
         [](TScriptedPop3Server& S) {
             S.Expect("TOP 1 5").Send(Top(1)).Expect("TOP 2 5").Send(Top(2)).Expect("TOP 3 5").Send(Top(3));
         },
         0,
         {{1, true}, {2, true}, {3, true}},
         true,
         3},
        {"PIPELINING listed, the batch answered one reply at a time with pauses",
         kPipelining,
         [](TScriptedPop3Server& S) {
             S.Expect("TOP 1 5").Send(Top(1)).Silence(60).Expect("TOP 2 5").Send(Top(2)).Silence(60);
             S.Expect("TOP 3 5").SendChunks({Top(3).substr(0, 10), Top(3).substr(10)}, 60);
         },
         0,
         {{1, true}, {2, true}, {3, true}},
         true,
         1},
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
        Prepare(pop, server);
        ASSERT_TRUE(pop.Connect() && pop.Login()) << pop.LastReply();
        EXPECT_EQ(pop.LastReply(), kListing) << "the listing stays the last reply";
        Replies replies;
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
        EXPECT_EQ(WritesWith(server, "TOP"), r.topWrites);
        if (r.capa.find("UIDL") != std::string::npos) {
            EXPECT_EQ(pop.UniqueIdOf(1), "aaa");
            EXPECT_EQ(pop.UniqueIdOf(2), "") << "an id two messages share belongs to neither";
        }
        ExpectNoServerErrors(server);
    }
}

// USER, PASS, LIST and UIDL go out in one write; the PASS reply decides, a refused USER fails
// the log-in, a refused listing leaves the log-in standing and the stream in step.
TEST(Pop3Pipelining, LogInAndListingInOneWrite) {
    struct Row {
        const char* name;
        std::string replies; // to USER, PASS, LIST and UIDL
        bool loggedIn;
        std::string lastReply;
        bool passAccepted;
        std::string listingFailure;
        bool uniqueIds;
    } rows[] = {
        {"PASS refused", "+OK\r\n-ERR [AUTH] wrong password\r\n-ERR\r\n-ERR\r\n", false,
         "-ERR [AUTH] wrong password\r\n", false, "", false},
        {"USER refused", "-ERR no such user\r\n-ERR\r\n-ERR\r\n-ERR\r\n", false, "-ERR no such user\r\n",
         false, "", false},
        {"UIDL refused", "+OK\r\n+OK\r\n" + kListing + "-ERR no ids today\r\n", true, kListing, true, "",
         false},
        {"LIST refused", "+OK\r\n+OK\r\n-ERR [IN-USE] locked\r\n+OK\r\n1 a\r\n.\r\n", true,
         "-ERR [IN-USE] locked\r\n", true, "LIST: -ERR [IN-USE] locked", false},
        {"all accepted", "+OK\r\n+OK\r\n" + kListing + "+OK\r\n1 a\r\n2 b\r\n3 c\r\n.\r\n", true, kListing,
         true, "", true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        TScriptedPop3Server server;
        server.Send("+OK\r\n").Expect("CAPA").Send(kPipelining);
        server.Expect("USER u").Expect("PASS p").Expect("LIST").Expect("UIDL").Send(r.replies);
        if (r.loggedIn)
            server.Expect("QUIT").Send("+OK bye\r\n");
        ASSERT_TRUE(server.Listen());
        TPop3Client pop;
        Prepare(pop, server);
        ASSERT_TRUE(pop.Connect()) << pop.LastReply();
        EXPECT_EQ(pop.Conversation()->Socket()->socketOption(QAbstractSocket::LowDelayOption).toInt(), 1)
            << "no Nagle stalls";
        EXPECT_EQ(pop.Login(), r.loggedIn);
        EXPECT_EQ(pop.LastReply(), r.lastReply);
        EXPECT_EQ(pop.PassAccepted(), r.passAccepted);
        EXPECT_EQ(pop.ListingFailure(), r.listingFailure);
        EXPECT_EQ(pop.HasUniqueIds(), r.uniqueIds);
        // A refused log-in drops the connection; otherwise the next reply is QUIT's own.
        EXPECT_EQ(pop.Connected(), r.loggedIn);
        if (r.loggedIn) {
            EXPECT_TRUE(pop.Quit()) << pop.LastReply();
        }
        Writes writes{{"CAPA"}, kLogInWrite};
        if (r.loggedIn)
            writes.push_back({"QUIT"});
        EXPECT_EQ(server.Arrivals(), writes);
        ExpectNoServerErrors(server);
    }

    // A server silent after USER: the time-out names PASS, never the password.
    TScriptedPop3Server silent;
    silent.Send("+OK\r\n").Expect("CAPA").Send(kPipelining).Expect("USER u").Send("+OK\r\n").Silence(3000);
    ASSERT_TRUE(silent.Listen());
    TPop3Client pop;
    Prepare(pop, silent);
    pop.Password = "s3cret";
    ASSERT_TRUE(pop.Connect());
    pop.SetTimeOut(1);
    EXPECT_FALSE(pop.Login());
    EXPECT_EQ(pop.LastReply(), "Timed out: no data for 1 seconds while waiting for the reply to PASS");
}

// A re-check writes CAPA with the log-in when the last session's server listed PIPELINING, and
// takes this session's capabilities from the CAPA reply: a server that stopped offering
// PIPELINING gets one command at a time from there on, and the next session asks CAPA first.
TEST(Pop3Pipelining, ARecheckWritesCapaWithTheLogIn) {
    const std::string ids = "+OK\r\n1 a\r\n2 b\r\n3 c\r\n.\r\n";
    const Lines capaAndLogIn = {"CAPA", "USER u", "PASS p", "LIST", "UIDL"};
    struct Row {
        const char* name;
        std::string capa; // the second session's CAPA reply
        int topWrites;    // the second session's writes that held TOP commands
        bool uniqueIds;
        Writes third; // the third session's log-in writes
    } rows[] = {
        {"PIPELINING still listed", kPipelining, 1, true, {capaAndLogIn}},
        {"PIPELINING no longer listed", "+OK\r\nUIDL\r\nTOP\r\n.\r\n", 2, true, {{"CAPA"}, kLogInWrite}},
        {"CAPA refused now", "-ERR not today\r\n", 2, false, {{"CAPA"}, kLogInWrite}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        TScriptedPop3Server server;
        LogIn(server, kPipelining).Expect("QUIT").Send("+OK\r\n").NextConnection();
        // The second session: CAPA rides with the log-in.
        server.Send("+OK\r\n").Expect("CAPA").Expect("USER u").Expect("PASS p").Expect("LIST").Expect("UIDL");
        server.Send(r.capa + "+OK\r\n+OK\r\n" + kListing + ids);
        if (r.topWrites == 1)
            server.Expect("TOP 1 0").Expect("TOP 2 0").Send(Top(1) + Top(2));
        else
            server.Expect("TOP 1 0").Send(Top(1)).Expect("TOP 2 0").Send(Top(2));
        server.Expect("QUIT").Send("+OK\r\n").NextConnection().Send("+OK\r\n");
        // The third session, as the second one left the capabilities; asked apart, the server
        // offers PIPELINING again.
        if (r.third.size() == 1)
            server.Expect("CAPA").Expect("USER u").Expect("PASS p").Expect("LIST").Expect("UIDL").Send(
                r.capa + "+OK\r\n+OK\r\n" + kListing + ids);
        else
            server.Expect("CAPA")
                .Send(kPipelining)
                .Expect("USER u")
                .Expect("PASS p")
                .Expect("LIST")
                .Expect("UIDL")
                .Send("+OK\r\n+OK\r\n" + kListing + ids);
        server.Expect("QUIT").Send("+OK\r\n");
        ASSERT_TRUE(server.Listen());
        TPop3Client pop;
        Prepare(pop, server);
        ASSERT_TRUE(pop.Connect() && pop.Login() && pop.Quit()) << pop.LastReply();
        EXPECT_EQ(pop.KeptCapabilities(), (Lines{"PIPELINING", "UIDL", "TOP"}));

        ASSERT_TRUE(pop.Connect()) << pop.LastReply();
        EXPECT_TRUE(pop.Capabilities().empty()) << "not asked yet";
        ASSERT_TRUE(pop.Login()) << pop.LastReply();
        EXPECT_EQ(pop.LastReply(), kListing);
        EXPECT_EQ(pop.HasUniqueIds(), r.uniqueIds);
        EXPECT_EQ(pop.Pipelining(), r.topWrites == 1);
        Replies replies;
        pop.FetchTopRange(1, 2, 0, [&](std::int32_t N, bool Ok, const std::string&) {
            replies.emplace_back(N, Ok);
            return true;
        });
        EXPECT_EQ(replies, (Replies{{1, true}, {2, true}}));
        EXPECT_TRUE(pop.Quit());
        ASSERT_GE(server.Arrivals().size(), 4u);
        EXPECT_EQ(server.Arrivals()[3], capaAndLogIn);
        EXPECT_EQ(WritesWith(server, "TOP"), r.topWrites);

        const std::size_t before = server.Arrivals().size();
        ASSERT_TRUE(pop.Connect() && pop.Login() && pop.Quit()) << pop.LastReply();
        Writes third = r.third;
        third.push_back({"QUIT"});
        EXPECT_EQ(
            Writes(server.Arrivals().begin() + static_cast<std::ptrdiff_t>(before), server.Arrivals().end()),
            third);
        ExpectNoServerErrors(server);
    }
}

// QUIT in the write of the last TOP (nothing to delete) or the last DELE: the replies are taken
// in order, and Quit reads QUIT's reply, also after the server has closed the connection.
TEST(Pop3Pipelining, RunsThenQuitInOneWrite) {
    struct Row {
        const char* name;
        std::function<void(TScriptedPop3Server&)> script;
        std::function<bool(TPop3Client&, const TPop3Client::TEachReply&)> run;
        Replies replies;
        Writes runWrites;
    } rows[] = {
        {"TOP run and QUIT, a -ERR in the middle",
         [](TScriptedPop3Server& S) {
             S.Expect("TOP 1 5").Expect("TOP 2 5").Expect("TOP 3 5").Expect("QUIT");
             S.Send(Top(1) + "-ERR no such message\r\n" + Top(3) + "+OK bye\r\n").Close();
         },
         [](TPop3Client& Pop, const TPop3Client::TEachReply& Each) {
             return Pop.FetchTopsThenQuit(
                 {1, 2, 3}, 5, [] { return true; }, Each);
         },
         {{1, true}, {2, false}, {3, true}},
         {{"TOP 1 5", "TOP 2 5", "TOP 3 5", "QUIT"}}},
        {"TOP run with mail to delete: QUIT waits",
         [](TScriptedPop3Server& S) {
             S.Expect("TOP 1 5")
                 .Expect("TOP 2 5")
                 .Send(Top(1) + Top(2))
                 .Expect("QUIT")
                 .Send("+OK\r\n")
                 .Close();
         },
         [](TPop3Client& Pop, const TPop3Client::TEachReply& Each) {
             return Pop.FetchTopsThenQuit(
                 {1, 2}, 5, [] { return false; }, Each);
         },
         {{1, true}, {2, true}},
         {{"TOP 1 5", "TOP 2 5"}, {"QUIT"}}},
        {"DELE run and QUIT, one refused, one no longer wanted",
         [](TScriptedPop3Server& S) {
             S.Expect("DELE 1")
                 .Expect("DELE 3")
                 .Expect("QUIT")
                 .Send("+OK\r\n-ERR locked\r\n+OK bye\r\n")
                 .Close();
         },
         [](TPop3Client& Pop, const TPop3Client::TEachReply& Each) {
             return Pop.DeleteMessagesThenQuit(
                 {1, 2, 3}, [](std::int32_t N) { return N != 2; }, Each);
         },
         {{1, true}, {3, false}},
         {{"DELE 1", "DELE 3", "QUIT"}}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        TScriptedPop3Server server;
        LogIn(server, kPipelining);
        r.script(server);
        ASSERT_TRUE(server.Listen());
        TPop3Client pop;
        Prepare(pop, server);
        ASSERT_TRUE(pop.Connect() && pop.Login()) << pop.LastReply();
        Replies replies;
        EXPECT_TRUE(r.run(pop, [&](std::int32_t N, bool Ok, const std::string&) {
            replies.emplace_back(N, Ok);
            return true;
        }));
        EXPECT_EQ(replies, r.replies);
        if (pop.QuitSent()) {
            // Nothing goes out after QUIT.
            EXPECT_FALSE(pop.FetchTop(1, 5));
            EXPECT_FALSE(pop.DeleteMessage(1));
            bool refused = false;
            pop.DeleteMessages({2}, nullptr, [&](std::int32_t, bool Ok, const std::string& Reply) {
                refused = !Ok && Reply == "Not sent: QUIT has already been sent";
                return true;
            });
            EXPECT_TRUE(refused);
        }
        Pause(100); // the server's close arrives before Quit reads the reply
        EXPECT_TRUE(pop.Connected());
        EXPECT_TRUE(pop.Quit()) << pop.LastReply();
        EXPECT_FALSE(pop.Connected());
        const Writes& arrivals = server.Arrivals();
        ASSERT_GE(arrivals.size(), r.runWrites.size());
        EXPECT_EQ(Writes(arrivals.end() - static_cast<std::ptrdiff_t>(r.runWrites.size()), arrivals.end()),
                  r.runWrites);
        ExpectNoServerErrors(server);
    }
}

TEST(Pop3Pipelining, UidlListingRules) {
    const TUniqueIds ids = ParseUidlListing(
        "+OK\r\n1 abc\r\n2 dup\r\n3 dup\r\n4 has space\r\nx nonumber\r\n5 \x01\r\n6 ok-6\r\n.\r\n");
    EXPECT_EQ(ids, (TUniqueIds{{1, "abc"}, {6, "ok-6"}}));
    EXPECT_TRUE(ParseUidlListing("-ERR no\r\n").empty());
}

} // namespace

// The socket conversation against the scripted server: completion by terminator, silence
// time-out, piece-wise send, close, late data and the reply size bound.
#include "mail/socket_conversation.h"
#include "tests/support/scripted_pop3_server.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QSslSocket>
#include <QTcpServer>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quillet;
using quillet::test::TScriptedPop3Server;

namespace {

using Progress = std::vector<std::pair<int, int>>;

class SocketConversation : public ::testing::Test {
protected:
    QObject owner;
    TSocketConversation conv{&owner};
    TScriptedPop3Server server;
    std::vector<int> replyCodes, errorKinds;
    Progress progress;
    int closes = 0;

    void SetUp() override {
        conv.OnReplyReady = [this](TSocketConversation*, std::uint8_t code, bool& ok,
                                   const std::string& text) {
            replyCodes.push_back(code);
            if (text.rfind("+OK", 0) == 0)
                ok = true;
        };
        conv.OnTalkError = [this](TSocketConversation*, std::uint8_t, std::uint8_t kind) {
            errorKinds.push_back(kind);
        };
        conv.OnClose = [this](TSocketConversation*) { ++closes; };
        conv.OnProgress = [this](QObject*, std::int32_t total, std::int32_t current) {
            progress.emplace_back(total, current);
        };
    }

    // Opens the connection to Port and waits for the greeting.
    void Open(std::uint16_t Port) {
        conv.Address = "127.0.0.1";
        conv.Port = Port;
        conv.PrepareWait(1);
        conv.Open();
        conv.WaitReply();
    }
    void Greet() {
        ASSERT_TRUE(server.Listen());
        Open(server.Port());
    }
    void Say(const std::string& Data, const std::string& Terminator, std::uint8_t Code) {
        conv.Talk(Data, Terminator, Code);
        conv.WaitReply();
    }
};

TEST_F(SocketConversation, EmptyTerminatorCompletesWithTheFirstChunk) {
    server.SendChunks({"+O", "K ready\r\n"});
    Greet();
    EXPECT_EQ(conv.ReplyText, "+O");
    EXPECT_FALSE(conv.ReplyOK);
    EXPECT_FALSE(conv.Waiting);
    EXPECT_EQ(conv.ErrorKind, ekNone);
    EXPECT_EQ(replyCodes, std::vector<int>{1});
}

TEST_F(SocketConversation, TerminatorSplitAcrossChunksAndReceiveProgress) {
    server.Send("+OK\r\n").Expect("LIST").SendChunks({"+OK\r\n1 10\r\n.", "\r", "\n"});
    Greet();
    conv.ExpectedSize = 100;
    Say("LIST\r\n", "\r\n.\r\n", 5);
    EXPECT_TRUE(conv.ReplyOK);
    EXPECT_EQ(conv.ReplyText, "+OK\r\n1 10\r\n.\r\n");
    EXPECT_EQ(replyCodes, (std::vector<int>{1, 5}));
    EXPECT_EQ(conv.TalkCode, 0);
    EXPECT_EQ(progress, (Progress{{100, 12}, {100, 13}, {100, 14}}));
    EXPECT_TRUE(server.Errors().empty());
}

TEST_F(SocketConversation, SilenceTimesOutButATrickleDoesNot) {
    server.Send("+OK\r\n")
        .Expect("A")
        .SendChunks({"+OK", " a", " b", " c", " d", " e", "\r\n"}, 350) // 2.1 s in all, gaps 0.35 s
        .Expect("B")
        .Send("+OK partial")
        .Silence(5000);
    Greet();
    conv.TimeOut = 1;
    Say("A\r\n", "\r\n", 2);
    EXPECT_TRUE(conv.ReplyOK);
    EXPECT_EQ(conv.ReplyText, "+OK a b c d e\r\n");

    QElapsedTimer clock;
    clock.start();
    Say("B\r\n", "\r\n", 3);
    EXPECT_GE(clock.elapsed(), 900);
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_FALSE(conv.ReplyOK);
    EXPECT_FALSE(conv.Waiting);
    EXPECT_EQ(conv.ErrorKind, ekTimeOut);
    EXPECT_EQ(conv.ReplyText, "+OK partial");
    EXPECT_EQ(errorKinds, std::vector<int>{ekTimeOut});
}

TEST_F(SocketConversation, PieceWiseSendReportsProgress) {
    const std::pair<int, Progress> rows[] = {
        {0, {}},
        {12, {}},
        {4, {{12, 0}, {12, 4}, {12, 8}, {12, 12}, {12, 12}}},
        {5, {{12, 0}, {12, 5}, {12, 10}, {12, 12}, {12, 12}}},
    };
    server.Send("+OK\r\n");
    for (std::size_t i = 0; i < std::size(rows); ++i)
        server.Expect("ABCDEFGHIJ").Send("+OK\r\n");
    Greet();
    for (const auto& [packetSize, reports] : rows) {
        progress.clear();
        conv.PacketSize = packetSize;
        conv.Talk("ABCDEFGHIJ\r\n", "\r\n", 2);
        EXPECT_EQ(conv.PacketSize, 0);
        conv.WaitReply();
        EXPECT_TRUE(conv.ReplyOK) << packetSize;
        EXPECT_EQ(progress, reports) << packetSize;
    }
    EXPECT_TRUE(server.Errors().empty());
}

TEST_F(SocketConversation, CloseInMidReplyEndsTheWait) {
    server.Send("+OK\r\n").Expect("LIST").Send("+OK\r\n1 1").Close();
    Greet();
    Say("LIST\r\n", "\r\n.\r\n", 5);
    EXPECT_FALSE(conv.ReplyOK);
    EXPECT_FALSE(conv.Waiting);
    EXPECT_EQ(conv.ErrorKind, ekNone);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(errorKinds.empty());
    EXPECT_FALSE(conv.Opened());
}

TEST_F(SocketConversation, DataAfterTheWaitIsAppendedAsAnIdleReply) {
    server.Send("+OK hi\r\n").Silence(100).Send("late\r\n");
    Greet();
    QEventLoop loop;
    QTimer::singleShot(400, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(conv.ReplyText, "+OK hi\r\nlate\r\n");
    EXPECT_EQ(replyCodes, (std::vector<int>{1, 0}));
}

TEST_F(SocketConversation, OverlongReplyFailsAndDropsTheConnection) {
    server.Send("+OK\r\n").Expect("TOP 1 0").Send(std::string(300, 'x'));
    Greet();
    conv.MaxReplySize = 100;
    Say("TOP 1 0\r\n", "\r\n.\r\n", 6);
    EXPECT_FALSE(conv.ReplyOK);
    EXPECT_TRUE(conv.ReplyTooLong);
    EXPECT_EQ(conv.ErrorKind, ekReceive);
    EXPECT_NE(conv.ReplyText.find("Reply too long"), std::string::npos);
    EXPECT_FALSE(conv.Opened());
}

TEST_F(SocketConversation, RefusedConnectionIsAConnectError) {
    std::uint16_t port = 0;
    {
        QTcpServer probe; // a port that nothing listens on any more
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    Open(port);
    EXPECT_FALSE(conv.ReplyOK);
    EXPECT_EQ(conv.ErrorKind, ekConnect);
}

TEST_F(SocketConversation, CancelEndsTheWaitKeepingTheText) {
    server.Send("+OK\r\n").Expect("X").Send("-ERR no\r\n");
    Greet();
    conv.OnReceiveData = [](TSocketConversation* c, std::uint8_t, bool& ok, const std::string&) {
        ok = false;
        c->Cancel();
    };
    Say("X\r\n", "\r\n.\r\n", 6);
    EXPECT_FALSE(conv.ReplyOK);
    EXPECT_FALSE(conv.Waiting);
    EXPECT_EQ(conv.TalkCode, 0);
    EXPECT_EQ(conv.ReplyText, "-ERR no\r\n");
}

TEST(SocketErrorKind, MapsQtErrors) {
    using S = QAbstractSocket;
    const std::tuple<S::SocketError, S::SocketState, int> rows[] = {
        {S::ConnectionRefusedError, S::UnconnectedState, ekConnect},
        {S::HostNotFoundError, S::HostLookupState, ekConnect},
        {S::SocketTimeoutError, S::ConnectingState, ekConnect},
        {S::NetworkError, S::ConnectedState, ekReceive},
        {S::RemoteHostClosedError, S::ConnectedState, ekDisconnect},
        {S::SocketResourceError, S::ConnectedState, ekGeneral},
    };
    for (const auto& [error, state, kind] : rows)
        EXPECT_EQ(ErrorKindFor(error, state), kind) << error;
}

} // namespace

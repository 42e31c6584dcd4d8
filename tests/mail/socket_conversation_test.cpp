// The socket conversation against the scripted server: completion by terminator, silence
// time-out, piece-wise send, close, late data and the reply size bound.
#include "mail/socket_conversation.h"
#include "tests/support/scripted_pop3_server.h"

#include <QCoreApplication>
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
    std::vector<int> replyCodes;
    std::vector<TErrorKind> errorKinds;
    Progress progress;
    int closes = 0;

    void SetUp() override {
        conv.OnReplyReady = [this](TSocketConversation*, std::uint8_t code, bool& ok,
                                   const std::string& text) {
            replyCodes.push_back(code);
            if (text.rfind("+OK", 0) == 0)
                ok = true;
        };
        conv.OnTalkError = [this](TSocketConversation*, std::uint8_t, TErrorKind kind) {
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
    EXPECT_EQ(conv.ReplyText(), "+O");
    EXPECT_FALSE(conv.ReplyOK());
    EXPECT_FALSE(conv.Waiting());
    EXPECT_EQ(conv.ErrorKind(), TErrorKind::None);
    EXPECT_EQ(replyCodes, std::vector<int>{1});
}

TEST_F(SocketConversation, TerminatorSplitAcrossChunksAndReceiveProgress) {
    server.Send("+OK\r\n").Expect("LIST").SendChunks({"+OK\r\n1 10\r\n.", "\r", "\n"});
    Greet();
    conv.ExpectedSize = 100;
    Say("LIST\r\n", "\r\n.\r\n", 5);
    EXPECT_TRUE(conv.ReplyOK());
    EXPECT_EQ(conv.ReplyText(), "+OK\r\n1 10\r\n.\r\n");
    EXPECT_EQ(replyCodes, (std::vector<int>{1, 5}));
    EXPECT_EQ(conv.TalkCode(), 0);
    EXPECT_EQ(progress, (Progress{{100, 12}, {100, 13}, {100, 14}}));
    EXPECT_TRUE(server.Errors().empty());
}

TEST_F(SocketConversation, SilenceAndATrickleTimeOutButAFlowingReplyDoesNot) {
    // Flowing: 800 bytes every 0.3 s for 2.1 s, well above 1 KiB per second.
    std::vector<std::string> flowing{"+OK"};
    for (int i = 0; i < 7; ++i)
        flowing.push_back(std::string(800, 'a'));
    flowing.push_back("\r\n");
    // Trickling: a byte every 0.1 s, never silent for a whole second.
    std::vector<std::string> trickle(40, "x");
    server.Send("+OK\r\n")
        .Expect("A")
        .SendChunks(flowing, 300)
        .Expect("B")
        .SendChunks(trickle, 100)
        .Silence(2000);
    Greet();
    conv.TimeOut = 1;
    Say("A\r\n", "\r\n", 2);
    EXPECT_TRUE(conv.ReplyOK());
    EXPECT_EQ(conv.ReplyText().size(), 3u + 7 * 800 + 2);

    QElapsedTimer clock;
    clock.start();
    Say("B\r\n", "\r\n", 3);
    EXPECT_GE(clock.elapsed(), 900);
    EXPECT_LT(clock.elapsed(), 2500);
    EXPECT_FALSE(conv.ReplyOK());
    EXPECT_FALSE(conv.Waiting());
    EXPECT_EQ(conv.ErrorKind(), TErrorKind::TimeOut);
    EXPECT_EQ(conv.ReplyText().rfind("Timed out: only ", 0), 0u) << conv.ReplyText();
    EXPECT_NE(conv.ReplyText().find("while waiting for the reply to B"), std::string::npos);
    EXPECT_EQ(errorKinds, std::vector<TErrorKind>{TErrorKind::TimeOut});
    EXPECT_FALSE(conv.Opened()) << "a stream that missed its reply is dropped";
}

TEST_F(SocketConversation, SilenceTimesOutNamingWhatWasAwaited) {
    server.Send("+OK\r\n").Expect("B").Send("+OK partial").Silence(3000);
    Greet();
    conv.TimeOut = 1;
    Say("B\r\n", "\r\n", 3);
    EXPECT_EQ(conv.ErrorKind(), TErrorKind::TimeOut);
    EXPECT_EQ(conv.ReplyText(), "Timed out: no data for 1 seconds while waiting for the reply to B");
    EXPECT_FALSE(conv.Opened());
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
        EXPECT_TRUE(conv.ReplyOK()) << packetSize;
        EXPECT_EQ(progress, reports) << packetSize;
    }
    EXPECT_TRUE(server.Errors().empty());
}

TEST_F(SocketConversation, CloseInMidReplyEndsTheWait) {
    server.Send("+OK\r\n").Expect("LIST").Send("+OK\r\n1 1").Close();
    Greet();
    Say("LIST\r\n", "\r\n.\r\n", 5);
    EXPECT_FALSE(conv.ReplyOK());
    EXPECT_FALSE(conv.Waiting());
    EXPECT_EQ(conv.ErrorKind(), TErrorKind::None);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(errorKinds.empty());
    EXPECT_FALSE(conv.Opened());
    EXPECT_EQ(conv.ReplyText(),
              "Connection closed by the server while waiting for the reply to LIST; it had sent: +OK\r\n1 1");
}

TEST_F(SocketConversation, ReplyEndsAtItsTerminatorAndUnaskedBytesAreDropped) {
    server.Send("+OK hi\r\n")
        .Silence(100)
        .Send("+OK late\r\n") // nothing asked for this
        .Expect("A")
        .Send("+OK a\r\n+OK extra\r\n") // one read: the reply and bytes after it
        .Expect("B")
        .Send("-ERR b\r\n");
    Greet();
    QEventLoop loop;
    QTimer::singleShot(400, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(conv.ReplyText(), "+OK hi\r\n") << "late bytes are no reply of their own";
    EXPECT_EQ(replyCodes, (std::vector<int>{1}));

    Say("A\r\n", "\r\n", 2);
    EXPECT_EQ(conv.UnexpectedBytesDropped(), 10u);
    EXPECT_EQ(conv.ReplyText(), "+OK a\r\n");
    EXPECT_TRUE(conv.ReplyOK());
    Say("B\r\n", "\r\n", 3);
    EXPECT_EQ(conv.UnexpectedBytesDropped(), 11u);
    EXPECT_EQ(conv.ReplyText(), "-ERR b\r\n");
    EXPECT_FALSE(conv.ReplyOK());
    EXPECT_TRUE(server.Errors().empty());
}

TEST_F(SocketConversation, QuittingApplicationCancelsTheWaitAndTheNext) {
    server.Send("+OK\r\n").Expect("A").Silence(3000);
    Greet();
    QTimer::singleShot(100, [] { QCoreApplication::exit(0); });
    QElapsedTimer clock;
    clock.start();
    Say("A\r\n", "\r\n", 2);
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_FALSE(conv.Waiting());
    EXPECT_FALSE(conv.ReplyOK());
    EXPECT_EQ(conv.ReplyText(), "Cancelled: the program is ending");
    EXPECT_FALSE(conv.Opened());
    // Once the application quits, a new local loop returns at once: the next wait ends the same way.
    conv.PrepareWait(1, "\r\n");
    conv.WaitReply();
    EXPECT_FALSE(conv.Waiting());
    EXPECT_EQ(conv.ReplyText(), "Cancelled: the program is ending");
    // Let the application's main loop run once more, so that later tests have working loops.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

TEST_F(SocketConversation, OverlongReplyFailsAndDropsTheConnection) {
    server.Send("+OK\r\n").Expect("TOP 1 0").Send(std::string(300, 'x'));
    Greet();
    conv.MaxReplySize = 100;
    Say("TOP 1 0\r\n", "\r\n.\r\n", 6);
    EXPECT_FALSE(conv.ReplyOK());
    EXPECT_TRUE(conv.ReplyTooLong());
    EXPECT_EQ(conv.ErrorKind(), TErrorKind::Receive);
    EXPECT_NE(conv.ReplyText().find("Reply too long"), std::string::npos);
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
    EXPECT_FALSE(conv.ReplyOK());
    EXPECT_EQ(conv.ErrorKind(), TErrorKind::Connect);
}

TEST_F(SocketConversation, CancelEndsTheWaitKeepingTheText) {
    server.Send("+OK\r\n").Expect("X").Send("-ERR no\r\n");
    Greet();
    conv.OnReceiveData = [](TSocketConversation* c, std::uint8_t, bool& ok, const std::string&) {
        ok = false;
        c->Cancel();
    };
    Say("X\r\n", "\r\n.\r\n", 6);
    EXPECT_FALSE(conv.ReplyOK());
    EXPECT_FALSE(conv.Waiting());
    EXPECT_EQ(conv.TalkCode(), 0);
    EXPECT_EQ(conv.ReplyText(), "-ERR no\r\n");
    EXPECT_FALSE(conv.Opened()) << "a cancelled reply leaves a stream that cannot be trusted";
}

TEST(SocketErrorKind, MapsQtErrors) {
    using S = QAbstractSocket;
    const std::tuple<S::SocketError, S::SocketState, TErrorKind> rows[] = {
        {S::ConnectionRefusedError, S::UnconnectedState, TErrorKind::Connect},
        {S::HostNotFoundError, S::HostLookupState, TErrorKind::Connect},
        {S::SocketTimeoutError, S::ConnectingState, TErrorKind::Connect},
        {S::NetworkError, S::ConnectedState, TErrorKind::Receive},
        {S::RemoteHostClosedError, S::ConnectedState, TErrorKind::Disconnect},
        {S::SocketResourceError, S::ConnectedState, TErrorKind::General},
    };
    for (const auto& [error, state, kind] : rows)
        EXPECT_EQ(ErrorKindFor(error, state), kind) << error;
}

} // namespace

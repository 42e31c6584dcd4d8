// The demo server on the wire: Quillet's own POP3 client checks it, deletes a message and sees
// the deletion (and a message that arrived meanwhile) at the next log-in; a raw client pipelines
// a whole session in one write and gets every reply in order; over-long lines and one client
// too many are turned away.
#include "demo/demo_mailbox.h"
#include "demo/demo_pop3_server.h"
#include "mail/mail_message.h"
#include "mail/pop3_client.h"
#include "model/mail.h"
#include "util/strings.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace quillet::test {
namespace {

// Runs the event loop until Done holds or TimeoutMs pass; false on time-out.
bool WaitFor(const std::function<bool()>& Done, int TimeoutMs = 5000) {
    QElapsedTimer elapsed;
    elapsed.start();
    QEventLoop loop;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (Done() || elapsed.elapsed() > TimeoutMs)
            loop.quit();
    });
    tick.start(5);
    if (!Done())
        loop.exec();
    return Done();
}

// A raw client: everything the server sent, and whether it closed the connection.
class TRawClient {
public:
    explicit TRawClient(std::uint16_t Port) {
        QObject::connect(&FSocket, &QIODevice::readyRead, [this] { Take(); });
        QObject::connect(&FSocket, &QAbstractSocket::disconnected, [this] { FClosed = true; });
        FSocket.connectToHost(QHostAddress::LocalHost, Port);
    }
    void Write(const std::string& Bytes) { FSocket.write(Bytes.data(), static_cast<qint64>(Bytes.size())); }
    bool WaitForText(std::string_view Text) {
        return WaitFor([&] { return FReceived.find(Text) != std::string::npos; });
    }
    bool WaitForClose() {
        WaitFor([&] { return FClosed; });
        Take();
        return FClosed;
    }
    void Close() { FSocket.abort(); }
    const std::string& Received() const { return FReceived; }

private:
    void Take() {
        const QByteArray bytes = FSocket.readAll();
        FReceived.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }

    QTcpSocket FSocket;
    std::string FReceived;
    bool FClosed = false;
};

// The next reply of a stream: its first line, and for a multi-line one the rest without the
// final "." line, dots put in front of lines by the server taken away again.
struct TReply {
    std::string Status;
    std::string Text;
};

TReply NextReply(std::string_view& Stream, bool MultiLine) {
    TReply reply;
    const std::size_t end = Stream.find("\r\n");
    if (end == std::string_view::npos) {
        Stream = {};
        return reply;
    }
    reply.Status = std::string(Stream.substr(0, end));
    Stream.remove_prefix(end + 2);
    if (!MultiLine || !reply.Status.starts_with("+OK"))
        return reply;
    for (;;) {
        const std::size_t lineEnd = Stream.find("\r\n");
        if (lineEnd == std::string_view::npos) {
            Stream = {};
            return reply;
        }
        std::string_view line = Stream.substr(0, lineEnd);
        Stream.remove_prefix(lineEnd + 2);
        if (line == ".")
            return reply;
        if (line.starts_with("."))
            line.remove_prefix(1);
        reply.Text += std::string(line) + "\r\n";
    }
}

class DemoServer : public ::testing::Test {
protected:
    TDemoMailbox mailbox{TDemoMailbox::DefaultSeed, QDateTime::currentDateTime()};
    std::unique_ptr<TDemoPop3Server> server;

    void SetUp() override {
        server = std::make_unique<TDemoPop3Server>(mailbox, "demo", "demo");
        ASSERT_TRUE(server->Listen(0));
    }

    const TDemoMessage& At(int Number) const {
        return mailbox.Messages().at(static_cast<std::size_t>(Number) - 1);
    }
    std::size_t TotalSize() const {
        std::size_t total = 0;
        for (const TDemoMessage& m : mailbox.Messages())
            total += m.Text.size();
        return total;
    }
};

TEST_F(DemoServer, QuilletClientChecksDeletesAndSeesNewMailAtNextLogin) {
    TPop3Client pop;
    TMailMessage message;
    pop.Host = "127.0.0.1";
    pop.Port = server->Port();
    pop.UserName = "demo";
    pop.Password = "demo";
    pop.SetTimeOut(10);
    pop.MailMessage = &message;

    ASSERT_TRUE(pop.Connect()) << pop.LastReply();
    ASSERT_TRUE(pop.Login()) << pop.LastReply();
    ASSERT_EQ(pop.MessageCount(), 25);
    for (int n = 1; n <= 25; ++n) {
        ASSERT_TRUE(pop.FetchTop(n, 10)) << n << ": " << pop.LastReply();
        EXPECT_EQ(pop.MessageSizes().at(static_cast<std::size_t>(n)),
                  static_cast<std::int32_t>(At(n).Text.size()));
        EXPECT_EQ(MailIdentity(message.Header), MailIdentity(SplitTextLines(At(n).Text))) << n;
    }
    const std::string firstId = At(1).UniqueId;
    ASSERT_TRUE(pop.DeleteMessage(1));
    ASSERT_TRUE(pop.Quit());
    ASSERT_EQ(mailbox.Messages().size(), 24u);
    EXPECT_NE(At(1).UniqueId, firstId);

    ASSERT_TRUE(pop.Connect());
    ASSERT_TRUE(pop.Login());
    EXPECT_EQ(pop.MessageCount(), 24);
    const TDemoMessage arrived = mailbox.AddNewMessage(QDateTime::currentDateTime());
    EXPECT_FALSE(pop.FetchTop(25, 0)) << "a session keeps the mailbox as it was at log-in";
    ASSERT_TRUE(pop.Quit());

    ASSERT_TRUE(pop.Connect());
    ASSERT_TRUE(pop.Login());
    EXPECT_EQ(pop.MessageCount(), 25);
    ASSERT_TRUE(pop.FetchTop(25, 0));
    EXPECT_EQ(MailIdentity(message.Header), MailIdentity(SplitTextLines(arrived.Text)));
    pop.Quit();
}

TEST_F(DemoServer, PipelinedSessionIsAnsweredInOrder) {
    const std::string total = std::to_string(TotalSize());
    const std::string lessFirst = std::to_string(TotalSize() - At(1).Text.size());
    const std::string header7 = At(7).Text.substr(0, At(7).Text.find("\r\n\r\n") + 4);
    const struct {
        const char* command;
        bool multiLine;
        std::string status; // the whole status line, or only "+OK" / "-ERR"
        std::string text;   // multi-line replies: the text, unstuffed
    } steps[] = {
        {"PASS demo", false, "-ERR", ""},
        {"USER demo", false, "+OK", ""},
        {"PASS wrong", false, "-ERR", ""},
        {"STAT", false, "-ERR", ""},
        {"USER demo", false, "+OK", ""},
        {"PASS demo", false, "+OK", ""},
        {"STAT", false, "+OK 25 " + total, ""},
        {"LIST 2", false, "+OK 2 " + std::to_string(At(2).Text.size()), ""},
        {"UIDL 2", false, "+OK 2 " + At(2).UniqueId, ""},
        {"LIST 26", false, "-ERR", ""},
        {"TOP 7 0", true, "+OK", header7},
        {"RETR 7", true, "+OK", At(7).Text},
        {"DELE 1", false, "+OK", ""},
        {"DELE 1", false, "-ERR", ""},
        {"RETR 1", true, "-ERR", ""},
        {"STAT", false, "+OK 24 " + lessFirst, ""},
        {"RSET", false, "+OK", ""},
        {"STAT", false, "+OK 25 " + total, ""},
        {"XYZZY", false, "-ERR", ""},
        {"CAPA", true, "+OK", ""},
        {"NOOP", false, "+OK", ""},
        {"QUIT", false, "+OK", ""},
        {"STAT", false, "", ""}, // after QUIT: no answer
    };
    std::string commands;
    for (const auto& step : steps)
        commands += std::string(step.command) + "\r\n";

    TRawClient client(server->Port());
    client.Write(commands);
    ASSERT_TRUE(client.WaitForClose());
    std::string_view stream = client.Received();
    EXPECT_TRUE(NextReply(stream, false).Status.starts_with("+OK"));
    for (const auto& step : steps) {
        const TReply reply = NextReply(stream, step.multiLine);
        if (step.status == "+OK" || step.status == "-ERR") {
            EXPECT_TRUE(reply.Status.starts_with(step.status + " ") || reply.Status == step.status)
                << step.command << ": " << reply.Status;
        } else {
            EXPECT_EQ(reply.Status, step.status) << step.command;
        }
        if (!step.text.empty()) {
            EXPECT_EQ(reply.Text, step.text) << step.command;
        }
    }
    EXPECT_NE(client.Received().find("\r\n..\r\n"), std::string::npos)
        << "a lone dot in a body is sent doubled";
    EXPECT_EQ(mailbox.Messages().size(), 25u) << "RSET took the deletion back";
}

TEST_F(DemoServer, OverlongLineIsRefusedAndClosed) {
    // A whole line one byte too long, and a line that never ends.
    for (const std::string& bytes :
         {"USER " + std::string(996, 'a') + "\r\nNOOP\r\n", std::string(4000, 'x')}) {
        TRawClient client(server->Port());
        client.Write(bytes);
        ASSERT_TRUE(client.WaitForClose()) << bytes.size();
        EXPECT_TRUE(client.Received().ends_with("\r\n-ERR line too long\r\n")) << client.Received();
    }
    TRawClient exactly(server->Port()); // 1000 bytes before CR LF is still a line
    exactly.Write("USER " + std::string(995, 'a') + "\r\nQUIT\r\n");
    ASSERT_TRUE(exactly.WaitForClose());
    EXPECT_EQ(exactly.Received().find("-ERR"), std::string::npos) << exactly.Received();
}

TEST_F(DemoServer, OneClientTooManyIsTurnedAway) {
    std::vector<std::unique_ptr<TRawClient>> clients;
    for (int i = 0; i < TDemoPop3Server::MaxConnections; ++i) {
        clients.push_back(std::make_unique<TRawClient>(server->Port()));
        ASSERT_TRUE(clients.back()->WaitForText("+OK")) << i;
    }
    TRawClient extra(server->Port());
    ASSERT_TRUE(extra.WaitForClose());
    EXPECT_TRUE(extra.Received().starts_with("-ERR")) << extra.Received();

    clients.front()->Close();
    ASSERT_TRUE(WaitFor([&] { return server->ConnectionCount() < TDemoPop3Server::MaxConnections; }));
    TRawClient next(server->Port());
    EXPECT_TRUE(next.WaitForText("+OK"));
}

} // namespace
} // namespace quillet::test

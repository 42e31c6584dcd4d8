// The delay proxy of the test support: a request and its answer through a 50 ms round trip take
// one round trip, and many requests written at once come back in order within a few; the client's
// turns count the writes that followed an answer.
#include "tests/support/delay_proxy.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

using quillet::test::TDelayProxy;
using namespace std::chrono_literals;

namespace {

// Answers every line "x" it receives with "re x", at once.
class TAnswerServer {
public:
    TAnswerServer() {
        QObject::connect(&FServer, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = FServer.nextPendingConnection()) {
                socket->setParent(&FServer);
                socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                    while (socket->canReadLine())
                        socket->write("re " + socket->readLine());
                });
            }
        });
    }
    bool Listen() { return FServer.listen(QHostAddress::LocalHost, 0); }
    std::uint16_t Port() const { return FServer.serverPort(); }

private:
    QTcpServer FServer;
};

// Waits (running the event loop) until Socket has received Size bytes or TimeOutMs passed.
QByteArray ReadBytes(QTcpSocket& Socket, qsizetype Size, int TimeOutMs) {
    QByteArray received;
    QEventLoop loop;
    QTimer timeOut;
    timeOut.setSingleShot(true);
    QObject::connect(&timeOut, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&Socket, &QTcpSocket::readyRead, &loop, [&] {
        received += Socket.readAll();
        if (received.size() >= Size)
            loop.quit();
    });
    QObject::connect(&Socket, &QTcpSocket::disconnected, &loop, &QEventLoop::quit);
    received += Socket.readAll();
    if (received.size() < Size) {
        timeOut.start(TimeOutMs);
        loop.exec();
    }
    return received;
}

bool WaitUntil(const std::function<bool()>& Done, int TimeOutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!Done() && clock.elapsed() < TimeOutMs) {
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return Done();
}

class DelayProxy : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Server.Listen());
        Proxy = std::make_unique<TDelayProxy>(Server.Port(), 25ms);
        ASSERT_TRUE(Proxy->Listen());
        Client.connectToHost(QHostAddress::LocalHost, Proxy->Port());
        ASSERT_TRUE(WaitUntil([this] { return Client.state() == QAbstractSocket::ConnectedState; }, 2000));
        Client.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    }

    TAnswerServer Server;
    std::unique_ptr<TDelayProxy> Proxy;
    QTcpSocket Client;
};

TEST_F(DelayProxy, OneRequestTakesOneRoundTrip) {
    QElapsedTimer clock;
    clock.start();
    Client.write("hello\n");
    const QByteArray answer = ReadBytes(Client, 9, 2000);
    const qint64 elapsed = clock.elapsed();
    EXPECT_EQ(answer.toStdString(), "re hello\n");
    EXPECT_GE(elapsed, 50);
    EXPECT_LT(elapsed, 150);
    EXPECT_EQ(Proxy->Accepted(), 1);
    EXPECT_EQ(Proxy->BytesToTarget(), 6);
    EXPECT_EQ(Proxy->BytesToClient(), 9);
    Client.write("again\n");
    EXPECT_EQ(ReadBytes(Client, 9, 2000).toStdString(), "re again\n");
    EXPECT_EQ(Proxy->ClientTurns(), 2) << "a write after an answer is a turn of its own";
}

TEST_F(DelayProxy, ManyRequestsWrittenAtOnceComeBackInOrder) {
    std::string requests, expected;
    for (int n = 1; n <= 20; ++n) {
        requests += "request " + std::to_string(n) + "\n";
        expected += "re request " + std::to_string(n) + "\n";
    }
    QElapsedTimer clock;
    clock.start();
    Client.write(requests.data(), static_cast<qint64>(requests.size()));
    const QByteArray answers = ReadBytes(Client, static_cast<qsizetype>(expected.size()), 3000);
    const qint64 elapsed = clock.elapsed();
    EXPECT_EQ(answers.toStdString(), expected);
    EXPECT_GE(elapsed, 50);
    EXPECT_LT(elapsed, 3 * 50); // 20 serial round trips would take a second
    EXPECT_EQ(Proxy->ClientTurns(), 1);
}

TEST_F(DelayProxy, ClosingTheClientClosesTheTargetSide) {
    Client.write("last\n");
    Client.disconnectFromHost();
    EXPECT_TRUE(WaitUntil([this] { return Proxy->Open() == 0; }, 2000));
    EXPECT_EQ(Proxy->BytesToTarget(), 5); // delivered before the close
}

} // namespace

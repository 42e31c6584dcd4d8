#include "tests/support/delay_proxy.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <deque>

namespace quillet::test {

namespace {

using TClock = std::chrono::steady_clock;

// Bytes read from one side, to be written to the other at Due.
struct THeld {
    TClock::time_point Due;
    QByteArray Bytes;
};

} // namespace

// One relayed connection: the accepted client socket, the socket to the target, and for each
// direction the bytes held until their time with the one timer that wakes up for the oldest.
class TDelayProxy::TLink : public QObject {
public:
    TLink(TDelayProxy& Proxy, QTcpSocket* Client) : QObject(&Proxy), FProxy(Proxy), FClient(Client) {
        FClient->setParent(this);
        FTarget = new QTcpSocket(this);
        FUp.From = FClient;
        FUp.To = FTarget;
        FUp.Counter = &Proxy.FBytesToTarget;
        FDown.From = FTarget;
        FDown.To = FClient;
        FDown.Counter = &Proxy.FBytesToClient;
    }

    ~TLink() override {
        // The sockets go with this object; nothing of theirs may call back into it while it goes.
        FClient->disconnect(this);
        FTarget->disconnect(this);
        FClient->abort();
        FTarget->abort();
    }

    void Start() {
        for (TDirection* direction : {&FUp, &FDown}) {
            direction->Timer.setSingleShot(true);
            direction->Timer.setTimerType(Qt::PreciseTimer);
            connect(&direction->Timer, &QTimer::timeout, this, [this, direction] { Deliver(*direction); });
            connect(direction->From, &QTcpSocket::readyRead, this, [this, direction] { Hold(*direction); });
            connect(direction->From, &QTcpSocket::disconnected, this,
                    [this, direction] { SourceClosed(*direction); });
            connect(direction->From, &QTcpSocket::stateChanged, this, [this] { CheckFinished(); });
        }
        connect(FTarget, &QTcpSocket::connected, this, [this] {
            FTargetConnected = true;
            FTarget->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            Deliver(FUp); // what the client sent while the target was being reached
        });
        connect(FTarget, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
            // A target that cannot be reached closes the client (a later error comes with a
            // disconnected signal of its own).
            if (!FTargetConnected)
                SourceClosed(FDown);
        });
        // Without Nagle's algorithm: a small command must not wait for an acknowledgement.
        FClient->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        FTarget->connectToHost(QHostAddress::LocalHost, FProxy.FTargetPort);
        Hold(FUp);
        if (FClient->state() != QAbstractSocket::ConnectedState)
            SourceClosed(FUp);
    }

private:
    struct TDirection {
        QTcpSocket* From = nullptr;
        QTcpSocket* To = nullptr;
        std::deque<THeld> Held;
        QTimer Timer;
        bool FromClosed = false;
        std::int64_t* Counter = nullptr;
    };

    // Takes what From has to offer and holds it for the delay.
    void Hold(TDirection& Direction) {
        if (Direction.FromClosed || Direction.From->bytesAvailable() <= 0)
            return;
        if (&Direction == &FUp && FClientAnswered) {
            ++FProxy.FClientTurns; // the client writes after it was sent something
            FClientAnswered = false;
        }
        Direction.Held.push_back({TClock::now() + FProxy.FDelay, Direction.From->readAll()});
        Schedule(Direction);
    }

    // Wakes up when the oldest held bytes are due.
    void Schedule(TDirection& Direction) {
        if (Direction.Held.empty() || Direction.Timer.isActive())
            return;
        const auto wait =
            std::chrono::ceil<std::chrono::milliseconds>(Direction.Held.front().Due - TClock::now());
        Direction.Timer.start(std::max(wait, std::chrono::milliseconds(0)));
    }

    // Writes every held chunk that is due, in order; once nothing is held and From has closed,
    // closes To.
    void Deliver(TDirection& Direction) {
        const QAbstractSocket::SocketState state = Direction.To->state();
        if (state == QAbstractSocket::HostLookupState || state == QAbstractSocket::ConnectingState)
            return; // the target's connected signal delivers
        const auto now = TClock::now();
        while (!Direction.Held.empty() && Direction.Held.front().Due <= now) {
            if (state == QAbstractSocket::ConnectedState) {
                Direction.To->write(Direction.Held.front().Bytes);
                *Direction.Counter += Direction.Held.front().Bytes.size();
                if (&Direction == &FDown)
                    FClientAnswered = true;
            }
            Direction.Held.pop_front();
        }
        if (!Direction.Held.empty()) {
            Schedule(Direction);
            return;
        }
        if (Direction.FromClosed)
            Close(*Direction.To);
    }

    void SourceClosed(TDirection& Direction) {
        if (!Direction.FromClosed) {
            Hold(Direction); // the last bytes that came with the close
            Direction.FromClosed = true;
            if (Direction.Held.empty())
                Close(*Direction.To);
        }
        CheckFinished();
    }

    // Once both sides are closed the link goes.
    void CheckFinished() {
        if (FFinished || FClient->state() != QAbstractSocket::UnconnectedState ||
            FTarget->state() != QAbstractSocket::UnconnectedState)
            return;
        FFinished = true;
        FProxy.Finished(this);
    }

    // Closes Socket after what was written to it has gone out.
    static void Close(QTcpSocket& Socket) {
        if (Socket.state() == QAbstractSocket::ConnectedState)
            Socket.disconnectFromHost();
        else if (Socket.state() != QAbstractSocket::UnconnectedState)
            Socket.abort();
    }

    TDelayProxy& FProxy;
    QTcpSocket* FClient;
    QTcpSocket* FTarget = nullptr;
    TDirection FUp;   // client to target
    TDirection FDown; // target to client
    bool FTargetConnected = false;
    bool FFinished = false;
    bool FClientAnswered = true; // sent something since the client last wrote (a first write is a turn)
};

TDelayProxy::TDelayProxy(std::uint16_t TargetPort, std::chrono::milliseconds OneWayDelay, QObject* Owner)
    : QObject(Owner), FTargetPort(TargetPort), FDelay(OneWayDelay), FServer(new QTcpServer(this)) {
    connect(FServer, &QTcpServer::newConnection, this, &TDelayProxy::Accept);
}

TDelayProxy::~TDelayProxy() {
    const std::vector<TLink*> links = std::move(FLinks);
    FLinks.clear();
    for (TLink* link : links)
        delete link;
}

bool TDelayProxy::Listen() {
    return FServer->listen(QHostAddress::LocalHost, 0);
}

std::uint16_t TDelayProxy::Port() const {
    return FServer->serverPort();
}

void TDelayProxy::Accept() {
    while (QTcpSocket* client = FServer->nextPendingConnection()) {
        ++FAccepted;
        auto* link = new TLink(*this, client);
        FLinks.push_back(link);
        link->Start();
    }
}

void TDelayProxy::Finished(TLink* Link) {
    std::erase(FLinks, Link);
    Link->deleteLater();
}

} // namespace quillet::test

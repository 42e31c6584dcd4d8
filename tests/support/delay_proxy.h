// A TCP relay on 127.0.0.1 that holds every byte for a fixed time in each direction, so that tests
// and benchmarks can see how a client behaves against a distant server while both ends stay on
// this machine. For every accepted client it connects to the target port on 127.0.0.1 and relays
// both ways: bytes read at time t are written at t + the one-way delay, in the order they came.
// When either side closes, the other is closed once the bytes still held for it are written.
// It runs in the event loop of the thread that owns it, so it keeps relaying while a client on
// the same thread waits in a nested event loop; an idle relay sleeps on a timer, never spins.
#pragma once

#include <QObject>
#include <chrono>
#include <cstdint>
#include <vector>

class QTcpServer;

namespace quillet::test {

class TDelayProxy : public QObject {
    Q_OBJECT
public:
    // OneWayDelay applies to each direction: 25 ms makes a 50 ms round trip.
    TDelayProxy(std::uint16_t TargetPort, std::chrono::milliseconds OneWayDelay, QObject* Owner = nullptr);
    ~TDelayProxy() override;
    TDelayProxy(const TDelayProxy&) = delete;
    TDelayProxy& operator=(const TDelayProxy&) = delete;

    // Starts listening on 127.0.0.1 on a free port; false when no port could be had.
    bool Listen();
    std::uint16_t Port() const;
    std::uint16_t TargetPort() const { return FTargetPort; }
    std::chrono::milliseconds OneWayDelay() const { return FDelay; }

    // Connections accepted so far, and those still relaying.
    int Accepted() const { return FAccepted; }
    int Open() const { return static_cast<int>(FLinks.size()); }
    // Bytes written so far towards the target (the client's commands) and towards the clients.
    std::int64_t BytesToTarget() const { return FBytesToTarget; }
    std::int64_t BytesToClient() const { return FBytesToClient; }
    // Client turns so far, over every connection: each time a client writes after it was sent
    // something since its last write (or writes first on a connection), it has waited for the
    // other side once. A client that waits for every reply takes a turn per command; one that
    // writes its commands together takes one per batch. With the greeting's wait, the turns of a
    // session are its round trips.
    int ClientTurns() const { return FClientTurns; }

private:
    class TLink;
    friend class TLink;

    void Accept();
    // Called by a link whose two sides are both closed.
    void Finished(TLink* Link);

    std::uint16_t FTargetPort;
    std::chrono::milliseconds FDelay;
    QTcpServer* FServer;
    std::vector<TLink*> FLinks; // children of this object
    int FAccepted = 0;
    std::int64_t FBytesToTarget = 0;
    std::int64_t FBytesToClient = 0;
    int FClientTurns = 0;
};

} // namespace quillet::test

// The demo mailbox: 25 messages waiting at start, written in several languages and character
// sets, with threads, newsletters, a mailing list, a broken Date field and a body line that is a
// lone dot. The same seed and start time always give the same messages; their dates lie in the
// days before the start time. New messages can be added while the server runs.
#pragma once

#include <QDateTime>

#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

struct TDemoDraft;

struct TDemoMessage {
    // The unique-id listing value (UIDL): printable ASCII, never reused in one mailbox.
    std::string UniqueId;
    // The message as stored: header, empty line, body, CR LF after every line.
    std::string Text;
};

class TDemoMailbox {
public:
    static constexpr int InitialCount = 25;
    static constexpr std::uint64_t DefaultSeed = 1939;
    // The mailbox owner's address, which every message is delivered to.
    static constexpr const char* OwnerAddress = "demo@example.net";

    TDemoMailbox(std::uint64_t Seed, const QDateTime& Now);

    const std::vector<TDemoMessage>& Messages() const { return FMessages; }

    // Delivers the next message at Now, sent a few seconds before.
    const TDemoMessage& AddNewMessage(const QDateTime& Now);

    // Removes the messages with these unique ids; ids no longer present are passed over.
    void Remove(const std::vector<std::string>& UniqueIds);

private:
    // What a later answer needs of a delivered message.
    struct TSent {
        std::string MessageId;
        std::vector<std::string> References;
        std::vector<std::string> Body;
        std::string SenderName;
        QDateTime Date; // in the sender's offset from UTC
    };

    std::uint64_t NextRandom();
    std::uint64_t Below(std::uint64_t Bound) { return NextRandom() % Bound; }
    std::string RandomHex(int Digits);
    // Fills in what delivery adds and stores the message; Sent and Received are UTC.
    const TDemoMessage& Deliver(const TDemoDraft& Draft, const QDateTime& Sent, const QDateTime& Received);

    std::uint64_t FState;
    int FSerial = 0;     // messages delivered so far
    int FLaterCount = 0; // messages delivered after the start
    std::vector<TDemoMessage> FMessages;
    std::vector<TSent> FInitialSent; // for answers within the start set
};

} // namespace quillet

// What the demo mailbox holds: the 25 messages waiting at start and the ones that arrive later,
// as drafts. A draft carries what the sender wrote; the mailbox adds what delivery adds (dates,
// Received fields, Message-ID, thread references, the quoted text of the message answered).
// Every person, company and address here is invented; all domains are example.org, example.net
// or example.com.
#pragma once

#include "demo/demo_letter.h"

#include <string>
#include <vector>

namespace quillet {

struct TDemoDraft {
    // From, To, Cc, Subject, character set, encodings, Body, Html and further fields. A
    // DateText set here stands as it is (a sender with a broken clock); otherwise it is made
    // from the delivery time.
    TDemoLetter Letter;
    // The sender's offset from UTC in minutes, as their dates show it.
    int ZoneMinutes = 0;
    // Index of the earlier draft (in the same list) that this one answers; -1 for none.
    int Parent = -1;
    // The line above the quoted parent; "{date}" and "{name}" stand for the parent's date and sender.
    std::string Attribution;
};

// The messages waiting when the server starts, oldest first.
std::vector<TDemoDraft> InitialDrafts();

// The Number-th message (from 0) that arrives while the server runs; the drafts repeat in a
// cycle with their numbers (parcel, post count) moving on.
TDemoDraft LaterDraft(int Number);

} // namespace quillet

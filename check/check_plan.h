// The decisions of one account's check that need no server: which listed messages are matched
// by their unique id and which have their header fetched, and whether a marked mail may be sent
// DELE on this connection. They work from what this connection listed, never from an earlier one.
#pragma once

#include "mail/pop3_client.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillet {

class TMail;

struct TFetchPlan {
    // Messages whose header is fetched, ascending.
    std::vector<std::int32_t> Fetch;
    // Messages matched by their unique id to a listed mail, with that mail's key.
    std::map<std::int32_t, std::string> Known;
};

// For messages 1..Count: a message whose unique id (Ids) is known (UidlKeys: id -> key) and whose
// mail is still listed (Listed(key)) is matched without its header; every other one is fetched.
TFetchPlan PlanFetch(std::int32_t Count, const TUniqueIds& Ids,
                     const std::unordered_map<std::string, std::string>& UidlKeys,
                     const std::function<bool(const std::string& Key)>& Listed);

// What this connection says about its messages.
struct TSessionFacts {
    const TUniqueIds& Ids;                           // UIDL listing (empty without UIDL)
    const TMessageSize& Sizes;                       // LIST sizes by number
    const std::map<std::int32_t, std::string>& Keys; // the key each message was matched to in this pass
};

// Why DELE must not go to Mail's message number on this connection; empty when it may. Met in
// this pass is not enough: the message at that number must be this mail by its unique id, or
// (without one) by its size and its key from this connection's header.
std::string DeletionRefusal(const TMail& Mail, const TSessionFacts& Session);

} // namespace quillet

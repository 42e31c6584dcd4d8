// What the files of the check cycle share and no one else needs: the state of one account's
// pass over its mailbox, and the small texts its messages are made of.
#pragma once

#include "check/check_cycle.h"

#include "model/mail.h"

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillet {

// What one account's pass learns on its connection.
struct TCheckCycle::TPass {
    std::string Listing;                       // this connection's LIST reply
    std::map<std::int32_t, std::string> Keys;  // message number -> key of the mail it was matched to
    std::unordered_map<std::string, int> Seen; // keys met so far (headers alike twice are told apart)
    std::unordered_map<const TMail*, TMailState> Before; // states of the account's mails before the pass
    int NotFetched = 0;                                  // TOP refused for a message
    int NotDeleted = 0;                                  // marked mails not sent DELE, or refused
    std::string Failure;              // the first failure of the account's check, as the status shows it
    bool Complete = false;            // every listed message was met, on a live session
    std::vector<std::string> Deleted; // keys whose DELE was accepted, waiting for QUIT
    bool DeletionsLost = false;       // ... and QUIT was not accepted
};

namespace check_text {

// The first line of a text, for a status bar that shows one line.
inline std::string FirstLine(const std::string& Text) {
    return Text.substr(0, Text.find_first_of("\r\n"));
}

inline std::string Quoted(const TMail& Mail) {
    return "\"" + Mail.Subject + "\"";
}

} // namespace check_text

} // namespace quillet

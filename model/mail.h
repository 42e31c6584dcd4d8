// One message seen on one account's server, and the identity by which it is recognised again.
#pragma once

#include "util/date_time.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

// Old: seen in an earlier check; New: first found in the latest check of its account;
// Unseen: not yet matched again in the pass that is running now.
enum class TMailState : std::uint8_t { Old = 0, New = 1, Unseen = 2 };

class TMail {
public:
    std::string UniqueID;
    std::string ServerID;
    std::string Account;
    std::string FromName;
    std::string FromAddr;
    std::vector<std::string> ToName, ToAddr;
    std::vector<std::string> CCName, CCAddr;
    std::vector<std::string> BCCName, BCCAddr;
    std::string Subject;
    TDateTime DateSent = 0;
    TDateTime DateRcvd = 0;
    std::int32_t MailSize = 0;
    std::vector<std::string> HeaderLines;
    std::vector<std::string> BodyLines;
    std::int32_t ServerIdx = 0;
    TMailState State = TMailState::New;
    bool MarkedForDelete = false;

    // Stores N only when it is a real message number (above 0).
    void SetServerIdx(std::int32_t N);
};

// The identity of a fetched message: the two-digit byte sums of its header lines (the lines
// before the first empty line) from the third one on. Headers of fewer than three lines give
// the empty identity. The first two lines are left out so that a server that puts changing
// lines at the very top of a header does not make an old mail look new.
std::string MailIdentity(const std::vector<std::string>& Lines);

// The header lines (before the first empty line) and the body lines (after it) of a fetched text.
void SplitHeaderAndBody(const std::vector<std::string>& Lines, std::vector<std::string>& Header,
                        std::vector<std::string>& Body);

} // namespace quillet

// One message seen on one account's server, and the identity by which it is recognised again.
#pragma once

#include "util/date_time.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Old: seen in an earlier check; New: first found in the latest check of its account;
// Unseen: not yet matched again in the pass that is running now.
enum class TMailState : std::uint8_t { Old = 0, New = 1, Unseen = 2 };

class TMail {
public:
    // The identity shown in the properties and Dump IDs (a weak checksum, see MailIdentity).
    std::string UniqueID;
    // What the list matches the mail by: see MailKey. Empty for an entry built without a fetch,
    // which is then matched by its UniqueID.
    std::string Key;
    // The server's unique id (UIDL) of the message; empty when the server gave none.
    std::string Uid;
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
    std::int32_t ServerIdx = 0;
    TMailState State = TMailState::New;
    bool MarkedForDelete = false;
    // Announced since the user last looked at the window: its row shows "*" and bold until then.
    bool NotLookedAt = false;

    // Stores N only when it is a real message number (above 0).
    void SetServerIdx(std::int32_t N);
    const std::string& MatchKey() const { return Key.empty() ? UniqueID : Key; }

    // The lines fetched with TOP: the header lines are those before the first empty line, the
    // body lines those after it (the empty line itself is not kept). A line may hold any byte,
    // CR and NUL included.
    void SetLines(const std::vector<std::string>& Lines);
    int HeaderLineCount() const { return static_cast<int>(FHeaderLineCount); }
    int BodyLineCount() const { return static_cast<int>(FLineEnds.size() - FHeaderLineCount); }
    // 0 <= I < HeaderLineCount() (BodyLineCount()); the view lasts until the lines are set again.
    std::string_view HeaderLine(int I) const { return Line(static_cast<std::size_t>(I)); }
    std::string_view BodyLine(int I) const { return Line(FHeaderLineCount + static_cast<std::size_t>(I)); }
    // Copies of the lines, for the few readers that work on a list (one mail at a time).
    std::vector<std::string> HeaderLines() const;
    std::vector<std::string> BodyLines() const;

private:
    std::string_view Line(std::size_t I) const;

    // A list holds many thousand mails of some 60 lines each: the lines are kept in one buffer
    // with where each one ends, not as a string each (which would cost more than the text).
    std::string FLineBytes;               // the lines one after the other, without line ends
    std::vector<std::uint32_t> FLineEnds; // end of each line in FLineBytes: header lines, then body
    std::uint32_t FHeaderLineCount = 0;
};

// The key that tells one account's mails apart: the account's label, the server's unique id
// (where it gives UIDL) and the SHA-256 of every header line as bytes. Messages that differ in
// any header line, or in their unique id, or belong to other accounts, never share a key.
std::string MailKey(const std::string& Account, const std::string& Uid,
                    const std::vector<std::string>& HeaderLines);

// The identity of a fetched message: the two-digit byte sums of its header lines (the lines
// before the first empty line) from the third one on. Headers of fewer than three lines give
// the empty identity. The first two lines are left out so that a server that puts changing
// lines at the very top of a header does not make an old mail look new.
std::string MailIdentity(const std::vector<std::string>& Lines);

// The header lines (before the first empty line) and the body lines (after it) of a fetched text.
void SplitHeaderAndBody(const std::vector<std::string>& Lines, std::vector<std::string>& Header,
                        std::vector<std::string>& Body);

} // namespace quillet

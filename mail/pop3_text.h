// Pure text rules of the POP3 client: how a reply is cut into lines, how the LIST reply becomes
// the message count and sizes, how a TOP reply becomes the message text, which host names are
// numeric addresses, and which command arguments are safe to put on the wire.
#pragma once

#include "util/convert_error.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Highest message number taken from a listing. A mailbox numbers its messages from 1 to its
// count; a larger (or negative) number means a malformed listing, which must not size the table
// of message sizes.
inline constexpr std::int32_t MaxMessageNumber = 10'000'000;

// The length of the complete reply at the start of Received, or 0 while it is incomplete. A
// single-line reply ends at its CR LF; a multi-line one at CR LF "." CR LF, except that a "-ERR"
// status line is the whole reply. SearchFrom: where the terminator search may start.
std::size_t Pop3ReplyLength(std::string_view Received, bool MultiLine, std::size_t SearchFrom = 0);

// The lines of a reply: CR LF (or a bare LF) ends a line, and a final line break adds no empty
// line. A lone CR is data inside its line, never a line break: a server may pass one through
// from a message, and taking it for a line break would let a forged header line appear. A zero
// byte is data like any other.
std::vector<std::string_view> ReplyLines(std::string_view Reply);

// ReplyLines as texts of their own: the lines of a fetched message or a listing.
std::vector<std::string> ServerTextLines(std::string_view Text);

// The response code of a "-ERR [CODE] ..." reply (RFC 2449, RFC 3206).
enum class TResponseCode { None, InUse, LoginDelay, SysTemp, SysPerm, Auth, Other };
TResponseCode ResponseCodeOf(std::string_view Reply);

// The number after a capability of a CAPA reply ("LOGIN-DELAY 900" gives 900); -1 when the
// capability is not listed or carries no number.
std::int32_t CapabilityNumber(std::string_view Reply, std::string_view Name);

// Reads a LIST reply. MessageCount becomes the number on the last listed line (0 for an empty
// listing, -1 when that line has no size or no number); MessageSizes[n] the size of message n,
// with MessageSizes[0] = 0. Throws EConvertError for a listed line whose first word is not a
// message number from 0 to MaxMessageNumber.
void ParseListing(std::string_view Reply, std::int32_t& MessageCount,
                  std::vector<std::int32_t>& MessageSizes);

// Empty when the listed message numbers of a LIST reply run 1, 2, ... n in order, as a mailbox
// numbers its messages at the start of a session; otherwise what is wrong, for the status bar.
// A listing that skips or repeats numbers cannot be matched to messages safely.
std::string ListingNumbersProblem(std::string_view Reply);

// The text of a TOP reply without its status line and its final "." line, CR LF after each line.
// A line that the server byte-stuffed (a leading "." doubled) gets its added "." removed.
std::string TopTextFromReply(std::string_view Reply);

// The capabilities a CAPA reply lists (RFC 2449): the first word of every line between the
// status line and the "." line, in upper case ("TOP", "UIDL", "STLS", ...). Nothing for a
// reply that is not "+OK".
std::vector<std::string> ParseCapabilities(std::string_view Reply);

// The unique ids of a UIDL listing (RFC 1939), by message number. An id that two messages share
// (a server that derives ids from the message bytes) is left out for both, so that neither is
// taken for the other; so are malformed lines. Nothing for a reply that is not "+OK".
using TUniqueIds = std::map<std::int32_t, std::string>;
TUniqueIds ParseUidlListing(std::string_view Reply);

// True when every piece of Host between dots is a decimal number (a numeric IPv4 address);
// an empty piece makes it a host name.
bool IsNumericHost(std::string_view Host);

// True when Arg can go on a command line: no CR, LF or zero byte, which would end the command
// early and let the rest of the text run as further commands.
bool IsSafeArgument(std::string_view Arg);

} // namespace quillet

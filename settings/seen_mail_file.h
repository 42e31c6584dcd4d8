// The file beside Quillet.ini that keeps which mails were announced already, per account, so
// that a restart does not announce them again. It is plain UTF-8 text, one item a line:
//
//   account<TAB>label<TAB>server<TAB>user name
//   seen<TAB>id                (a mail of the account above)
//
// Fields are written with %25, %09, %0A, %0D (and %XX for other control bytes) in place of
// the bytes they stand for. Lines starting with '#', empty lines and lines that cannot be read
// (hand-edited, cut short, unknown) are passed over; a "seen" line before any readable account
// line belongs to nobody. The file is replaced atomically.
#pragma once

#include "model/seen_mail.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace quillet {

inline constexpr const char* SeenMailFileName = "Quillet.seen";
// Longer lines are passed over; a file is read up to MaxSeenFileBytes (ten times what a
// hundred thousand mails need).
inline constexpr std::size_t MaxSeenLineBytes = 4096;
inline constexpr std::size_t MaxSeenFileBytes = std::size_t{64} << 20;

TSeenMail ParseSeenMail(std::string_view Text);
std::string SeenMailText(const TSeenMail& Seen);

// A file that is missing or cannot be read holds no announced mail.
TSeenMail ReadSeenMailFile(const std::string& Path);
// Replaces the file with Seen. Returns why that failed; empty when it was written.
std::string WriteSeenMailFile(const std::string& Path, const TSeenMail& Seen);

} // namespace quillet

// Reading the Date field of a message as a local date-time.
#pragma once

#include "util/date_time.h"

#include <QTimeZone>

#include <string_view>

namespace quillet {

// Reads a date such as "Tue, 15 Nov 1994 08:12:31 -0500" and returns it as a local date-time,
// 0 when it cannot be read. Fields are split at every space, "/" and ":" (so two blanks in a
// row shift the fields); a leading word is skipped; a space after the minutes leads straight to
// the zone. Month names are the case-sensitive English abbreviations; an unknown name reads as
// January. The zone is "+hhmm" or "-hhmm"; anything else means UTC. A text without a month
// field raises EMailFormatError.
TDateTime ParseMailDate(std::string_view Text);

// The same, converting the sent moment into local time of the given zone.
TDateTime ParseMailDateIn(std::string_view Text, const QTimeZone& Zone);

// Local time minus UTC now, in days (1/24 at one hour east of UTC); 0 when the system time
// zone cannot be read.
TDateTime LocalUtcOffset();

} // namespace quillet

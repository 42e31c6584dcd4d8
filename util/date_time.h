// Local date-times as the program keeps them: days since 30 December 1899 as a double, the
// fraction being the time of day; 0 stands for "no date".
#pragma once

#include <QDateTime>

namespace quillet {

using TDateTime = double;

// The local date-time that a day count stands for. Before 1899-12-30 the whole part counts
// back while the fraction still counts forward (-1.25 is 1899-12-29 06:00).
QDateTime DateTimeToQDateTime(TDateTime value);

// The day count of a date-time, taken in local time. An invalid date-time gives 0.
TDateTime QDateTimeToDateTime(const QDateTime& value);

// Day count of a calendar date and time of day (no time-zone involved).
TDateTime EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                         int msec = 0);

// The current local date-time.
TDateTime NowDateTime();

} // namespace quillet

#include "mail/mail_date.h"

#include "mail/field_value.h"
#include "mail/mail_format_error.h"
#include "util/strings.h"

#include <QDate>
#include <QDateTime>

#include <array>
#include <cmath>
#include <string>

namespace quillet {

namespace {

enum TDateField { dfSkipped, dfDay, dfMonth, dfYear, dfHour, dfMinute, dfSecond, dfZone, dfBeyond };

constexpr double kSecondsPerDay = 86400.0;
const QDate kDayZero(1899, 12, 30);

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int MonthOf(const std::string& field) {
    if (field.empty())
        RaiseMailFormatError(kDateWithoutMonthErrorText);
    if (IsDigit(field.front()))
        return StrToIntSafe(field);
    static constexpr std::string_view kMonths = "Jan,Feb,Mar,Apr,May,Jun,Jul,Aug,Sep,Oct,Nov,Dec,";
    const std::size_t found = kMonths.find(field);
    const int position = found == std::string_view::npos ? 0 : static_cast<int>(found) + 1;
    return (position - 1) / 4 + 1; // not found reads as January
}

// Zone offset east of UTC in days; false when the zone's hours and minutes are not a time of day.
bool ZoneOffset(const std::string& zoneField, double& offset) {
    offset = 0;
    // Blanks around the zone are every character of code 32 and below, as at the ends of the value.
    std::string_view zone = zoneField;
    while (!zone.empty() && static_cast<unsigned char>(zone.front()) <= 32)
        zone.remove_prefix(1);
    while (!zone.empty() && static_cast<unsigned char>(zone.back()) <= 32)
        zone.remove_suffix(1);
    if (zone == "GMT" || zone.size() != 5)
        return true;
    const int sign = zone[0] == '-' ? -1 : 1;
    const int hours = StrToIntSafe(zone.substr(1, 2));
    const int minutes = StrToIntSafe(zone.substr(3, 2));
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59)
        return false;
    offset = sign * (hours * 60 + minutes) / 1440.0;
    return true;
}

// Local time minus UTC, in days, at the moment given as days since 1899-12-30 UTC.
double OffsetAt(const QTimeZone& zone, double utcDays) {
    if (!zone.isValid() || !std::isfinite(utcDays))
        return 0;
    const QDateTime moment =
        QDateTime(kDayZero, QTime(0, 0), Qt::UTC)
            .addMSecs(static_cast<qint64>(std::llround(utcDays * kSecondsPerDay * 1000.0)));
    if (!moment.isValid())
        return 0;
    return zone.offsetFromUtc(moment) / kSecondsPerDay;
}

} // namespace

TDateTime ParseMailDateIn(std::string_view Text, const QTimeZone& Zone) {
    while (!Text.empty() && static_cast<unsigned char>(Text.front()) <= 32)
        Text.remove_prefix(1);
    while (!Text.empty() && static_cast<unsigned char>(Text.back()) <= 32)
        Text.remove_suffix(1);
    if (Text.empty())
        return 0;

    std::array<std::string, dfBeyond> fields;
    int state = IsDigit(Text.front()) ? dfDay : dfSkipped;
    for (const char c : Text) {
        if (c == ' ' || c == '/' || c == ':') {
            if (c == ' ' && state == dfMinute)
                state = dfZone;
            else if (state < dfBeyond)
                ++state;
        } else if (state > dfSkipped && state < dfBeyond) {
            fields[static_cast<std::size_t>(state)] += c;
        }
    }

    const int day = StrToIntSafe(fields[dfDay]);
    int year = StrToIntSafe(fields[dfYear]);
    const int hour = StrToIntSafe(fields[dfHour]);
    const int minute = StrToIntSafe(fields[dfMinute]);
    const int second = StrToIntSafe(fields[dfSecond]);
    const int month = MonthOf(fields[dfMonth]);
    if (year < 100)
        year += year >= 50 ? 1900 : 2000;
    if (month == 0)
        return 0;

    double zoneOffset = 0;
    if (!ZoneOffset(fields[dfZone], zoneOffset))
        return 0;
    if (year < 1 || year > 9999 || month < 1 || month > 12)
        return 0;
    const QDate date(year, month, day);
    if (!date.isValid())
        return 0;
    const double sent =
        static_cast<double>(kDayZero.daysTo(date)) + hour / 24.0 + minute / 1440.0 + second / kSecondsPerDay;
    const double utc = sent - zoneOffset;
    return utc + OffsetAt(Zone, utc);
}

TDateTime ParseMailDate(std::string_view Text) {
    return ParseMailDateIn(Text, QTimeZone::systemTimeZone());
}

TDateTime LocalUtcOffset() {
    const QTimeZone zone = QTimeZone::systemTimeZone();
    if (!zone.isValid())
        return 0;
    return zone.offsetFromUtc(QDateTime::currentDateTimeUtc()) / kSecondsPerDay;
}

} // namespace quillet

#include "util/date_time.h"

#include <cmath>

namespace quillet {

namespace {

const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;

} // namespace

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec) {
    const QDate date(year, month, day);
    if (!date.isValid())
        return 0;
    const double days = static_cast<double>(kEpoch.daysTo(date));
    const double fraction = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / kMsPerDay;
    // Negative day counts carry the time of day as a positive fraction on a negative whole part.
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime DateTimeToQDateTime(TDateTime value) {
    const double whole = std::trunc(value);
    const double fraction = std::fabs(value - whole);
    const QDate date = kEpoch.addDays(static_cast<qint64>(whole));
    qint64 ms = std::llround(fraction * kMsPerDay);
    if (ms >= static_cast<qint64>(kMsPerDay))
        ms = static_cast<qint64>(kMsPerDay) - 1;
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

TDateTime QDateTimeToDateTime(const QDateTime& value) {
    if (!value.isValid())
        return 0;
    const QDateTime local = value.toLocalTime();
    const QTime t = local.time();
    return EncodeDateTime(local.date().year(), local.date().month(), local.date().day(), t.hour(), t.minute(),
                          t.second(), t.msec());
}

TDateTime NowDateTime() {
    return QDateTimeToDateTime(QDateTime::currentDateTime());
}

} // namespace quillet

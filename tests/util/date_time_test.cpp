#include "util/date_time.h"

#include <gtest/gtest.h>

using namespace quillet;

TEST(DateTime, EncodeAndDecode) {
    struct Row {
        int y, mo, d, h, mi, s;
        double value;
    } rows[] = {
        {1899, 12, 30, 0, 0, 0, 0.0},
        {1899, 12, 31, 0, 0, 0, 1.0},
        {1900, 1, 1, 12, 0, 0, 2.5},
        {1899, 12, 29, 6, 0, 0, -1.25},
        {1899, 12, 30, 18, 0, 0, 0.75},
        {2000, 1, 1, 0, 0, 0, 36526.0},
        {2026, 12, 8, 23, 59, 59, 46364.0 + 86399.0 / 86400.0},
    };
    for (const auto& r : rows) {
        const double v = EncodeDateTime(r.y, r.mo, r.d, r.h, r.mi, r.s);
        EXPECT_NEAR(v, r.value, 1e-9) << r.y << "-" << r.mo << "-" << r.d;
        const QDateTime dt = DateTimeToQDateTime(r.value);
        EXPECT_EQ(dt.date(), QDate(r.y, r.mo, r.d)) << r.value;
        EXPECT_EQ(dt.time(), QTime(r.h, r.mi, r.s)) << r.value;
    }
    EXPECT_EQ(EncodeDateTime(2021, 2, 30), 0.0);
}

TEST(DateTime, AroundMidnight) {
    // One millisecond before midnight stays on its own day.
    const double late = EncodeDateTime(2024, 2, 29, 23, 59, 59, 999);
    EXPECT_EQ(DateTimeToQDateTime(late).date(), QDate(2024, 2, 29));
    EXPECT_EQ(DateTimeToQDateTime(late).time(), QTime(23, 59, 59, 999));
    const double next = EncodeDateTime(2024, 3, 1);
    EXPECT_LT(late, next);
    EXPECT_EQ(DateTimeToQDateTime(next).time(), QTime(0, 0));
}

TEST(DateTime, QDateTimeRoundTrip) {
    const QDateTime local(QDate(2025, 7, 4), QTime(13, 14, 15));
    EXPECT_EQ(DateTimeToQDateTime(QDateTimeToDateTime(local)), local);
    EXPECT_EQ(QDateTimeToDateTime(QDateTime()), 0.0);
    EXPECT_GT(NowDateTime(), 40000.0);
}

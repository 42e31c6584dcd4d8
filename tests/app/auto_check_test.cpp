// Auto checking: minutes to timer interval and back, and when the timer runs.
#include "app/auto_check.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace quillet::test {

TEST(AutoCheck, MinutesAndTheTimer) {
    struct Row {
        int minutes;
        int interval;
        int readBack;
        bool runs; // with auto checking on
    };
    const Row rows[] = {
        {15, 900000, 15, true},
        {1, 60000, 1, true},
        {0, 0, 0, false}, // a zero interval never fires
        {-4, 0, 0, false},
        {35791, 2147460000, 35791, true}, // the longest a timer holds
        {40000, 2147460000, 35791, true},
    };
    for (const Row& row : rows) {
        QTimer timer;
        TAutoCheck check(timer);
        check.SetCheckingActive(true);
        check.SetAutoCheckTime(row.minutes);
        EXPECT_EQ(timer.interval(), row.interval) << row.minutes;
        EXPECT_EQ(check.AutoCheckTime(), row.readBack) << row.minutes;
        EXPECT_EQ(timer.isActive(), row.runs) << row.minutes;
        check.SetCheckingActive(false);
        EXPECT_FALSE(timer.isActive()) << row.minutes;
    }
    QTimer timer;
    TAutoCheck check(timer);
    timer.setInterval(119999);
    EXPECT_EQ(check.AutoCheckTime(), 1);
}

} // namespace quillet::test

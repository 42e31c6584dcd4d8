// Reading Date values: field splitting, month names, two-digit years, zones and local time.
#include "mail/mail_date.h"
#include "mail/mail_format_error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(MailDate, ReadsTheSentMomentInUtc) {
    // The sent moment in UTC; 0 for "no date".
    const std::pair<const char*, TDateTime> rows[] = {
        {"Tue, 15 Nov 1994 08:12:31 -0500", EncodeDateTime(1994, 11, 15, 13, 12, 31)},
        {"15 Nov 94 08:12 GMT", EncodeDateTime(1994, 11, 15, 8, 12, 0)},
        {"Tue, 15 Nov 1994 08:12:31 +0100 (CET)", EncodeDateTime(1994, 11, 15, 7, 12, 31)},
        {"15/11/1994 08:12", EncodeDateTime(1994, 11, 15, 8, 12, 0)},
        {"  \t15 Nov 1994 08:12:31 +0130\r\n", EncodeDateTime(1994, 11, 15, 6, 42, 31)},
        {"15 Nov 1994 08:12:31 \t+0100", EncodeDateTime(1994, 11, 15, 7, 12, 31)}, // a tab before the zone
        // A colon splits the zone.
        {"Tue, 15 Nov 1994 08:12:31 +01:00", EncodeDateTime(1994, 11, 15, 8, 12, 31)},
        {"Tue, 15 Nov 1994 08:12:31 EST", EncodeDateTime(1994, 11, 15, 8, 12, 31)},
        {"Tue,  5 Nov 1994 08:12:31 GMT", 0}, // two blanks shift the fields
        {"31 Feb 2001 10:00:00 GMT", 0},
        {"15 NOV 1994 00:00:00 GMT", EncodeDateTime(1994, 1, 15)}, // unknown names read as January
        {"15 November 1994", EncodeDateTime(1994, 1, 15)},
        {"1 Dec 05", EncodeDateTime(2005, 12, 1)},
        {"1 Dec 50", EncodeDateTime(1950, 12, 1)},
        {"1 Dec", EncodeDateTime(2000, 12, 1)}, // a missing year becomes 2000
        {"1 12 2005 10:00", EncodeDateTime(2005, 12, 1, 10)},
        {"1 0 2005", 0},
        {"1 13 2005", 0},
        {"1 1x 2005", 0},
        {"1 Jan 2005 10:00:00 +2460", 0},                           // the zone is not a time of day
        {"1 Jan 2005 30:00:00 GMT", EncodeDateTime(2005, 1, 2, 6)}, // hours are added as they are
        {"1 Jan 99999", 0},
        {"", 0},
        {"   ", 0},
    };
    for (const auto& [text, utc] : rows)
        EXPECT_NEAR(ParseMailDateIn(text, QTimeZone(0)), utc, 1e-8) << text;
}

TEST(MailDate, WithoutMonthRaises) {
    for (const char* text : {"15", "Tue, 15", "15  Nov 1994"})
        EXPECT_THAT([&] { ParseMailDateIn(text, QTimeZone(0)); },
                    testing::ThrowsMessage<EMailFormatError>(testing::StrEq("Date without month")))
            << text;
}

TEST(MailDate, LocalTimeUsesTheOffsetInEffectAtThatMoment) {
    const QTimeZone berlin("Europe/Berlin");
    ASSERT_TRUE(berlin.isValid());
    // Summer time in July, standard time in November, whenever the test runs.
    EXPECT_NEAR(ParseMailDateIn("1 Jul 2020 10:00:00 GMT", berlin), EncodeDateTime(2020, 7, 1, 12), 1e-8);
    EXPECT_NEAR(ParseMailDateIn("1 Nov 2020 10:00:00 GMT", berlin), EncodeDateTime(2020, 11, 1, 11), 1e-8);
    // The system zone.
    const QDateTime sent(QDate(1994, 11, 15), QTime(13, 12, 31), Qt::UTC);
    EXPECT_NEAR(ParseMailDate("Tue, 15 Nov 1994 08:12:31 -0500"), QDateTimeToDateTime(sent.toLocalTime()),
                1e-8);
    EXPECT_NEAR(LocalUtcOffset(), QDateTime::currentDateTime().offsetFromUtc() / 86400.0, 1e-9);
}

} // namespace
} // namespace quillet

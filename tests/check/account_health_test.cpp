// An account's health: what failed and good checks leave on it, what survives a restart through
// the options store, and the texts and badge the window shows of it.
#include "check/account_health.h"
#include "check/check_cycle.h"
#include "settings/account_health_store.h"
#include "tests/check/schedule_test_support.h"
#include "tests/support/temp_settings.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace quillet::test {
namespace {

std::int64_t LocalMs(int Day, int Hour, int Minute) {
    return QDateTime(QDate(2026, 12, Day), QTime(Hour, Minute)).toMSecsSinceEpoch();
}

TEST(AccountHealth, TextsAndBadgeForTheWindow) {
    const std::int64_t now = LocalMs(7, 11, 0);
    const std::string refused = "Failed on login: the user name or password was refused";
    struct TRow {
        std::int32_t FailuresInRow;
        std::string Failure;
        std::int64_t FailedMs, GoodMs;
        bool Badge;
        std::string Tooltip, Status;
    };
    const TRow rows[] = {
        {0, "", 0, 0, false, "Alice", ""},
        {0, "", 0, LocalMs(7, 9, 12), false, "Alice\nLast good check: 09:12", ""},
        {1, refused, LocalMs(7, 10, 42), LocalMs(7, 9, 12), false,
         "Alice\nLast good check: 09:12\nLast check failed at 10:42: " + refused,
         "Alice: last check failed at 10:42 (" + refused + "); last good check 09:12"},
        {3, "Failed on connect", LocalMs(7, 10, 42), LocalMs(6, 9, 12), true,
         "Alice\nLast good check: 2026-12-06 09:12\nLast check failed at 10:42: Failed on connect\n"
         "3 failed checks in a row",
         "Alice: last check failed at 10:42 (Failed on connect); last good check 2026-12-06 09:12"},
        {2, "Failed on TOP: -ERR gone\r\nmore", LocalMs(7, 10, 42), 0, true,
         "Alice\nNo good check yet\nLast check failed at 10:42: Failed on TOP: -ERR gone\n2 failed checks in "
         "a row",
         "Alice: last check failed at 10:42 (Failed on TOP: -ERR gone); no good check yet"},
    };
    for (const TRow& row : rows) {
        TAccount account;
        account.Label = "Alice";
        account.FailuresInRow = row.FailuresInRow;
        account.LastFailure = row.Failure;
        account.LastFailureMs = row.FailedMs;
        account.LastGoodCheckMs = row.GoodMs;
        EXPECT_EQ(ShowsHealthBadge(account), row.Badge) << row.Tooltip;
        EXPECT_EQ(HealthTooltip(account, now), row.Tooltip);
        EXPECT_EQ(HealthStatusText(account, now), row.Status) << row.Tooltip;
    }
}

// Two failed checks, a restart (the health saved and read back into new accounts), then a good
// check that clears the failure.
TEST(AccountHealth, FailuresSurviveARestartAndAGoodCheckClearsThem) {
    TTempSettingsStore store;
    const std::int64_t before = QDateTime::currentMSecsSinceEpoch();
    {
        TAccounts accounts;
        TMails mails;
        TListHost host(mails);
        TCheckCycle cycle(accounts, mails, host);
        AddLocalAccount(accounts, "Alice", ClosedPort());
        AddLocalAccount(accounts, "Bob", ClosedPort()).Active = false; // never checked
        for (const std::int32_t failures : {1, 2}) {
            cycle.CheckAll();
            EXPECT_EQ(accounts[0].FailuresInRow, failures);
            EXPECT_EQ(accounts[0].LastFailure, "Failed on connect");
            EXPECT_EQ(ShowsHealthBadge(accounts[0]), failures >= BadgeFailures);
        }
        EXPECT_GE(accounts[0].LastFailureMs, before);
        EXPECT_EQ(accounts[0].LastGoodCheckMs, 0);
        WriteAccountHealth(store, accounts);
    }

    TAccounts accounts;
    TMails mails;
    TListHost host(mails);
    TCheckCycle cycle(accounts, mails, host);
    cycle.UseFastChecks = false;
    TScriptedPop3Server server;
    ScriptGoodCheck(server);
    ASSERT_TRUE(server.Listen());
    TAccount& alice = AddLocalAccount(accounts, "Alice", server.Port());
    const TAccount& bob = AddLocalAccount(accounts, "Bob", ClosedPort());
    ReadAccountHealth(store, accounts);
    EXPECT_EQ(alice.FailuresInRow, 2);
    EXPECT_EQ(alice.LastFailure, "Failed on connect");
    EXPECT_GE(alice.LastFailureMs, before);
    EXPECT_TRUE(ShowsHealthBadge(alice));
    EXPECT_EQ(bob.FailuresInRow, 0);
    EXPECT_EQ(bob.LastFailureMs, 0);
    EXPECT_EQ(bob.LastGoodCheckMs, 0);

    cycle.CheckOne(0);
    EXPECT_TRUE(server.Finished());
    EXPECT_TRUE(server.Errors().empty());
    EXPECT_EQ(alice.FailuresInRow, 0);
    EXPECT_EQ(alice.LastFailure, "");
    EXPECT_EQ(alice.LastFailureMs, 0);
    EXPECT_GE(alice.LastGoodCheckMs, before);
    EXPECT_FALSE(ShowsHealthBadge(alice));
    EXPECT_EQ(HealthStatusText(alice, alice.LastGoodCheckMs), "");
}

} // namespace
} // namespace quillet::test

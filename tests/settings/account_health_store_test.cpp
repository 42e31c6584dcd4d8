// The accounts' health in the options store: written and read back through a store file that
// is opened again (as after a restart), a store from before these values, and sections that
// belong to an account no longer at that place.
#include "model/account.h"
#include "settings/account_health_store.h"
#include "settings/registry_store.h"
#include "tests/settings/settings_test_support.h"
#include "tests/support/temp_settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillet::test {
namespace {

struct THealth {
    std::string Failure;
    std::int64_t FailedMs, GoodMs;
    std::int32_t FailuresInRow;
    bool operator==(const THealth&) const = default;
};

THealth HealthOf(const TAccount& Account) {
    return {Account.LastFailure, Account.LastFailureMs, Account.LastGoodCheckMs, Account.FailuresInRow};
}

void SetHealth(TAccount& Account, const THealth& Health) {
    Account.LastFailure = Health.Failure;
    Account.LastFailureMs = Health.FailedMs;
    Account.LastGoodCheckMs = Health.GoodMs;
    Account.FailuresInRow = Health.FailuresInRow;
}

void PrintTo(const THealth& H, std::ostream* Os) {
    *Os << "{\"" << H.Failure << "\", " << H.FailedMs << ", " << H.GoodMs << ", " << H.FailuresInRow << "}";
}

TEST(AccountHealthStore, HealthSurvivesARestart) {
    const std::pair<std::string, THealth> rows[] = {
        {"Never checked", {"", 0, 0, 0}},
        {"Good", {"", 0, 1796634720123, 0}},
        {"Failing, once good",
         {"Failed on login: -ERR [AUTH] a, b; c = \"d\" \\ e", 1796638920456, 1796634720123, 3}},
        {"Köln, never good", {"Failed on TLS: the certificate is not trusted", 1796638920000, 0, 1}},
    };
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Quillet.conf"));
    {
        TAccounts accounts;
        for (const auto& [label, health] : rows) {
            AddAccount(accounts, label, "u", "host", "pw", 110, true);
            SetHealth(accounts[accounts.Count() - 1], health);
        }
        TRegistryStore store(file);
        WriteAccountHealth(store, accounts);
    }
    TAccounts accounts;
    for (const auto& [label, health] : rows)
        AddAccount(accounts, label, "u", "host", "pw", 110, true);
    TRegistryStore store(file);
    ReadAccountHealth(store, accounts);
    for (int n = 0; n < accounts.Count(); ++n)
        EXPECT_EQ(HealthOf(accounts[n]), rows[n].second) << rows[n].first;
}

TEST(AccountHealthStore, StoresWithoutHealthAndMovedAccountsReadAsNeverChecked) {
    TTempSettingsStore store;
    TAccounts before;
    AddAccount(before, "Alice", "u", "host", "pw", 110, true);
    SetHealth(before[0], {"Failed on connect", 1796638920000, 0, 2});
    WriteAccountHealth(store, before);
    store.WriteString("Health01", "FailuresInRow", "seven"); // no label: not read

    TAccounts after;
    AddAccount(after, "Bob", "u", "host", "pw", 110, true);   // where Alice was
    AddAccount(after, "Alice", "u", "host", "pw", 110, true); // moved: her health is not his
    AddAccount(after, "Carol", "u", "host", "pw", 110, true); // a store from before
    ReadAccountHealth(store, after);
    for (int n = 0; n < after.Count(); ++n)
        EXPECT_EQ(HealthOf(after[n]), (THealth{"", 0, 0, 0})) << after[n].Label;
}

} // namespace
} // namespace quillet::test

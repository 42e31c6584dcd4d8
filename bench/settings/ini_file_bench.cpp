// The settings file with many accounts: a whole save (every value written at once, each write
// replacing the file, or all of them in one update) and a whole load (every value read from the file).
#include "settings/ini_document.h"
#include "settings/ini_file.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using quillet::AccountSectionName;
using quillet::TIniFile;

void SaveAll(TIniFile& Ini, int Accounts) {
    Ini.WriteInteger("Accounts", "Count", Accounts);
    Ini.WriteBool("Accounts", "UsePassword", true);
    Ini.WriteString("Accounts", "TestPhrase", std::string(48, 'A'));
    for (int n = 0; n < Accounts; ++n) {
        const std::string section = AccountSectionName(n);
        Ini.WriteString(section, "Label", "Account number " + std::to_string(n));
        Ini.WriteString(section, "UserName", std::string(48, 'B'));
        Ini.WriteString(section, "Host", std::string(64, 'C'));
        Ini.WriteString(section, "Password", std::string(48, 'D'));
        Ini.WriteInteger(section, "Port", 110);
        Ini.WriteBool(section, "Active", true);
    }
}

void BM_SaveAccounts(benchmark::State& state) {
    QTemporaryDir dir;
    TIniFile ini(dir.filePath("Quillet.ini").toStdString());
    const int accounts = static_cast<int>(state.range(0));
    SaveAll(ini, accounts);
    for (auto _ : state)
        SaveAll(ini, accounts);
    state.counters["writes"] = 3 + 6 * accounts;
}
BENCHMARK(BM_SaveAccounts)->Arg(10)->Arg(120)->Unit(benchmark::kMillisecond);

// The same save as one update: the way the accounts are saved.
void BM_SaveAccountsInOneUpdate(benchmark::State& state) {
    QTemporaryDir dir;
    TIniFile ini(dir.filePath("Quillet.ini").toStdString());
    const int accounts = static_cast<int>(state.range(0));
    SaveAll(ini, accounts);
    for (auto _ : state) {
        quillet::TIniUpdate update(ini);
        SaveAll(ini, accounts);
        update.Commit();
    }
}
BENCHMARK(BM_SaveAccountsInOneUpdate)->Arg(10)->Arg(120)->Unit(benchmark::kMillisecond);

void BM_LoadAccounts(benchmark::State& state) {
    QTemporaryDir dir;
    TIniFile ini(dir.filePath("Quillet.ini").toStdString());
    const int accounts = static_cast<int>(state.range(0));
    SaveAll(ini, accounts);
    for (auto _ : state) {
        int count = ini.ReadInteger("Accounts", "Count", 0);
        benchmark::DoNotOptimize(ini.ReadBool("Accounts", "UsePassword", false));
        benchmark::DoNotOptimize(ini.ReadString("Accounts", "TestPhrase", ""));
        for (int n = 0; n < count; ++n) {
            const std::string section = AccountSectionName(n);
            benchmark::DoNotOptimize(ini.ReadString(section, "Label", ""));
            benchmark::DoNotOptimize(ini.ReadString(section, "UserName", ""));
            benchmark::DoNotOptimize(ini.ReadString(section, "Host", ""));
            benchmark::DoNotOptimize(ini.ReadString(section, "Password", ""));
            benchmark::DoNotOptimize(ini.ReadInteger(section, "Port", 110));
            benchmark::DoNotOptimize(ini.ReadBool(section, "Active", true));
        }
    }
}
BENCHMARK(BM_LoadAccounts)->Arg(10)->Arg(120)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

// The settings load and save without a window: keys, defaults, order and the rules that keep
// the settings file safe.
#include "crypto/master_password.h"
#include "model/account.h"
#include "notify/sound_table.h"
#include "settings/accounts_file.h"
#include "settings/ini_file.h"
#include "settings/main_settings.h"
#include "settings/password_asker.h"
#include "tests/settings/settings_test_support.h"
#include "tests/support/temp_settings.h"

#include <QDir>
#include <gtest/gtest.h>

namespace quillet::test {
namespace {

// A store that remembers the order of every read and write.
class TOrderStore : public TTempSettingsStore {
public:
    std::string ReadString(const std::string& Section, const std::string& Name,
                           const std::string& Default) override {
        Reads.push_back(Section + "/" + Name);
        return TTempSettingsStore::ReadString(Section, Name, Default);
    }
    void WriteString(const std::string& Section, const std::string& Name, const std::string& Value) override {
        Writes.push_back(Section + "/" + Name);
        TTempSettingsStore::WriteString(Section, Name, Value);
    }
    std::vector<std::string> Reads, Writes;
};

class TScriptAsker : public TPasswordAsker {
public:
    explicit TScriptAsker(std::vector<std::optional<std::string>> Answers) : FAnswers(std::move(Answers)) {}
    std::optional<std::string> AskPassword(const std::string& Prompt) override {
        Prompts.push_back(Prompt);
        if (FNext >= FAnswers.size())
            return std::nullopt;
        return FAnswers[FNext++];
    }
    std::vector<std::string> Prompts;

private:
    std::vector<std::optional<std::string>> FAnswers;
    std::size_t FNext = 0;
};

std::vector<std::string> Keys(const std::string& Section, std::initializer_list<const char*> Names) {
    std::vector<std::string> keys;
    for (const char* name : Names)
        keys.push_back(Section + "/" + name);
    return keys;
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> Parts) {
    std::vector<std::string> all;
    for (const auto& part : Parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::vector<std::string> SoundKeys =
    Keys("Sounds", {"SoundOn", "SND_NEWMAIL", "SND_NOMAIL", "SND_DELETE", "SND_UNDELETE"});
const std::vector<std::string> ColumnKeys =
    Keys("Layout", {"ColWidth0", "ColWidth1", "ColWidth2", "ColWidth3", "ColWidth4", "ColWidth5", "ColWidth6",
                    "ColWidth7"});

TMainSettings Unusual() {
    TMainSettings s;
    s.FirstRun = false;
    s.SortCol = 7;
    s.SortLargestFirst = false;
    s.MaxLines = 12;
    s.AutoCheckTime = 0;
    s.CheckingActive = false;
    s.Autostart = true;
    s.UseTray = false;
    s.StartMinimized = true;
    s.CloseMinimizes = true;
    s.NotifyNewMail = false;
    s.Layout = {900, 700, 33, 44, TWindowShow::Normal, {1, 2, 3, 4, 5, 6, 7, 8}, 321, 0x123456, -5};
    return s;
}

} // namespace

TEST(MainSettings, EmptyStoreGivesTheDefaults) {
    TTempSettingsStore store;
    TSilentPlayer player;
    TSoundTable sounds(player);
    sounds.SoundOn = false;
    TMainSettings read = Unusual();
    read.Layout.ColWidths = DefaultColWidths; // missing widths keep the present ones
    ReadRegistrySettings(store, sounds, read);
    EXPECT_EQ(read, TMainSettings());
    EXPECT_TRUE(sounds.SoundOn);
    EXPECT_EQ(TMainSettings().Layout.ColWidths, (std::array<int, 8>{26, 60, 80, 80, 100, 60, 100, 100}));
}

TEST(MainSettings, ReadsAndWritesEveryKeyInItsOrder) {
    TOrderStore store;
    TTempAppDir dir;
    TIniFile ini(dir.IniPath());
    TSilentPlayer player;
    TSoundTable sounds(player);
    TAccounts accounts;
    SaveSettings(store, ini, Unusual(), sounds, accounts, {});
    EXPECT_EQ(store.Writes, Join({{"Toolbars/State"},
                                  Keys("Options", {"FirstRun", "SortCol", "SortAsc", "MaxLines",
                                                   "CheckingActive", "AutoCheckTime", "Autostart", "UseTray",
                                                   "StartMinimized", "CloseMinimizes", "NotifyNewMail"}),
                                  ColumnKeys,
                                  Keys("Layout", {"GridHeight", "GridColor", "PanelsColor", "WindowState",
                                                  "FormWidth", "FormHeight", "FormTop", "FormLeft"}),
                                  SoundKeys}));

    TMainSettings read;
    ReadRegistrySettings(store, sounds, read);
    EXPECT_EQ(
        store.Reads,
        Join(
            {Keys("Options", {"FirstRun", "SortCol", "SortAsc", "MaxLines", "AutoCheckTime", "CheckingActive",
                              "Autostart", "UseTray", "StartMinimized", "CloseMinimizes", "NotifyNewMail"}),
             SoundKeys, Keys("Layout", {"FormWidth", "FormHeight", "FormTop", "FormLeft", "WindowState"}),
             ColumnKeys, Keys("Layout", {"GridHeight", "GridColor", "PanelsColor"})}));
    EXPECT_EQ(read, Unusual());
    EXPECT_EQ(store.ReadString("Options", "FirstRun", ""), "0");
    EXPECT_EQ(store.ReadString("Layout", "PanelsColor", ""), "-5");
}

TEST(MainSettings, OutOfRangeValuesOnReading) {
    struct Row {
        const char* sortCol;
        int expectedSortCol;
        const char* windowState;
        TWindowShow expectedState;
    };
    const Row rows[] = {
        {"-1", 5, "0", TWindowShow::Normal},  {"0", 0, "2", TWindowShow::Maximized},
        {"8", 8, "3", TWindowShow::Normal},   {"9", 5, "1", TWindowShow::Normal},
        {"abc", 5, "x", TWindowShow::Normal},
    };
    for (const Row& row : rows) {
        TTempSettingsStore store;
        store.WriteString("Options", "SortCol", row.sortCol);
        store.WriteString("Layout", "WindowState", row.windowState);
        TSilentPlayer player;
        TSoundTable sounds(player);
        TMainSettings read;
        ReadRegistrySettings(store, sounds, read);
        EXPECT_EQ(read.SortCol, row.expectedSortCol) << row.sortCol;
        EXPECT_EQ(read.Layout.WindowState, row.expectedState) << row.windowState;
    }
}

// A maximized window keeps the normal geometry saved before it; a minimized one writes none of it.
TEST(MainSettings, GeometryIsSavedOnlyForANormalWindow) {
    struct Row {
        TWindowShow show;
        const char* windowState;
        const char* formWidth;
    };
    const Row rows[] = {{TWindowShow::Normal, "1", "900"},
                        {TWindowShow::Maximized, "2", "old"},
                        {TWindowShow::Minimized, "old", "old"}};
    for (const Row& row : rows) {
        TTempSettingsStore store;
        for (const char* key : {"WindowState", "FormWidth", "FormHeight", "FormTop", "FormLeft"})
            store.WriteString("Layout", key, "old");
        TTempAppDir dir;
        TIniFile ini(dir.IniPath());
        TSilentPlayer player;
        TSoundTable sounds(player);
        TAccounts accounts;
        TMainSettings settings = Unusual();
        settings.Layout.WindowState = row.show;
        SaveSettings(store, ini, settings, sounds, accounts, {});
        EXPECT_EQ(store.ReadString("Layout", "WindowState", ""), row.windowState);
        EXPECT_EQ(store.ReadString("Layout", "FormWidth", ""), row.formWidth);
        EXPECT_EQ(store.ReadString("Layout", "FormLeft", ""), row.show == TWindowShow::Normal ? "44" : "old");
    }
}

TEST(MainSettings, StartUpCheckOfTheMasterPassword) {
    struct Row {
        const char* what;
        std::vector<std::optional<std::string>> answers;
        bool loaded;
        std::size_t prompts;
    };
    const std::string first = "Enter your master password:";
    const std::string again = "Invalid master password, try again...";
    const Row rows[] = {
        {"right at once", {"Open sesame"}, true, 1},
        {"right at the third", {"x", "open sesame", "Open sesame"}, true, 3},
        {"three wrong, letter case counts", {"OPEN SESAME", "open sesame", "Open sesame "}, false, 3},
        {"cancelled", {"x", std::nullopt}, false, 2},
    };
    for (const Row& row : rows) {
        TTempAppDir dir;
        TIniFile ini(dir.IniPath());
        TAccounts saved;
        AddAccount(saved, "Home", "ann", "pop.example.org", "pw", 995, true);
        WriteAccounts(ini, "Open sesame", saved);

        TScriptAsker asker(row.answers);
        TAccounts accounts;
        TCredentials credentials;
        const TAccountsLoad result = LoadAccounts(ini, asker, accounts, credentials);
        EXPECT_EQ(result == TAccountsLoad::Loaded, row.loaded) << row.what;
        EXPECT_EQ(credentials.AccountsLoaded, row.loaded) << row.what;
        ASSERT_EQ(asker.Prompts.size(), row.prompts) << row.what;
        EXPECT_EQ(asker.Prompts[0], first);
        for (std::size_t i = 1; i < asker.Prompts.size(); ++i)
            EXPECT_EQ(asker.Prompts[i], again) << row.what;
        EXPECT_EQ(accounts.Count(), row.loaded ? 1 : 0) << row.what;
        if (row.loaded) {
            EXPECT_EQ(credentials.MasterPassword, "Open sesame");
            EXPECT_EQ(accounts[0].Host, "pop.example.org");
        }
    }
}

TEST(MainSettings, UnprotectedFileAsksNothing) {
    TTempAppDir dir;
    TIniFile ini(dir.IniPath());
    TAccounts saved;
    AddAccount(saved, "Home", "ann", "pop.example.org", "pw", 110, false);
    WriteAccounts(ini, "", saved);
    EXPECT_FALSE(ini.ReadString("Accounts", "TestPhrase", "").empty());
    TScriptAsker asker({});
    TAccounts accounts;
    TCredentials credentials;
    EXPECT_EQ(LoadAccounts(ini, asker, accounts, credentials), TAccountsLoad::Loaded);
    EXPECT_TRUE(asker.Prompts.empty());
    ASSERT_EQ(accounts.Count(), 1);
    EXPECT_FALSE(accounts[0].Active);
}

// A damaged credential stops the load there: the accounts before it stay, and the file is not
// to be written back over the ones that could not be read.
TEST(MainSettings, NonHexadecimalCredentialStopsTheLoad) {
    TTempAppDir dir;
    dir.WriteFile("Quillet.ini", "[Accounts]\r\nCount=3\r\n[Account00]\r\nLabel=Good\r\nHost=\r\n"
                                 "[Account01]\r\nLabel=Bad\r\nHost=ZZ\r\n[Account02]\r\nLabel=Never\r\n");
    TIniFile ini(dir.IniPath());
    TScriptAsker asker({});
    TAccounts accounts;
    TCredentials credentials;
    EXPECT_THROW(LoadAccounts(ini, asker, accounts, credentials), std::exception);
    ASSERT_EQ(accounts.Count(), 1);
    EXPECT_EQ(accounts[0].Label, "Good");
    EXPECT_FALSE(credentials.AccountsLoaded);
}

TEST(MainSettings, FileIsWrittenOnlyWhenTheAccountsWereLoaded) {
    TTempAppDir dir;
    const std::string original =
        "[Accounts]\r\nCount=1\r\nUsePassword=1\r\nTestPhrase=00\r\n[Account00]\r\nLabel=A\r\n";
    dir.WriteFile("Quillet.ini", original);
    TIniFile ini(dir.IniPath());
    TTempSettingsStore store;
    TSilentPlayer player;
    TSoundTable sounds(player);
    TAccounts accounts;
    AddAccount(accounts, "Other", "u", "h", "p", 110, true);
    SaveSettings(store, ini, TMainSettings(), sounds, accounts, {"", false});
    EXPECT_EQ(dir.ReadFile("Quillet.ini"), original);
    EXPECT_TRUE(store.Contains("Sounds", "SND_UNDELETE"));

    SaveSettings(store, ini, TMainSettings(), sounds, accounts, {"", true});
    EXPECT_EQ(ini.ReadString("Account00", "Label", ""), "Other");
    EXPECT_EQ(ini.ReadString("Accounts", "UsePassword", ""), "0");
}

// A settings file that cannot be written loses nothing else: the sounds are still saved, and
// the error is raised afterwards.
TEST(MainSettings, UnwritableFileStillSavesTheSounds) {
    TTempAppDir dir;
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.IniPath()))); // a folder where the file should be
    TIniFile ini(dir.IniPath());
    TTempSettingsStore store;
    TSilentPlayer player;
    TSoundTable sounds(player);
    sounds.SoundOn = false;
    TAccounts accounts;
    try {
        SaveSettings(store, ini, TMainSettings(), sounds, accounts, {"", true});
        ADD_FAILURE() << "no error raised";
    } catch (const EIniFileError& Error) {
        EXPECT_EQ(std::string(Error.what()), "Unable to write to " + dir.IniPath());
    }
    EXPECT_EQ(store.ReadString("Sounds", "SoundOn", ""), "0");
    EXPECT_TRUE(store.Contains("Sounds", "SND_NEWMAIL"));
}

} // namespace quillet::test

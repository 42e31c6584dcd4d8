// The steps of keeping the accounts' secrets in the keyring, against a keyring in memory: what
// the file and the keyring hold after each move, after a restart and after a save, and that a
// step that fails (a keyring that cannot be used, one that refuses a write halfway, a file
// that cannot be written, a keyring that cannot be read at start) loses nothing.
#include "model/account.h"
#include "settings/account_secrets.h"
#include "settings/accounts_file.h"
#include "settings/ini_file.h"
#include "settings/keyring_secrets.h"
#include "tests/settings/fake_keyring.h"
#include "tests/settings/settings_test_support.h"
#include "tests/support/temp_settings.h"

#include <QDir>
#include <gtest/gtest.h>
#include <vector>

namespace quillet::test {
namespace {

// A password account and an OAuth account, as the account editor leaves them.
void AddAccounts(TAccounts& Accounts) {
    AddAccount(Accounts, "Home", "ann", "pop.home.example", "home-pw", 110, true);
    AddAccount(Accounts, "Work", "ann.w", "pop.work.example", "", 995, true);
    TAccount& work = Accounts[1];
    work.SignIn = TSignIn::OAuth2;
    work.OAuth = {"https://id.example/authorize", "https://id.example/token", "client", "pop"};
    work.Tokens.AccessToken = "at-1";
    work.Tokens.RefreshToken = "rt-1";
}

// Every secret of every account, in order.
std::vector<std::string> SecretsOf(const TAccounts& Accounts) {
    std::vector<std::string> secrets;
    for (int n = 0; n < Accounts.Count(); ++n)
        for (const TAccountSecret& secret : AccountSecrets)
            secrets.push_back(secret.In(Accounts[n]));
    return secrets;
}

// A program start: the accounts from the file, then their secrets from the keyring.
QString Start(const TIniFile& Ini, const std::string& Master, TAccounts& Accounts, TKeyringSecrets& Secrets) {
    ReadAccounts(Ini, ReadAccountsHeader(Ini).Count, Master, Accounts);
    return Secrets.ReadSecrets(Ini, Accounts);
}

// The secrets the file itself holds, protected or not.
std::vector<std::string> FileSecrets(const TIniFile& Ini, int Count) {
    std::vector<std::string> stored;
    for (int n = 0; n < Count; ++n)
        for (const TAccountSecret& secret : AccountSecrets)
            stored.push_back(Ini.ReadString(AccountSectionName(n), secret.Name, ""));
    return stored;
}

TEST(KeyringSecrets, MovedInReadBackAfterRestartSavedAndMovedOut) {
    for (const std::string master : {"", "master"}) {
        SCOPED_TRACE("master password '" + master + "'");
        TTempAppDir dir;
        TIniFile ini(dir.IniPath());
        TFakeKeyring keyring;
        {
            TAccounts edited;
            AddAccounts(edited);
            WriteAccounts(ini, master, edited);
        }
        TAccounts accounts;
        TKeyringSecrets secrets(keyring);
        ASSERT_EQ(Start(ini, master, accounts, secrets), QString());
        const std::vector<std::string> expected = SecretsOf(accounts);
        EXPECT_EQ(keyring.Reads, 0); // a file that keeps its secrets asks the keyring nothing

        const TKeyringMove in = secrets.MoveIn(ini, master, accounts);
        EXPECT_TRUE(in.Done);
        EXPECT_EQ(in.Message, QString());
        EXPECT_TRUE(secrets.InUse());
        EXPECT_EQ(ini.ReadString("Accounts", "Keyring", ""), "1");
        EXPECT_EQ(FileSecrets(ini, 2), std::vector<std::string>(6));
        ASSERT_EQ(keyring.Entries.size(), 6u);
        const std::string home = ini.ReadString("Account00", "KeyringId", "");
        const std::string work = ini.ReadString("Account01", "KeyringId", "");
        EXPECT_EQ(home.size(), 32u);
        EXPECT_NE(home, work);
        EXPECT_EQ(keyring.Entries[home + "/Password"], "home-pw");
        EXPECT_EQ(keyring.Entries[work + "/RefreshToken"], "rt-1");

        // The next run reads them back; a save writes a changed secret to the keyring only.
        TAccounts restarted;
        TKeyringSecrets again(keyring);
        ASSERT_EQ(Start(ini, master, restarted, again), QString());
        EXPECT_TRUE(again.InUse());
        EXPECT_EQ(SecretsOf(restarted), expected);
        restarted[0].Password = "new-pw";
        const int writes = keyring.Writes;
        again.Save(ini, master, restarted);
        EXPECT_EQ(keyring.Writes, writes + 1);
        EXPECT_EQ(keyring.Entries[home + "/Password"], "new-pw");
        EXPECT_EQ(FileSecrets(ini, 2), std::vector<std::string>(6));
        EXPECT_EQ(ini.ReadString("Accounts", "Keyring", ""), "1");

        const TKeyringMove out = again.MoveOut(ini, master, restarted);
        EXPECT_TRUE(out.Done);
        EXPECT_EQ(out.Message, QString());
        EXPECT_FALSE(again.InUse());
        EXPECT_TRUE(keyring.Entries.empty());
        EXPECT_EQ(ini.ReadString("Accounts", "Keyring", ""), "0");
        TAccounts fromFile;
        ReadAccounts(ini, 2, master, fromFile);
        std::vector<std::string> changed = expected;
        changed[0] = "new-pw";
        EXPECT_EQ(SecretsOf(fromFile), changed);
    }
}

TEST(KeyringSecrets, FailedMoveInLeavesTheFileAsItWasAndNoEntries) {
    struct TCase {
        const char* Name;
        bool Unusable;
        int WritesLeft;
        bool FileWritable;
        const char* Said; // part of the message
    };
    const TCase cases[] = {
        {"no Secret Service", true, -1, true, "did not store the password of the account \"Home\""},
        {"write refused halfway", false, 4, true, "did not store the access token of the account \"Work\""},
        {"file cannot be written", false, -1, false, "Unable to write to "},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTempAppDir dir;
        dir.WriteFile("plain", "a file, not a folder");
        TIniFile ini(c.FileWritable ? dir.IniPath() : dir.FilePath("plain") + "/Quillet.ini");
        TAccounts accounts;
        AddAccounts(accounts);
        if (c.FileWritable)
            WriteAccounts(ini, "", accounts);
        const std::string before = c.FileWritable ? dir.ReadFile("Quillet.ini") : "";
        const std::vector<std::string> secrets = SecretsOf(accounts);
        TFakeKeyring keyring;
        keyring.Unusable = c.Unusable;
        keyring.WritesLeft = c.WritesLeft;
        TKeyringSecrets keeper(keyring);

        const TKeyringMove move = keeper.MoveIn(ini, "", accounts);
        EXPECT_FALSE(move.Done);
        EXPECT_TRUE(move.Message.startsWith("The passwords stay in Quillet.ini"))
            << move.Message.toStdString();
        EXPECT_TRUE(move.Message.contains(QString::fromUtf8(c.Said))) << move.Message.toStdString();
        EXPECT_FALSE(keeper.InUse());
        EXPECT_TRUE(keyring.Entries.empty());
        if (c.FileWritable) {
            EXPECT_EQ(dir.ReadFile("Quillet.ini"), before);
        }
        EXPECT_EQ(SecretsOf(accounts), secrets);
        EXPECT_EQ(accounts[0].KeyringId, "");
    }
}

// The keyring cannot be read at start: the accounts stay without their secrets, the saves that
// follow keep the file's marker and never overwrite the keyring with nothing, and switching
// the option off waits until the keyring gives the secrets back.
TEST(KeyringSecrets, UnreadableKeyringAtStartLosesNothing) {
    TTempAppDir dir;
    TIniFile ini(dir.IniPath());
    TFakeKeyring keyring;
    {
        TAccounts accounts;
        AddAccounts(accounts);
        TKeyringSecrets secrets(keyring);
        ASSERT_TRUE(secrets.MoveIn(ini, "", accounts).Done);
    }
    const auto entries = keyring.Entries;
    keyring.Unusable = true;

    TAccounts accounts;
    TKeyringSecrets secrets(keyring);
    const QString said = Start(ini, "", accounts, secrets);
    EXPECT_TRUE(said.contains("could not read the passwords of your accounts from the desktop keyring"))
        << said.toStdString();
    EXPECT_TRUE(said.contains("The name org.freedesktop.secrets was not provided")) << said.toStdString();
    EXPECT_EQ(keyring.Reads, 1); // one refusal is enough to know
    ASSERT_EQ(accounts.Count(), 2);
    EXPECT_EQ(accounts[1].Label, "Work");
    EXPECT_EQ(SecretsOf(accounts), std::vector<std::string>(6));

    secrets.Save(ini, "", accounts); // as at the end of the run
    EXPECT_EQ(ini.ReadString("Accounts", "Keyring", ""), "1");
    const std::string file = dir.ReadFile("Quillet.ini");
    const TKeyringMove refused = secrets.MoveOut(ini, "", accounts);
    EXPECT_FALSE(refused.Done);
    EXPECT_TRUE(refused.Message.startsWith("The passwords stay in the desktop keyring"))
        << refused.Message.toStdString();
    EXPECT_EQ(dir.ReadFile("Quillet.ini"), file);
    keyring.Unusable = false;
    EXPECT_EQ(keyring.Entries, entries);

    const TKeyringMove out = secrets.MoveOut(ini, "", accounts);
    EXPECT_TRUE(out.Done);
    TAccounts fromFile;
    ReadAccounts(ini, 2, "", fromFile);
    EXPECT_EQ(SecretsOf(fromFile), (std::vector<std::string>{"home-pw", "", "", "", "at-1", "rt-1"}));
    EXPECT_TRUE(keyring.Entries.empty());
}

// Each account finds its own secrets after another account was removed (the sections move up)
// or added; a removed account's entries leave the keyring.
TEST(KeyringSecrets, SecretsFollowTheirAccountAcrossRemovalsAndAdditions) {
    TTempAppDir dir;
    TIniFile ini(dir.IniPath());
    TFakeKeyring keyring;
    TAccounts accounts;
    AddAccount(accounts, "A", "a", "h", "pw-a", 110, true);
    AddAccount(accounts, "B", "b", "h", "pw-b", 110, true);
    AddAccount(accounts, "C", "c", "h", "pw-c", 110, true);
    TKeyringSecrets secrets(keyring);
    ASSERT_TRUE(secrets.MoveIn(ini, "", accounts).Done);
    ASSERT_TRUE(accounts.Delete(0));
    AddAccount(accounts, "D", "d", "h", "pw-d", 110, true); // no keyring id yet
    secrets.Save(ini, "", accounts);
    EXPECT_EQ(keyring.Entries.size(), 9u);

    TAccounts restarted;
    TKeyringSecrets again(keyring);
    ASSERT_EQ(Start(ini, "", restarted, again), QString());
    ASSERT_EQ(restarted.Count(), 3);
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(restarted[n].Password, "pw-" + std::string(1, static_cast<char>('b' + n)));
}

} // namespace
} // namespace quillet::test

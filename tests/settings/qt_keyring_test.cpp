// The keyring option against a real Secret Service: gnome-keyring on a private bus with a
// throw-away login keyring. The secrets move in (another client of the service finds them,
// the file has none), come back after a restart, move out (back in the file, the keyring
// emptied); and once the service is gone the option is refused and the file stays as it was.
#include "model/account.h"
#include "settings/accounts_file.h"
#include "settings/ini_file.h"
#include "settings/keyring_secrets.h"
#include "settings/qt_keyring.h"
#include "tests/settings/settings_test_support.h"
#include "tests/support/keyring_session.h"
#include "tests/support/temp_settings.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace quillet::test {
namespace {

TEST(QtKeyring, SecretsMoveInAndOutOfARealKeyringAndStayWithoutOne) {
    TKeyringSession session;
    if (!session.Running()) {
        if (TKeyringSession::Required())
            FAIL() << session.Problem().toStdString();
        GTEST_SKIP() << session.Problem().toStdString();
    }
    TTempAppDir dir;
    TIniFile ini(dir.IniPath());
    const std::string password = "p\xC3\xA4ss w\xC3\xB6rd"; // not ASCII
    {
        TAccounts edited;
        AddAccount(edited, "Home", "ann", "pop.home.example", password, 110, true);
        WriteAccounts(ini, "", edited);
    }
    TQtKeyring keyring(QStringLiteral("Quillet"), 10000);

    QElapsedTimer clock;
    clock.start();
    TAccounts accounts;
    TKeyringSecrets secrets(keyring);
    ReadAccounts(ini, 1, "", accounts);
    ASSERT_EQ(secrets.ReadSecrets(ini, accounts), QString());
    const TKeyringMove in = secrets.MoveIn(ini, "", accounts);
    ASSERT_TRUE(in.Done) << in.Message.toStdString();
    const QString key = QString::fromStdString(ini.ReadString("Account00", "KeyringId", "")) + "/Password";
    EXPECT_EQ(session.Lookup(QStringLiteral("Quillet"), key), password);
    EXPECT_EQ(ini.ReadString("Account00", "Password", "-"), "");
    EXPECT_EQ(ini.ReadString("Accounts", "Keyring", ""), "1");

    TAccounts restarted;
    TKeyringSecrets again(keyring);
    ReadAccounts(ini, 1, "", restarted);
    ASSERT_EQ(again.ReadSecrets(ini, restarted), QString());
    EXPECT_EQ(restarted[0].Password, password);

    const TKeyringMove out = again.MoveOut(ini, "", restarted);
    ASSERT_TRUE(out.Done) << out.Message.toStdString();
    EXPECT_EQ(out.Message, QString());
    EXPECT_EQ(session.Lookup(QStringLiteral("Quillet"), key), std::nullopt);
    EXPECT_EQ(keyring.Read(key.toStdString()).Status, TKeyringStatus::NotFound);
    TAccounts fromFile;
    ReadAccounts(ini, 1, "", fromFile);
    EXPECT_EQ(fromFile[0].Password, password);
    EXPECT_EQ(ini.ReadString("Accounts", "Keyring", ""), "0");
    RecordProperty("MovesMs", static_cast<int>(clock.elapsed()));

    // No Secret Service any more: QtKeychain answers OtherError, and nothing moves.
    session.StopKeyring();
    const std::string before = dir.ReadFile("Quillet.ini");
    clock.restart();
    const TKeyringMove refused = again.MoveIn(ini, "", fromFile);
    EXPECT_FALSE(refused.Done);
    RecordProperty("Refusal", refused.Message.toStdString());
    EXPECT_TRUE(refused.Message.contains("did not store the password of the account \"Home\""))
        << refused.Message.toStdString();
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(dir.ReadFile("Quillet.ini"), before);
    EXPECT_FALSE(again.InUse());
}

} // namespace
} // namespace quillet::test

// The window's options, accounts and about commands with the real window and dialogs: what Apply
// changes at once (the log-on entry included), what the Test button plays under the applied
// sound switch, the save after each dialog, the toolbar rebuilt after the accounts dialog, and
// screenshots of the four dialogs when QUILLET_SCREENSHOT_DIR names a folder.
#include "app/check_controller.h"
#include "app/dialog_commands.h"
#include "app/pictures.h"
#include "crypto/protected_text.h"
#include "dialogs/about.h"
#include "dialogs/message_box.h"
#include "dialogs/one_account.h"
#include "dialogs/options.h"
#include "dialogs/setup_accounts.h"
#include "notify/autostart_entries.h"
#include "notify/sound_player.h"
#include "notify/sound_table.h"
#include "settings/ini_file.h"
#include "tests/app/window_test_support.h"
#include "tests/settings/fake_keyring.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <functional>
#include <gtest/gtest.h>

namespace quillet::test {
namespace {

class TRecordingPlayer : public TSoundPlayer {
public:
    void PlayResource(const QString& Path) override { Played.push_back(Path); }
    void PlayFileToEnd(const QString& Path) override { Played.push_back(Path); }
    std::vector<QString> Played;
};

// A window (not shown, so no start sequence) with its check controller and dialog commands.
class TDialogBench {
public:
    TDialogBench() {
        InitPictures();
        TMainWindowServices services;
        services.Store = &Store;
        services.AppDir = Dir.AppDir();
        services.SoundPlayer = &Player;
        services.AutostartEntries =
            std::make_unique<TXdgAutostartEntries>(UserAutostart(), MachineAutostart());
        services.TrayAvailable = [] { return false; };
        services.Keyring = Keyring.Share();
        Window = std::make_unique<TfrmMain>(Accounts, Mails, std::move(services));
        Controller = new TCheckController(*Window, Accounts, Mails);
        Commands = new TDialogCommands(*Window, Accounts, *Controller);
    }
    ~TDialogBench() {
        Window.reset();
        Accounts.Clear();
        Mails.Clear();
    }
    // Loads the settings as a start does, with one inactive account so that no check runs.
    void StartWithAnAccount() {
        AddAccount(Accounts, "Idle", "user", "127.0.0.1", "pw", 110, false);
        TWindowBench::Start(*Window);
    }
    QString UserAutostart() const { return QString::fromStdString(AutostartDir.FilePath("user")); }
    QString MachineAutostart() const { return QString::fromStdString(AutostartDir.FilePath("machine")); }
    bool AutostartEntryExists() const {
        return QFile::exists(QDir(UserAutostart()).filePath("Quillet.desktop"));
    }

    // Runs Command; Steps act in the dialog that it opens.
    void Run(TCommand Command, std::function<void(QWidget*)> Steps) {
        QTimer::singleShot(0, [Steps] { Steps(QApplication::activeModalWidget()); });
        Window->RunCommand(Command);
    }

    TTempSettingsStore Store;
    TTempAppDir Dir;
    TTempAppDir AutostartDir;
    TRecordingPlayer Player;
    TFakeKeyring Keyring;
    TAccounts Accounts;
    TMails Mails;
    std::unique_ptr<TfrmMain> Window;
    TCheckController* Controller;
    TDialogCommands* Commands;
};

template <typename T> T* Child(QWidget* Dialog, const char* Name) {
    T* child = Dialog->findChild<T*>(QString::fromLatin1(Name));
    if (child == nullptr)
        ADD_FAILURE() << "no control " << Name;
    return child;
}

} // namespace

TEST(DialogCommands, OptionsApplyAtOnceAndAreSavedWhateverCloses) {
    TDialogBench bench;
    bench.StartWithAnAccount();
    const std::int32_t panels =
        bench.Window->Settings().Values().Layout.PanelsColor; // the desktop's button face
    bool entryBeforeClose = false;
    bench.Run(TCommand::Options, [&](QWidget* D) {
        QApplication::processEvents();
        EXPECT_GE(D->width(), D->minimumSizeHint().width()) << "a caption of the first page is cut";
        Child<QCheckBox>(D, "chkAutostart")->setChecked(true);
        Child<QSpinBox>(D, "spnMaxLines")->setValue(77);
        Child<QPushButton>(D, "btnApply")->click();
        entryBeforeClose = bench.AutostartEntryExists();
        Child<QSpinBox>(D, "spnAutoCheckTime")->setValue(3);
        Child<QPushButton>(D, "btnCancel")->click();
    });
    EXPECT_TRUE(entryBeforeClose);
    EXPECT_TRUE(bench.Window->Autostart());
    EXPECT_EQ(bench.Window->Settings().Values().MaxLines, 77);
    EXPECT_EQ(bench.Window->Settings().Values().AutoCheckTime, 15); // changed after Apply, then cancelled
    EXPECT_EQ(bench.Window->Settings().Values().Layout.PanelsColor,
              panels); // left alone: still the desktop's colour
    EXPECT_EQ(bench.Store.ReadString("Options", "MaxLines", ""), "77");

    // Cancel alone changes nothing, and the settings are saved all the same.
    bench.Store.WriteString("Options", "MaxLines", "0");
    bench.Run(TCommand::Options, [&](QWidget* D) {
        EXPECT_TRUE(Child<QCheckBox>(D, "chkAutostart")->isChecked());
        Child<QCheckBox>(D, "chkAutostart")->setChecked(false);
        Child<QPushButton>(D, "btnCancel")->click();
    });
    EXPECT_TRUE(bench.AutostartEntryExists());
    EXPECT_EQ(bench.Store.ReadString("Options", "MaxLines", ""), "77");
}

TEST(DialogCommands, TestFollowsTheAppliedSoundSwitch) {
    TDialogBench bench;
    bench.StartWithAnAccount();
    bench.Window->Sounds().SoundOn = false;
    bench.Player.Played.clear(); // what the start played
    std::size_t playedWhileOff = 99;
    bench.Run(TCommand::Options, [&](QWidget* D) {
        Child<QCheckBox>(D, "chkSoundOn")->setChecked(true); // not applied yet
        Child<QPushButton>(D, "btnSoundTest")->click();
        playedWhileOff = bench.Player.Played.size();
        Child<QPushButton>(D, "btnApply")->click();
        Child<QPushButton>(D, "btnSoundTest")->click();
        Child<QPushButton>(D, "btnOk")->click();
    });
    EXPECT_EQ(playedWhileOff, 0U);
    ASSERT_EQ(bench.Player.Played.size(), 1U);
    EXPECT_EQ(bench.Player.Played[0], TSoundTable::BuiltInPath("SND_NEWMAIL"));
    EXPECT_TRUE(bench.Window->Sounds().SoundOn);
}

// The keyring option: a keyring that cannot be used refuses it with a message that says why,
// and the file keeps the password; a working one takes the password out of the file.
TEST(DialogCommands, KeyringOptionMovesThePasswordOrSaysWhyNot) {
    TDialogBench bench;
    bench.StartWithAnAccount();
    bench.Window->SaveSettings();
    TIniFile ini(bench.Dir.IniPath());
    ASSERT_EQ(UnprotectText(ini.ReadString("Account00", "Password", ""), ""), "pw");
    bench.Keyring.Unusable = true;
    TMessageBoxScript messages;
    bool tickedAfterApply = true;
    bench.Run(TCommand::Options, [&](QWidget* D) {
        Child<QCheckBox>(D, "chkUseKeyring")->setChecked(true);
        Child<QPushButton>(D, "btnApply")->click();
        tickedAfterApply = Child<QCheckBox>(D, "chkUseKeyring")->isChecked();
        Child<QPushButton>(D, "btnOk")->click();
    });
    EXPECT_FALSE(tickedAfterApply);
    ASSERT_EQ(messages.Shown().size(), 1U);
    EXPECT_EQ(messages.Shown()[0].Icon, TMessageIcon::Error);
    EXPECT_TRUE(messages.Shown()[0].Text.contains("did not store the password of the account \"Idle\""))
        << messages.Shown()[0].Text.toStdString();
    EXPECT_EQ(UnprotectText(ini.ReadString("Account00", "Password", ""), ""), "pw");
    EXPECT_EQ(ini.ReadString("Accounts", "Keyring", "none"), "none");

    bench.Keyring.Unusable = false;
    bench.Run(TCommand::Options, [&](QWidget* D) {
        EXPECT_FALSE(Child<QCheckBox>(D, "chkUseKeyring")->isChecked());
        Child<QCheckBox>(D, "chkUseKeyring")->setChecked(true);
        Child<QPushButton>(D, "btnOk")->click();
    });
    EXPECT_EQ(messages.Shown().size(), 1U);
    EXPECT_TRUE(bench.Window->SecretsInKeyring());
    EXPECT_EQ(ini.ReadString("Account00", "Password", "-"), "");
    EXPECT_EQ(ini.ReadString("Accounts", "Keyring", ""), "1");
    EXPECT_EQ(bench.Keyring.Entries[ini.ReadString("Account00", "KeyringId", "") + "/Password"], "pw");
}

// On a first start without accounts the window opens the accounts dialog by itself; an account
// added there is on the toolbar and in the settings file once the dialog closes.
TEST(DialogCommands, AccountsDialogRebuildsTheToolbarAndSaves) {
    TDialogBench bench;
    bool shown = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (shown || dialog == nullptr || dialog->objectName() != "frmSetupAccounts")
            return;
        shown = true;
        QTimer::singleShot(0, [] {
            QWidget* editor = QApplication::activeModalWidget();
            Child<QLineEdit>(editor, "fldAccLabel")->setText("High port");
            // The editor takes no account without a host and a user name.
            Child<QLineEdit>(editor, "fldHost")->setText("pop.example.org");
            Child<QLineEdit>(editor, "fldUserName")->setText("ann");
            Child<QSpinBox>(editor, "spnPort")->setValue(40000);
            Child<QCheckBox>(editor, "chkActive")->setChecked(false); // no check after the start
            Child<QPushButton>(editor, "btnAccept")->click();
        });
        Child<QPushButton>(dialog, "btnAdd")->click();
        Child<QPushButton>(dialog, "btnClose")->click();
    });
    poll.start(10);
    TWindowBench::Start(*bench.Window);
    EXPECT_TRUE(shown);
    ASSERT_EQ(bench.Accounts.Count(), 1);
    EXPECT_EQ(bench.Accounts[0].Port(), 40000);
    EXPECT_EQ(bench.Window->AccountsToolbar()->actions().size(), 1);
    EXPECT_NE(bench.Dir.ReadFile("Quillet.ini").find("Port=40000"), std::string::npos);
}

// Writes PNGs of the four dialogs into the folder QUILLET_SCREENSHOT_DIR names; skipped without it.
TEST(DialogCommands, Screenshots) {
    const QString folder = qEnvironmentVariable("QUILLET_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "QUILLET_SCREENSHOT_DIR not set";
    TDialogBench bench;
    AddAccount(bench.Accounts, "Main account", "mailuser", "pop.example.org", "pw", 110, false);
    AddAccount(bench.Accounts, "Work", "j.doe", "mail.example.org", "pw", 995, false);
    AddAccount(bench.Accounts, "Newsletters", "news", "pop.example.net", "pw", 110, false);
    TWindowBench::Start(*bench.Window); // settings loaded; no account is active, so nothing is checked
    const auto shoot = [&](QWidget* Dialog, const char* Name) {
        QApplication::processEvents();
        EXPECT_TRUE(Dialog->grab().save(QDir(folder).filePath(QString::fromLatin1(Name))));
    };
    bench.Run(TCommand::Options, [&](QWidget* D) {
        shoot(D, "options.png");
        Child<QTabWidget>(D, "pgcOptions")->setCurrentIndex(1);
        shoot(D, "options-interface.png");
        Child<QTabWidget>(D, "pgcOptions")->setCurrentIndex(2);
        shoot(D, "options-sounds.png");
        Child<QPushButton>(D, "btnCancel")->click();
    });
    bench.Run(TCommand::SetupAccounts, [&](QWidget* D) {
        Child<QListWidget>(D, "lisAccounts")->setCurrentRow(0);
        shoot(D, "accounts.png");
        QTimer::singleShot(0, [&] {
            QWidget* editor = QApplication::activeModalWidget();
            shoot(editor, "one-account.png");
            Child<QPushButton>(editor, "btnCancel")->click();
        });
        Child<QPushButton>(D, "btnEdit")->click();
        Child<QPushButton>(D, "btnClose")->click();
    });
    bench.Run(TCommand::About, [&](QWidget* D) {
        shoot(D, "about.png");
        Child<QPushButton>(D, "OKButton")->click();
    });
}

} // namespace quillet::test

// The real program as a user starts it: on a virtual X display, with a settings folder of its
// own holding one account on a private Dovecot. It must check at once (the window title shows
// the mail count), and when asked to end it must save the settings file and the options store.
#include "model/account.h"
#include "settings/accounts_file.h"
#include "settings/ini_file.h"
#include "tests/support/dovecot_server.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillet;
using quillet::test::TDovecotServer;

namespace {

bool ToolsInstalled() {
    return !QStandardPaths::findExecutable("Xvfb").isEmpty() &&
           !QStandardPaths::findExecutable("xdotool").isEmpty();
}

// Starts a virtual X server on a display it picks itself and returns ":N" once it accepts
// connections (Xvfb writes the number to -displayfd only then); empty when it did not start.
// -noreset: without it the server starts afresh each time its last client leaves (a program
// that ended, an xdotool look-up), and a program started in that moment finds no display.
QString StartXvfb(QProcess& Xvfb) {
    Xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"});
    if (!Xvfb.waitForStarted(5000))
        return {};
    QByteArray number;
    const bool announced = QTest::qWaitFor(
        [&] {
            number += Xvfb.readAllStandardOutput();
            return number.contains('\n') || Xvfb.state() != QProcess::Running;
        },
        10000);
    number = number.trimmed();
    return !announced || number.isEmpty() ? QString() : QStringLiteral(":") + QString::fromLatin1(number);
}

std::string Message(int I) {
    return "Received: from relay" + std::to_string(I) + ".example.net\nDate: Tue, 8 Dec 2026 09:1" +
           std::to_string(I) +
           ":00 +0000\nFrom: Ann Lee <ann@example.org>\nTo: e2e@example.org\nSubject: Hello " +
           std::to_string(I) + "\nMessage-ID: <" + std::to_string(I) +
           "@example.org>\n\nLine one\nLine two\n";
}

// The environment of a program on Display.
QProcessEnvironment OnDisplay(const QString& Display) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", Display);
    return env;
}

// The windows whose title matches Pattern, as xdotool finds them on Display.
QString FindWindow(const QString& Display, const QString& Pattern) {
    QProcess search;
    search.setProcessEnvironment(OnDisplay(Display));
    search.start("xdotool", {"search", "--name", Pattern});
    search.waitForFinished(5000);
    return QString::fromLocal8Bit(search.readAllStandardOutput()).trimmed();
}

// Presses Key in the window with WindowId on Display, as a user would (focus, then the key).
void PressKey(const QString& Display, const QString& WindowId, const QString& Key) {
    QProcess press;
    press.setProcessEnvironment(OnDisplay(Display));
    press.start("xdotool", {"windowfocus", "--sync", WindowId, "key", "--clearmodifiers", Key});
    press.waitForFinished(5000);
}

// A Dovecot with three mails for one account, a settings folder that holds that account, and a
// virtual X display for the program.
class EndToEnd : public ::testing::Test {
protected:
    TDovecotServer Server;
    QTemporaryDir Settings;
    QProcess Xvfb;
    QString Display;

    void SetUp() override {
        if (!TDovecotServer::Installed() || !ToolsInstalled()) {
            if (TDovecotServer::Required())
                FAIL() << "Dovecot, Xvfb and xdotool are required in CI";
            GTEST_SKIP() << "Dovecot, Xvfb or xdotool is not installed";
        }
        Server.AddUser("e2e", "pw-e2e");
        for (int i = 1; i <= 3; ++i)
            Server.Deliver("e2e", Message(i));
        std::string why;
        ASSERT_TRUE(Server.Start(why)) << why;
        TAccounts accounts;
        auto account = std::make_unique<TAccount>();
        account->Label = "E2E";
        account->UserName = "e2e";
        account->Password = "pw-e2e";
        account->Host = "127.0.0.1";
        account->SetPort(Server.Port());
        accounts.Add(std::move(account));
        TIniFile ini(SettingsFile("Quillet.ini").toStdString());
        WriteAccounts(ini, "", accounts);
        Display = StartXvfb(Xvfb);
        ASSERT_FALSE(Display.isEmpty()) << "Xvfb did not start";
    }
    void TearDown() override {
        Xvfb.terminate();
        Xvfb.waitForFinished(5000);
    }

    QString SettingsFile(const char* Name) const {
        return QDir(Settings.path()).filePath(QString::fromLatin1(Name));
    }
    QByteArray ReadSettingsFile(const char* Name) const {
        QFile file(SettingsFile(Name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Starts the program on the display with the settings folder; returns its window once the
    // title shows the three mails ("Quillet, 3, hh:mm"), empty when that never came.
    QString StartAndWaitForTheMail(QProcess& Quillet) {
        QProcessEnvironment env = OnDisplay(Display);
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("QUILLET_SETTINGS_DIR", Settings.path());
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
        Quillet.setProcessEnvironment(env);
        Quillet.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        Quillet.start(QUILLET_EXE, {});
        if (!Quillet.waitForStarted(10000))
            return {};
        QString window;
        (void)QTest::qWaitFor(
            [&] {
                window = FindWindow(Display, "^Quillet, 3, [0-9][0-9]:[0-9][0-9]$");
                return !window.isEmpty() || Quillet.state() != QProcess::Running;
            },
            60000);
        return window.section('\n', 0, 0);
    }
    // Ends the program as a session ending does: it closes in good order and saves.
    static void End(QProcess& Quillet) {
        Quillet.terminate();
        EXPECT_TRUE(Quillet.waitForFinished(30000));
        EXPECT_EQ(Quillet.exitStatus(), QProcess::NormalExit);
    }
};

TEST_F(EndToEnd, RealProgramChecksAMailboxAndSavesItsSettings) {
    QProcess quillet;
    EXPECT_FALSE(StartAndWaitForTheMail(quillet).isEmpty()) << "no window titled with the mail count";
    End(quillet);
    const QByteArray options = ReadSettingsFile("Quillet.conf");
    ASSERT_FALSE(options.isEmpty()) << "the options store was not written";
    EXPECT_TRUE(options.contains("FirstRun=0"));
    EXPECT_TRUE(options.contains("SortCol=5"));
    EXPECT_TRUE(ReadSettingsFile("Quillet.ini").contains("Count=1"));
}

// The account's server goes away: two checks by hand fail and the account keeps why (its button
// shows the badge from this); the mail stays listed. Back again, the next check clears it.
TEST_F(EndToEnd, AFailingServerIsShownOnItsAccountUntilItIsBack) {
    {
        QProcess quillet;
        const QString window = StartAndWaitForTheMail(quillet);
        ASSERT_FALSE(window.isEmpty()) << "no window titled with the mail count";
        QTest::qWait(1000); // the check at start is over
        Server.Stop();
        for (int i = 0; i < 2; ++i) {
            PressKey(Display, window, "F5");
            QTest::qWait(1500); // a refused connection fails at once
        }
        EXPECT_FALSE(FindWindow(Display, "^Quillet, 3, ").isEmpty()) << "the mail stays listed";
        End(quillet);
    }
    const QByteArray failing = ReadSettingsFile("Quillet.conf");
    // Two presses, two failures (a third when the server went while the first check still ran).
    EXPECT_TRUE(QRegularExpression("FailuresInRow=[23]\\b").match(QString::fromLatin1(failing)).hasMatch())
        << failing.toStdString();
    EXPECT_TRUE(failing.contains("Failed on connect")) << failing.toStdString();

    std::string why;
    ASSERT_TRUE(Server.Restart(why)) << why;
    {
        QProcess quillet;
        ASSERT_FALSE(StartAndWaitForTheMail(quillet).isEmpty());
        End(quillet);
    }
    const QByteArray back = ReadSettingsFile("Quillet.conf");
    EXPECT_FALSE(QRegularExpression("FailuresInRow=[1-9]").match(QString::fromLatin1(back)).hasMatch())
        << back.toStdString();
    EXPECT_FALSE(back.contains("Failed on connect")) << back.toStdString();
}

} // namespace

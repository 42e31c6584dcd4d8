// The real program as a user starts it: on a virtual X display, with a settings folder of its
// own holding one account on a private Dovecot. It must check at once (the window title shows
// the mail count), and when asked to end it must save the settings file and the options store.
#include "model/account.h"
#include "settings/accounts_file.h"
#include "settings/ini_file.h"
#include "tests/support/dovecot_server.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
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
QString StartXvfb(QProcess& Xvfb) {
    Xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
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

// The windows whose title matches Pattern, as xdotool finds them on Display.
QString FindWindow(const QString& Display, const QString& Pattern) {
    QProcess search;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", Display);
    search.setProcessEnvironment(env);
    search.start("xdotool", {"search", "--name", Pattern});
    search.waitForFinished(5000);
    return QString::fromLocal8Bit(search.readAllStandardOutput()).trimmed();
}

TEST(EndToEnd, RealProgramChecksAMailboxAndSavesItsSettings) {
    if (!TDovecotServer::Installed() || !ToolsInstalled()) {
        if (TDovecotServer::Required())
            FAIL() << "Dovecot, Xvfb and xdotool are required in CI";
        GTEST_SKIP() << "Dovecot, Xvfb or xdotool is not installed";
    }
    TDovecotServer server;
    server.AddUser("e2e", "pw-e2e");
    for (int i = 1; i <= 3; ++i)
        server.Deliver("e2e", Message(i));
    std::string why;
    ASSERT_TRUE(server.Start(why)) << why;

    QTemporaryDir settings;
    {
        TAccounts accounts;
        auto account = std::make_unique<TAccount>();
        account->Label = "E2E";
        account->UserName = "e2e";
        account->Password = "pw-e2e";
        account->Host = "127.0.0.1";
        account->SetPort(server.Port());
        accounts.Add(std::move(account));
        TIniFile ini(QDir(settings.path()).filePath("Quillet.ini").toStdString());
        WriteAccounts(ini, "", accounts);
    }

    QProcess xvfb;
    const QString display = StartXvfb(xvfb);
    ASSERT_FALSE(display.isEmpty()) << "Xvfb did not start";

    QProcess quillet;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("QUILLET_SETTINGS_DIR", settings.path());
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    quillet.setProcessEnvironment(env);
    quillet.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    quillet.start(QUILLET_EXE, {});
    ASSERT_TRUE(quillet.waitForStarted(10000));

    // The title becomes "Quillet, 3, hh:mm" once the first check has listed the three mails.
    QString window;
    QElapsedTimer clock;
    clock.start();
    while (window.isEmpty() && clock.elapsed() < 60000 && quillet.state() == QProcess::Running) {
        QTest::qWait(250);
        window = FindWindow(display, "^Quillet, 3, [0-9][0-9]:[0-9][0-9]$");
    }
    EXPECT_FALSE(window.isEmpty()) << "no window titled with the mail count";

    quillet.terminate(); // as a session ending: the program closes in good order
    EXPECT_TRUE(quillet.waitForFinished(30000));
    EXPECT_EQ(quillet.exitStatus(), QProcess::NormalExit);
    xvfb.terminate();
    xvfb.waitForFinished(5000);

    QFile store(QDir(settings.path()).filePath("Quillet.conf"));
    ASSERT_TRUE(store.open(QIODevice::ReadOnly)) << "the options store was not written";
    const QByteArray options = store.readAll();
    EXPECT_TRUE(options.contains("FirstRun=0"));
    EXPECT_TRUE(options.contains("SortCol=5"));
    QFile ini(QDir(settings.path()).filePath("Quillet.ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("Count=1"));
}

// Presses Key in the window with WindowId on Display, as a user would (focus, then the key).
void PressKey(const QString& Display, const QString& WindowId, const QString& Key) {
    QProcess press;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", Display);
    press.setProcessEnvironment(env);
    press.start("xdotool", {"windowfocus", "--sync", WindowId, "key", "--clearmodifiers", Key});
    press.waitForFinished(5000);
}

// The account's server goes away: two checks by hand fail and the account keeps why (its button
// shows the badge from this); the mail stays listed. Back again, the next check clears it.
TEST(EndToEnd, AFailingServerIsShownOnItsAccountUntilItIsBack) {
    if (!TDovecotServer::Installed() || !ToolsInstalled()) {
        if (TDovecotServer::Required())
            FAIL() << "Dovecot, Xvfb and xdotool are required in CI";
        GTEST_SKIP() << "Dovecot, Xvfb or xdotool is not installed";
    }
    TDovecotServer server;
    server.AddUser("e2e", "pw-e2e");
    for (int i = 1; i <= 3; ++i)
        server.Deliver("e2e", Message(i));
    std::string why;
    ASSERT_TRUE(server.Start(why)) << why;
    QTemporaryDir settings;
    {
        TAccounts accounts;
        auto account = std::make_unique<TAccount>();
        account->Label = "E2E";
        account->UserName = "e2e";
        account->Password = "pw-e2e";
        account->Host = "127.0.0.1";
        account->SetPort(server.Port());
        accounts.Add(std::move(account));
        TIniFile ini(QDir(settings.path()).filePath("Quillet.ini").toStdString());
        WriteAccounts(ini, "", accounts);
    }
    QProcess xvfb;
    const QString display = StartXvfb(xvfb);
    ASSERT_FALSE(display.isEmpty()) << "Xvfb did not start";
    const auto health = [&] {
        QFile store(QDir(settings.path()).filePath("Quillet.conf"));
        return store.open(QIODevice::ReadOnly) ? store.readAll() : QByteArray();
    };
    // One run of the program: it checks at start (the title shows the three mails), Presses more
    // checks by hand, and ends in good order.
    const auto run = [&](int Presses, const std::function<void()>& BeforePresses) {
        QProcess quillet;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", display);
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("QUILLET_SETTINGS_DIR", settings.path());
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
        quillet.setProcessEnvironment(env);
        quillet.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        quillet.start(QUILLET_EXE, {});
        ASSERT_TRUE(quillet.waitForStarted(10000));
        QString window;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                window = FindWindow(display, "^Quillet, 3, [0-9][0-9]:[0-9][0-9]$");
                return !window.isEmpty() || quillet.state() != QProcess::Running;
            },
            60000));
        ASSERT_FALSE(window.isEmpty()) << "no window titled with the mail count";
        BeforePresses();
        for (int i = 0; i < Presses; ++i) {
            PressKey(display, window.section('\n', 0, 0), "F5");
            QTest::qWait(1500); // a refused connection fails at once
        }
        EXPECT_FALSE(FindWindow(display, "^Quillet, 3, ").isEmpty()) << "the mail stays listed";
        quillet.terminate();
        EXPECT_TRUE(quillet.waitForFinished(30000));
    };
    run(2, [&] {
        QTest::qWait(1000); // the check at start is over
        server.Stop();
    });
    const QByteArray failing = health();
    // Two presses, two failures (a third when the server went while the first check still ran).
    EXPECT_TRUE(QRegularExpression("FailuresInRow=[23]\\b").match(QString::fromLatin1(failing)).hasMatch())
        << failing.toStdString();
    EXPECT_TRUE(failing.contains("Failed on connect")) << failing.toStdString();

    ASSERT_TRUE(server.Restart(why)) << why;
    run(0, [] {});
    const QByteArray back = health();
    EXPECT_FALSE(QRegularExpression("FailuresInRow=[1-9]").match(QString::fromLatin1(back)).hasMatch())
        << back.toStdString();
    EXPECT_FALSE(back.contains("Failed on connect")) << back.toStdString();
    xvfb.terminate();
    xvfb.waitForFinished(5000);
}

} // namespace

// Starts the real program twice: the second start must end at once with exit code 0 while the
// first keeps running.
#include "tests/support/temp_settings.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <gtest/gtest.h>

namespace quillet {
namespace {

class SecondStart : public ::testing::Test {
protected:
    void SetUp() override {
        env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.AppDir()));
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(config.AppDir()));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        QFile::setPermissions(QString::fromStdString(runtime.AppDir()),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    void TearDown() override {
        first.kill(); // nothing when it is not running
        first.waitForFinished(10000);
    }
    void Start(QProcess& p) {
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QUILLET_EXE, {});
        ASSERT_TRUE(p.waitForStarted(10000));
    }
    QString LockPath() const { return QString::fromStdString(runtime.FilePath("Quillex.lock")); }
    // Waits until the lock file names the process (the program writes it before its window).
    bool WaitForLockOf(const QProcess& p) {
        const QByteArray pid = QByteArray::number(p.processId());
        QDeadlineTimer deadline(30000);
        while (!deadline.hasExpired()) {
            QFile f(LockPath());
            if (f.open(QIODevice::ReadOnly) && f.readLine().trimmed() == pid)
                return true;
            QThread::msleep(50);
        }
        return false;
    }
    int RunSecond() {
        QProcess second;
        Start(second);
        if (!second.waitForFinished(60000)) {
            second.kill();
            second.waitForFinished();
            return -1;
        }
        return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -2;
    }

    test::TTempAppDir runtime;
    test::TTempAppDir config;
    QProcessEnvironment env;
    QProcess first;
};

TEST_F(SecondStart, EndsWithExitCodeZeroWhileTheFirstRuns) {
    Start(first);
    ASSERT_TRUE(WaitForLockOf(first));

    EXPECT_EQ(RunSecond(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    // A long-running first instance still counts, however old its lock file is.
    QFile lock(LockPath());
    ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        lock.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
    lock.close();
    EXPECT_EQ(RunSecond(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(SecondStart, LockLeftByACrashedRunIsTakenOver) {
    Start(first);
    ASSERT_TRUE(WaitForLockOf(first));
    first.kill(); // no clean-up: the lock file stays behind
    ASSERT_TRUE(first.waitForFinished(10000));
    ASSERT_TRUE(QFileInfo::exists(LockPath()));

    Start(first); // the next run
    EXPECT_TRUE(WaitForLockOf(first));
    EXPECT_EQ(first.state(), QProcess::Running);
}

} // namespace
} // namespace quillet

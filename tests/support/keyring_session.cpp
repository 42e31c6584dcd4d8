#include "tests/support/keyring_session.h"

#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QDir>
#include <QEventLoop>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTimer>

namespace quillet::test {

namespace {

const QString kSecrets = QStringLiteral("org.freedesktop.secrets");
constexpr int kStartMs = 10000;

} // namespace

TKeyringSession::TKeyringSession() {
    FHadAddress = qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS");
    FOldAddress = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    if (!FBus.Running() || !FDir.isValid()) {
        FProblem = QStringLiteral("no private bus (dbus-daemon missing?)");
        return;
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", FBus.Address().toUtf8());
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("gnome-keyring-daemon"));
    if (daemon.isEmpty()) {
        FProblem = QStringLiteral("gnome-keyring-daemon is missing (package gnome-keyring)");
        return;
    }
    // A home of its own: the keyring files go to $XDG_DATA_HOME/keyrings.
    const QDir dir(FDir.path());
    for (const char* sub : {"home", "runtime", "config", "data"})
        dir.mkpath(QString::fromLatin1(sub));
    QFile::setPermissions(dir.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), FBus.Address());
    environment.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("runtime")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    FKeyring.setProcessEnvironment(environment);
    FKeyring.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    FKeyring.setStandardOutputFile(QProcess::nullDevice());
    // --unlock reads the password from standard input; with no keyring yet it makes an unlocked
    // "login" keyring, the default collection.
    FKeyring.start(
        daemon,
        {QStringLiteral("--foreground"), QStringLiteral("--unlock"), QStringLiteral("--components=secrets"),
         QStringLiteral("--control-directory=") + dir.filePath(QStringLiteral("runtime/keyring"))});
    if (!FKeyring.waitForStarted(kStartMs)) {
        FProblem = QStringLiteral("gnome-keyring-daemon did not start");
        return;
    }
    FKeyring.write("throw-away");
    FKeyring.closeWriteChannel();
    FRunning = WaitForSecretService();
    if (!FRunning)
        FProblem = QStringLiteral("the Secret Service did not appear on the bus");
}

TKeyringSession::~TKeyringSession() {
    StopKeyring();
    if (FHadAddress)
        qputenv("DBUS_SESSION_BUS_ADDRESS", FOldAddress);
    else
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
}

bool TKeyringSession::WaitForSecretService() {
    QDBusConnection bus = FBus.Connect(QStringLiteral("keyring-session-watch"));
    if (!bus.isConnected())
        return false;
    QDBusServiceWatcher watcher(kSecrets, bus, QDBusServiceWatcher::WatchForRegistration);
    QEventLoop loop;
    QObject::connect(&watcher, &QDBusServiceWatcher::serviceRegistered, &loop, &QEventLoop::quit);
    QObject::connect(&FKeyring, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(kStartMs, &loop, &QEventLoop::quit);
    if (!bus.interface()->isServiceRegistered(kSecrets).value() && FKeyring.state() == QProcess::Running)
        loop.exec();
    return bus.interface()->isServiceRegistered(kSecrets).value();
}

void TKeyringSession::StopKeyring() {
    if (FKeyring.state() == QProcess::NotRunning)
        return;
    FKeyring.terminate();
    if (!FKeyring.waitForFinished(5000)) {
        FKeyring.kill();
        FKeyring.waitForFinished(5000);
    }
}

std::optional<std::string> TKeyringSession::Lookup(const QString& Service, const QString& Key) const {
    QProcess tool;
    // QtKeychain keeps an entry's service and key as the attributes "server" and "user".
    tool.start(QStringLiteral("secret-tool"),
               {QStringLiteral("lookup"), QStringLiteral("server"), Service, QStringLiteral("user"), Key});
    if (!tool.waitForFinished(kStartMs) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return std::nullopt;
    return tool.readAllStandardOutput().toStdString();
}

} // namespace quillet::test

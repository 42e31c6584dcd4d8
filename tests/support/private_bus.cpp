#include "tests/support/private_bus.h"

#include <QFile>
#include <QStandardPaths>

namespace quillet::test {

TPrivateBus::TPrivateBus() {
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty() || !FDir.isValid())
        return;
    QFile config(FDir.filePath(QStringLiteral("bus.conf")));
    if (!config.open(QIODevice::WriteOnly))
        return;
    config.write(
        QStringLiteral("<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                       "<auth>EXTERNAL</auth><policy context=\"default\">"
                       "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                       "<allow own=\"*\"/></policy></busconfig>")
            .arg(FDir.path())
            .toUtf8());
    config.close();
    FDaemon.start(daemon, {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"),
                           QStringLiteral("--nopidfile"), QStringLiteral("--print-address")});
    // The daemon prints its address once it listens.
    while (FDaemon.waitForStarted(5000) && !FDaemon.canReadLine() && FDaemon.waitForReadyRead(5000)) {
    }
    FAddress = QString::fromUtf8(FDaemon.readLine()).trimmed();
}

TPrivateBus::~TPrivateBus() {
    for (const QString& name : FNames)
        QDBusConnection::disconnectFromBus(name);
    FDaemon.terminate();
    FDaemon.waitForFinished(5000);
}

bool TPrivateBus::Required() {
    return qgetenv("CI") == "true";
}

QDBusConnection TPrivateBus::Connect(const QString& Name) {
    FNames.push_back(Name);
    return QDBusConnection::connectToBus(FAddress, Name);
}

} // namespace quillet::test

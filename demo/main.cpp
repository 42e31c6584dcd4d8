// quillet-demo-server: serves the demo mailbox over POP3 on 127.0.0.1 until it is stopped
// (Ctrl+C or SIGTERM end it at once; it keeps nothing worth saving). scripts/run.sh starts it
// when no account is set up yet, so that a first start of Quillet shows a real check.
#include "demo/demo_mailbox.h"
#include "demo/demo_pop3_server.h"
#include "demo/demo_settings.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QSaveFile>
#include <QTimer>

#include <cstdio>
#include <string>

namespace {

std::string Bytes(const QString& S) {
    const QByteArray utf8 = S.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

int Fail(const QString& Text) {
    std::fprintf(stderr, "quillet-demo-server: %s\n", qPrintable(Text));
    return 1;
}

// Written whole or not at all, so that a script waiting for the file never reads half a number.
bool WritePortFile(const QString& Path, std::uint16_t Port) {
    QSaveFile file(Path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QByteArray::number(Port) + "\n");
    return file.commit();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillet-demo-server"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLET_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Serves a demo mailbox over POP3 on 127.0.0.1 for trying Quillet without an account."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("TCP port (0: any free port)."), QStringLiteral("N"),
                                        QStringLiteral("0"));
    const QCommandLineOption userOption(QStringLiteral("user"), QStringLiteral("User name to accept."),
                                        QStringLiteral("NAME"), QStringLiteral("demo"));
    const QCommandLineOption passwordOption(QStringLiteral("password"), QStringLiteral("Password to accept."),
                                            QStringLiteral("PASSWORD"), QStringLiteral("demo"));
    const QCommandLineOption newEveryOption(QStringLiteral("new-every"),
                                            QStringLiteral("Seconds between new messages (0: none)."),
                                            QStringLiteral("SECONDS"), QStringLiteral("120"));
    const QCommandLineOption seedOption(QStringLiteral("seed"),
                                        QStringLiteral("Seed of the generated mailbox."), QStringLiteral("N"),
                                        QString::number(quillet::TDemoMailbox::DefaultSeed));
    const QCommandLineOption portFileOption(
        QStringLiteral("port-file"), QStringLiteral("Write the chosen port to this file once listening."),
        QStringLiteral("PATH"));
    const QCommandLineOption settingsOption(
        QStringLiteral("write-settings"),
        QStringLiteral("Write DIR/Quillet.ini with one account \"Demo\" for this server."),
        QStringLiteral("DIR"));
    parser.addOptions(
        {portOption, userOption, passwordOption, newEveryOption, seedOption, portFileOption, settingsOption});
    parser.process(app);

    bool ok = false;
    const uint port = parser.value(portOption).toUInt(&ok);
    if (!ok || port > 65535)
        return Fail(QStringLiteral("--port must be a number from 0 to 65535"));
    const int newEvery = parser.value(newEveryOption).toInt(&ok);
    if (!ok || newEvery < 0 || newEvery > 24 * 3600)
        return Fail(QStringLiteral("--new-every must be a number of seconds from 0 to 86400"));
    const qulonglong seed = parser.value(seedOption).toULongLong(&ok);
    if (!ok)
        return Fail(QStringLiteral("--seed must be a number"));
    const std::string user = Bytes(parser.value(userOption));
    const std::string password = Bytes(parser.value(passwordOption));
    if (user.empty() || password.empty())
        return Fail(QStringLiteral("--user and --password must not be empty"));

    quillet::TDemoMailbox mailbox(seed, QDateTime::currentDateTime());
    quillet::TDemoPop3Server server(mailbox, user, password);
    if (!server.Listen(static_cast<std::uint16_t>(port)))
        return Fail(QStringLiteral("cannot listen on 127.0.0.1:%1: %2").arg(port).arg(server.ErrorText()));

    // The settings go first: whoever waits for the port file may use them at once.
    if (parser.isSet(settingsOption) &&
        !quillet::WriteDemoSettings(parser.value(settingsOption), user, password, server.Port()))
        return Fail(QStringLiteral("cannot write Quillet.ini in %1").arg(parser.value(settingsOption)));
    if (parser.isSet(portFileOption) && !WritePortFile(parser.value(portFileOption), server.Port()))
        return Fail(QStringLiteral("cannot write %1").arg(parser.value(portFileOption)));

    QTimer arrivals;
    if (newEvery > 0) {
        QObject::connect(&arrivals, &QTimer::timeout, &app,
                         [&mailbox] { mailbox.AddNewMessage(QDateTime::currentDateTime()); });
        arrivals.start(newEvery * 1000);
    }

    const std::string arrivalsText =
        newEvery > 0 ? "a new one every " + std::to_string(newEvery) + " s" : std::string("no new ones");
    std::printf("Demo mailbox: %d messages on 127.0.0.1:%u (user \"%s\"), %s\n",
                static_cast<int>(mailbox.Messages().size()), static_cast<unsigned>(server.Port()),
                user.c_str(), arrivalsText.c_str());
    std::fflush(stdout);
    return QCoreApplication::exec();
}

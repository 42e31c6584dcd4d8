#include "settings/start_options.h"

#include "settings/app_dir.h"
#include "util/text_convert.h"

#include <QCommandLineParser>
#include <QDir>

namespace quillet {

TStartOptions ParseStartOptions(const QStringList& Arguments, const QString& SettingsDirVariable) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Quillet checks POP3 mailboxes and lists the mail waiting "
                       "in them."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption settingsDir(
        QStringLiteral("settings-dir"),
        QStringLiteral("Keep Quillet.ini and the options (Quillet.conf) in <dir> instead of the user's own "
                       "settings. The environment variable QUILLET_SETTINGS_DIR does the same."),
        QStringLiteral("dir"));
    parser.addOption(settingsDir);

    TStartOptions result;
    // Options of the toolkit (-style, -platform ...) are unknown here and are not errors: the
    // application object takes them.
    if (!parser.parse(Arguments) && parser.unknownOptionNames().isEmpty())
        result.Error = parser.errorText();
    result.Help = parser.isSet(help) || parser.isSet(QStringLiteral("help-all"));
    result.Version = parser.isSet(version);
    result.SettingsDir = parser.isSet(settingsDir) ? parser.value(settingsDir) : SettingsDirVariable;
    if (result.Error.isEmpty() && parser.isSet(settingsDir) && result.SettingsDir.isEmpty())
        result.Error = QStringLiteral("The settings folder must not be empty.");
    // The help is asked for before the application object exists, which would name the program.
    const QString text = parser.helpText();
    result.HelpText = QStringLiteral("Usage: quillet [options]") + text.mid(text.indexOf(QLatin1Char('\n')));
    return result;
}

TSettingsLocation ChooseSettingsLocation(const QString& SettingsDir) {
    if (SettingsDir.isEmpty())
        return {AppDir(), QString(), QString()};
    const QString folder = QDir(SettingsDir).absolutePath();
    QDir().mkpath(folder);
    QString native = QDir::toNativeSeparators(QDir::cleanPath(folder));
    if (!native.endsWith(QDir::separator()))
        native += QDir::separator();
    return {FromQString(native), QDir(folder).filePath(QStringLiteral("Quillet.conf")), folder};
}

} // namespace quillet

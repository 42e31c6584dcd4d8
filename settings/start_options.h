// What the command line and the environment ask of a start: help, version, or a settings
// folder of its own. A settings folder (--settings-dir DIR, or the environment variable
// QUILLET_SETTINGS_DIR when the option is not given) holds both Quillet.ini and the options
// store (Quillet.conf), so that a demo or test run never touches the user's own settings.
#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace quillet {

struct TStartOptions {
    bool Help = false;
    bool Version = false;
    QString SettingsDir; // empty: the user's own settings
    QString Error;       // a malformed command line, in words
    QString HelpText;
};

// Arguments as main() received them, the program name first. Options this program does not
// know (the toolkit's own, such as -style) are left alone.
TStartOptions ParseStartOptions(const QStringList& Arguments, const QString& SettingsDirVariable);

// Where the settings of a run live.
struct TSettingsLocation {
    std::string AppDir; // folder of Quillet.ini, with a trailing separator
    QString StoreFile;  // the options store as a file of its own; empty: the user's own store
    QString LockFolder; // folder of the single-instance mark; empty: the user's runtime folder
};

// The user's own places when SettingsDir is empty; otherwise all of them inside SettingsDir,
// which is created when missing. A run on a folder of its own is an instance of its own.
TSettingsLocation ChooseSettingsLocation(const QString& SettingsDir);

} // namespace quillet

// Where the settings file lives (AppDir): the program's own folder when Quillet.ini is already
// there or the folder is writable, otherwise the user's configuration folder for Quillet.
#pragma once

#include <QString>
#include <string>

namespace quillet {

// The chosen folder with a trailing separator. UserConfigDir is created when it is chosen and
// does not exist yet.
std::string ChooseAppDir(const QString& ProgramDir, const QString& UserConfigDir);

// ChooseAppDir for the running program and ~/.config/Quillet (the platform's equivalent).
std::string AppDir();

} // namespace quillet

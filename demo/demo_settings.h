// A settings file (Quillet.ini) that points Quillet at the demo server: one active account
// "Demo" on 127.0.0.1, credentials in the stored form Quillet uses when no master password is set.
#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

// The file text, CR LF after every line as Quillet writes its settings file.
std::string DemoSettingsText(std::string_view UserName, std::string_view Password, std::uint16_t Port);

// Writes the text as Folder/Quillet.ini, readable and writable by its owner only (it holds a
// password). False when the file cannot be written.
bool WriteDemoSettings(const QString& Folder, std::string_view UserName, std::string_view Password,
                       std::uint16_t Port);

} // namespace quillet

// The small part of the XDG desktop entry format that autostart entries need. Pure functions.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// True when an autostart entry's text starts a program: its [Desktop Entry] group has a
// non-empty Exec key, and neither Hidden=true nor X-GNOME-Autostart-enabled=false switches it off.
bool AutostartEntryIsSet(std::string_view Text);

// An Exec value that runs Arguments as given: each quoted and escaped for the Exec key and for
// the desktop entry string form.
std::string DesktopExecLine(const std::vector<std::string>& Arguments);

// The text of an autostart entry called Name that runs Exec.
std::string AutostartEntryText(std::string_view Name, std::string_view Exec);

} // namespace quillet

#include "notify/desktop_entry.h"

#include "util/strings.h"

namespace quillet {

namespace {

// Line breaks and other control bytes cannot be part of a single-line value.
std::string EscapeString(std::string_view S) {
    std::string out;
    for (char c : S) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

bool AutostartEntryIsSet(std::string_view Text) {
    bool inMainGroup = false;
    bool hasExec = false;
    bool switchedOff = false;
    for (const std::string& raw : SplitTextLines(Text)) {
        const std::string_view line = TrimBlanks(raw);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inMainGroup)
            continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        const std::string_view key = TrimBlanks(line.substr(0, eq));
        const std::string_view value = TrimBlanks(line.substr(eq + 1));
        if (key == "Exec")
            hasExec = !value.empty();
        else if (key == "Hidden")
            switchedOff = switchedOff || value == "true";
        else if (key == "X-GNOME-Autostart-enabled")
            switchedOff = switchedOff || value == "false";
    }
    return hasExec && !switchedOff;
}

std::string DesktopExecLine(const std::vector<std::string>& Arguments) {
    std::string line;
    for (const std::string& arg : Arguments) {
        if (!line.empty())
            line += ' ';
        std::string quoted = "\"";
        for (char c : arg) {
            if (c == '"' || c == '`' || c == '$' || c == '\\')
                quoted += '\\';
            quoted += c;
        }
        quoted += '"';
        line += quoted;
    }
    // '%' starts a field code in Exec; a literal one is doubled.
    std::string escaped;
    for (char c : EscapeString(line)) {
        escaped += c;
        if (c == '%')
            escaped += '%';
    }
    return escaped;
}

std::string AutostartEntryText(std::string_view Name, std::string_view Exec) {
    return "[Desktop Entry]\nType=Application\nName=" + EscapeString(Name) + "\nExec=" + std::string(Exec) +
           "\nTerminal=false\nX-GNOME-Autostart-enabled=true\n";
}

} // namespace quillet

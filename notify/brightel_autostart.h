// Starting the program at log-on: an entry named appName that starts the program at every
// log-on (autostart) or at the next one only (StartNextLogon), for the current user or, with
// Global, for the whole machine. Reads always consult the platform's entries; writes change
// them at once.
#pragma once

#include "notify/autostart_entries.h"

#include <QString>
#include <memory>
#include <string>

namespace quillet {

class TBrightelAutostart {
public:
    // Entries: where log-on entries live (default: this platform's). ProgramPath: what the
    // entries start (default: this program's file). appName starts as the application name
    // followed by "#Autostart".
    explicit TBrightelAutostart(std::unique_ptr<TAutostartEntries> Entries = PlatformAutostartEntries(),
                                QString ProgramPath = QString());

    const std::string& appName() const { return FAppName; }
    // A new name (ignoring letter case) moves every existing entry, in both scopes, to it.
    void setAppName(const std::string& Name);

    bool autostart();
    void setAutostart(bool Value);
    bool StartNextLogon();
    void setStartNextLogon(bool Value);

    bool Global() const { return FGlobal; }
    // True only when machine-wide entries can be written; existing entries move to the new scope.
    void setGlobal(bool Value);

    // The first entry written in a run of the program keeps the every-log-on entry as it is
    // (rewritten with the current program path) whatever was asked. This arms that rule again,
    // as at program start.
    static void ArmFirstWriteRule();

private:
    bool NameUsable() const;
    bool IsSet(TAutostartKind Kind, bool Machine);
    // Writes one entry under the first-write rule; true when it now exists.
    bool WriteEntry(TAutostartKind Kind, bool Machine, bool On);

    std::unique_ptr<TAutostartEntries> FEntries;
    QString FProgramPath;
    std::string FAppName;
    bool FGlobal = false;
};

} // namespace quillet

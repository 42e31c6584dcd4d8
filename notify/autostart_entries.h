// Where the platform keeps the programs to start at log-on: the Run and RunOnce values of the
// Windows registry, or XDG autostart entries elsewhere. Each entry has a kind, a scope (the
// current user or the whole machine) and a name.
#pragma once

#include <QString>
#include <memory>
#include <string>

namespace quillet {

enum class TAutostartKind {
    EveryLogon, // Run
    NextLogon,  // RunOnce: the entry removes itself when it has started the program
};

class TAutostartEntries {
public:
    virtual ~TAutostartEntries() = default;
    // True when the entry exists and names something to start.
    virtual bool IsSet(TAutostartKind Kind, bool Machine, const std::string& Name) = 0;
    // Makes the entry start ProgramPath; false when it cannot be written.
    virtual bool Set(TAutostartKind Kind, bool Machine, const std::string& Name,
                     const QString& ProgramPath) = 0;
    virtual void Remove(TAutostartKind Kind, bool Machine, const std::string& Name) = 0;
    // True when this user may write machine-wide entries.
    virtual bool CanWriteMachine() = 0;
};

// XDG autostart entries: <UserFolder>/<Name>.desktop and <MachineFolder>/<Name>.desktop; a
// next-log-on entry is <Name>.once.desktop, whose command deletes the entry before it starts
// the program.
class TXdgAutostartEntries : public TAutostartEntries {
public:
    TXdgAutostartEntries(QString UserFolder, QString MachineFolder);
    bool IsSet(TAutostartKind Kind, bool Machine, const std::string& Name) override;
    bool Set(TAutostartKind Kind, bool Machine, const std::string& Name, const QString& ProgramPath) override;
    void Remove(TAutostartKind Kind, bool Machine, const std::string& Name) override;
    bool CanWriteMachine() override;

    QString EntryPath(TAutostartKind Kind, bool Machine, const std::string& Name) const;

private:
    QString FUserFolder;
    QString FMachineFolder;
};

// The entries of this platform for the current user and machine.
std::unique_ptr<TAutostartEntries> PlatformAutostartEntries();

} // namespace quillet

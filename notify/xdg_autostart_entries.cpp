#include "notify/autostart_entries.h"

#include "notify/desktop_entry.h"
#include "util/text_convert.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace quillet {

TXdgAutostartEntries::TXdgAutostartEntries(QString UserFolder, QString MachineFolder)
    : FUserFolder(std::move(UserFolder)), FMachineFolder(std::move(MachineFolder)) {}

QString TXdgAutostartEntries::EntryPath(TAutostartKind Kind, bool Machine, const std::string& Name) const {
    const QString suffix =
        Kind == TAutostartKind::NextLogon ? QStringLiteral(".once.desktop") : QStringLiteral(".desktop");
    return QDir(Machine ? FMachineFolder : FUserFolder).filePath(ToQString(Name) + suffix);
}

bool TXdgAutostartEntries::IsSet(TAutostartKind Kind, bool Machine, const std::string& Name) {
    QFile file(EntryPath(Kind, Machine, Name));
    // An autostart entry is a few hundred bytes; a huge file there is nothing of ours.
    constexpr qint64 largestEntry = 1024 * 1024;
    if (!file.open(QIODevice::ReadOnly) || file.size() > largestEntry)
        return false;
    const QByteArray text = file.readAll();
    return AutostartEntryIsSet(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
}

bool TXdgAutostartEntries::Set(TAutostartKind Kind, bool Machine, const std::string& Name,
                               const QString& ProgramPath) {
    const QString path = EntryPath(Kind, Machine, Name);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    std::vector<std::string> arguments;
    if (Kind == TAutostartKind::NextLogon) {
        // Like RunOnce: the entry is gone before the program runs. A machine-wide entry that the
        // user logging in may not delete is hidden for that user instead, by an entry of the same
        // name in the user's own autostart folder, so it runs once per user and not at every log-on.
        arguments = {"/bin/sh", "-c",
                     "rm -f -- \"$0\" 2>/dev/null; "
                     "if [ -e \"$0\" ]; then "
                     "d=\"${XDG_CONFIG_HOME:-$HOME/.config}/autostart\"; "
                     "mkdir -p \"$d\" && "
                     "{ echo '[Desktop Entry]'; echo 'Type=Application'; echo 'Hidden=true'; } "
                     "> \"$d/${0##*/}\"; "
                     "fi; exec \"$1\"",
                     FromQString(path), FromQString(ProgramPath)};
    } else {
        arguments = {FromQString(ProgramPath)};
    }
    const std::string text = AutostartEntryText(Name, DesktopExecLine(arguments));
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size()) &&
           file.commit();
}

void TXdgAutostartEntries::Remove(TAutostartKind Kind, bool Machine, const std::string& Name) {
    QFile::remove(EntryPath(Kind, Machine, Name));
}

bool TXdgAutostartEntries::CanWriteMachine() {
    if (!QDir().mkpath(FMachineFolder))
        return false;
    QTemporaryFile probe(QDir(FMachineFolder).filePath(QStringLiteral("quillet-probe-XXXXXX")));
    return probe.open();
}

#ifndef Q_OS_WIN
std::unique_ptr<TAutostartEntries> PlatformAutostartEntries() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return std::make_unique<TXdgAutostartEntries>(QDir(config).filePath(QStringLiteral("autostart")),
                                                  QStringLiteral("/etc/xdg/autostart"));
}
#endif

} // namespace quillet

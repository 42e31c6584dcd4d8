#include "settings/app_dir.h"

#include "util/text_convert.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quillet {

namespace {

std::string WithSeparator(const QString& Dir) {
    QString native = QDir::toNativeSeparators(QDir::cleanPath(Dir));
    if (!native.endsWith(QDir::separator()))
        native += QDir::separator();
    return FromQString(native);
}

} // namespace

std::string ChooseAppDir(const QString& ProgramDir, const QString& UserConfigDir) {
    const QFileInfo folder(ProgramDir);
    // An installed program (under /usr, /bin or /sbin) keeps no settings beside itself, even when
    // the folder happens to be writable (as it is for root).
    const QString clean = QDir::cleanPath(folder.absoluteFilePath());
    const bool systemFolder = clean.startsWith(QStringLiteral("/usr/")) || clean == QStringLiteral("/bin") ||
                              clean == QStringLiteral("/sbin");
    if (!systemFolder && (QFileInfo::exists(QDir(ProgramDir).filePath(QStringLiteral("Quillet.ini"))) ||
                          (folder.isDir() && folder.isWritable())))
        return WithSeparator(ProgramDir);
    QDir().mkpath(UserConfigDir);
    return WithSeparator(UserConfigDir);
}

std::string AppDir() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return ChooseAppDir(QCoreApplication::applicationDirPath(),
                        QDir(config).filePath(QStringLiteral("Quillet")));
}

} // namespace quillet

// The lock-file form of the single-instance mark (every platform but Windows).
#include "app/single_instance.h"

#include <QtGlobal>

#ifndef Q_OS_WIN

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace quillet {

struct TSingleInstance::TImpl {
    explicit TImpl(const QString& Path) : Lock(Path) {}
    QLockFile Lock;
};

TSingleInstance::TSingleInstance(const QString& Folder) {
    QString folder = Folder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        // A per-user folder: a shared one such as /tmp would let another user's running
        // Quillet stop this user's start.
        folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    }
    if (folder.isEmpty())
        folder = QDir::homePath();
    QDir().mkpath(folder);
    FImpl = std::make_unique<TImpl>(QDir(folder).filePath(QStringLiteral("Quillex.lock")));
    // The lock is held for the whole run: it must never count as stale by its age, only when
    // the process that wrote it is gone.
    FImpl->Lock.setStaleLockTime(0);
    if (!FImpl->Lock.tryLock(0)) {
        // Only a lock held by a live instance stops this start; a folder where no lock can be
        // made at all does not keep the user from running the program.
        FIsFirst = FImpl->Lock.error() != QLockFile::LockFailedError;
    }
}

TSingleInstance::~TSingleInstance() = default;

} // namespace quillet

#endif

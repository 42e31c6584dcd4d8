// The mark that one Quillet runs: held for the life of the process, so that a second start can
// see it and end at once. Windows uses the named mutex "Quillex"; elsewhere a lock file
// "Quillex.lock" in the user's runtime folder, which a crashed run leaves stale and the next
// start takes over.
#pragma once

#include <QString>
#include <memory>

namespace quillet {

class TSingleInstance {
public:
    // Claims the mark. Folder is where the lock file goes (empty: the runtime folder); the
    // Windows mutex ignores it.
    explicit TSingleInstance(const QString& Folder = QString());
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // False when another running instance holds the mark.
    bool IsFirst() const { return FIsFirst; }

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
    bool FIsFirst = true;
};

} // namespace quillet

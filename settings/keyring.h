// The desktop keyring as the settings see it: one secret per key, kept by the desktop (the
// Secret Service on Linux, the Credential Manager on Windows). Each call waits for the keyring's
// answer while the program goes on dispatching events.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <string>

namespace quillet {

enum class TKeyringStatus {
    Ok,       // done; a read gives the secret
    NotFound, // the keyring has no such entry (which does not prove that the keyring works)
    Failed    // the keyring cannot be used now: no service, locked, refused, or no answer
};

struct TKeyringReply {
    TKeyringStatus Status = TKeyringStatus::Ok;
    std::string Secret; // what a read found
    QString Error;      // why it failed, in the keyring's own words
};

class TKeyring {
public:
    virtual ~TKeyring() = default;
    virtual TKeyringReply Read(const std::string& Key) = 0;
    virtual TKeyringReply Write(const std::string& Key, const std::string& Secret) = 0;
    // Removing an entry that does not exist is no failure.
    virtual TKeyringReply Remove(const std::string& Key) = 0;
};

// What the user knows the keyring as on this desktop.
inline QString KeyringName() {
#ifdef Q_OS_WIN
    return QCoreApplication::translate("TKeyring", "Windows Credential Manager");
#else
    return QCoreApplication::translate("TKeyring", "the desktop keyring");
#endif
}

} // namespace quillet

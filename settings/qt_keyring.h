// The desktop keyring through QtKeychain: every entry under one service name ("Quillet"), one
// entry per key. QtKeychain's jobs run asynchronously; each call here runs a local event loop
// until its job has finished or the time-out has passed, so the window stays responsive (and a
// keyring that asks the user to unlock it gets its answer).
#pragma once

#include "settings/keyring.h"

#include <QString>

namespace quillet {

class TQtKeyring : public TKeyring {
public:
    static constexpr int DefaultTimeoutMs = 60000; // long enough to type the keyring's password
    explicit TQtKeyring(QString Service = QStringLiteral("Quillet"), int TimeoutMs = DefaultTimeoutMs);

    TKeyringReply Read(const std::string& Key) override;
    TKeyringReply Write(const std::string& Key, const std::string& Secret) override;
    TKeyringReply Remove(const std::string& Key) override;

private:
    QString FService;
    int FTimeoutMs;
};

} // namespace quillet

// A Secret Service of the test's own: gnome-keyring-daemon on a private bus, with an unlocked
// throw-away "login" keyring in a private home, so that nothing of the user's session, keyrings
// or home is read or changed. While it exists, the test process's session bus is that bus: the
// keyring clients (libsecret through QtKeychain) read DBUS_SESSION_BUS_ADDRESS when they first
// connect, so a test process uses one session, made before its first keyring call.
#pragma once

#include "tests/support/private_bus.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <optional>
#include <string>

namespace quillet::test {

class TKeyringSession {
public:
    TKeyringSession();
    ~TKeyringSession();
    TKeyringSession(const TKeyringSession&) = delete;
    TKeyringSession& operator=(const TKeyringSession&) = delete;

    // In CI (CI=true) a session that cannot be started is a failure, not a reason to skip.
    static bool Required() { return TPrivateBus::Required(); }

    // The bus runs and the Secret Service answers on it.
    bool Running() const { return FRunning; }
    // Why it does not run.
    const QString& Problem() const { return FProblem; }
    // Ends the Secret Service and keeps the bus: from now on the keyring cannot be used, as on a
    // desktop without one.
    void StopKeyring();
    // The secret stored for Service and Key as another client of the Secret Service sees it
    // (libsecret's secret-tool); nothing when there is no such entry. Needs secret-tool.
    std::optional<std::string> Lookup(const QString& Service, const QString& Key) const;

private:
    bool WaitForSecretService();

    TPrivateBus FBus;
    QTemporaryDir FDir;
    QProcess FKeyring;
    QByteArray FOldAddress;
    bool FHadAddress = false;
    bool FRunning = false;
    QString FProblem;
};

} // namespace quillet::test

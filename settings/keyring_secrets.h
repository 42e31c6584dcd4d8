// The accounts' secrets (passwords and OAuth tokens) kept in the desktop keyring instead of the
// settings file, as the user chooses in the options. The file says which form it uses
// ("Keyring" = 1 in [Accounts]); in the keyring each secret is an entry named by the account's
// keyring id (kept in its section as "KeyringId") and the secret's name.
//
// Moving the secrets either way never loses one: the new place holds every secret before the
// old one gives any up, and a step that fails leaves the file as it was (and takes back what it
// already put in the keyring). While the keyring is in use, each save writes the secrets that
// changed to the keyring and the file without them; a secret the keyring could not give at
// start is never overwritten with nothing.
#pragma once

#include <QString>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

namespace quillet {

class TAccount;
class TAccounts;
class TIniFile;
class TKeyring;
struct TAccountSecret;

// Raised by a save whose secrets the keyring did not all take; the file was written.
class EKeyringError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// How a move went. Not Done: nothing changed, and Message says what failed. Done with a
// Message: the move took place, and Message says what was left behind.
struct TKeyringMove {
    bool Done = false;
    QString Message;
};

class TKeyringSecrets {
public:
    explicit TKeyringSecrets(TKeyring& Keyring) : FKeyring(Keyring) {}

    // The accounts' secrets are in the keyring (as the file said at start, or since a move).
    bool InUse() const { return FInUse; }

    // At start, once the accounts are read from Ini: when the file keeps their secrets in the
    // keyring, reads them into the accounts. Empty when every secret was read; otherwise the
    // message to show (once): the accounts stay, without the secrets that could not be read.
    QString ReadSecrets(const TIniFile& Ini, TAccounts& Accounts);

    // The accounts part of a save. With the keyring in use: the secrets that changed go to the
    // keyring, then the file without secrets, then the entries of removed accounts are removed;
    // a secret the keyring refused raises EKeyringError once the file is written (the next
    // save tries again). Otherwise the file with the secrets, as always.
    void Save(TIniFile& Ini, const std::string& MasterPassword, TAccounts& Accounts);

    // The option switched on: every account's secrets into the keyring, and only when each
    // write is confirmed the file without them.
    TKeyringMove MoveIn(TIniFile& Ini, const std::string& MasterPassword, TAccounts& Accounts);
    // The option switched off: the file with every secret, and only then the keyring entries
    // removed. A secret not read at start is read from the keyring first.
    TKeyringMove MoveOut(TIniFile& Ini, const std::string& MasterPassword, TAccounts& Accounts);

private:
    // "the password of the account "Home""
    static QString SecretOfAccount(const TAccountSecret& Secret, const TAccount& Account);
    // Removes Keys from the keyring; the first failure, or empty.
    QString RemoveAll(const std::set<std::string>& Keys);

    TKeyring& FKeyring;
    bool FInUse = false;
    // What the keyring holds as this run last read or wrote it, by key.
    std::map<std::string, std::string> FHeld;
    // Keys whose secret the keyring could not give at start: their accounts hold nothing there.
    std::set<std::string> FUnread;
};

} // namespace quillet

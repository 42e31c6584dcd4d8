#include "settings/keyring_secrets.h"

#include "model/account.h"
#include "settings/account_secrets.h"
#include "settings/accounts_file.h"
#include "settings/ini_file.h"
#include "settings/keyring.h"

#include <exception>
#include <utility>
#include <vector>

namespace quillet {

namespace {

// Why the keyring did not do what was asked, in words for a message.
QString Reason(const TKeyringReply& Reply) {
    if (Reply.Status == TKeyringStatus::NotFound)
        return QCoreApplication::translate("TKeyringSecrets", "it has no such entry");
    return Reply.Error.isEmpty() ? QCoreApplication::translate("TKeyringSecrets", "no reason given")
                                 : Reply.Error;
}

} // namespace

QString TKeyringSecrets::SecretOfAccount(const TAccountSecret& Secret, const TAccount& Account) {
    return QCoreApplication::translate("TKeyringSecrets", "the %1 of the account \"%2\"")
        .arg(QCoreApplication::translate("TKeyringSecrets", Secret.Caption),
             QString::fromStdString(Account.Label));
}

QString TKeyringSecrets::RemoveAll(const std::set<std::string>& Keys) {
    for (const std::string& key : Keys) {
        const TKeyringReply reply = FKeyring.Remove(key);
        if (reply.Status == TKeyringStatus::Failed)
            return QCoreApplication::translate("TKeyringSecrets", "removing an entry failed: %1")
                .arg(Reason(reply)); // the others would fail alike
        FHeld.erase(key);
        FUnread.erase(key);
    }
    return {};
}

QString TKeyringSecrets::ReadSecrets(const TIniFile& Ini, TAccounts& Accounts) {
    FHeld.clear();
    FUnread.clear();
    FInUse = ReadAccountsHeader(Ini).Keyring;
    if (!FInUse)
        return {};
    QString failure;
    bool usable = true;
    for (int n = 0; n < Accounts.Count(); ++n) {
        TAccount& account = Accounts[n];
        if (account.KeyringId.empty()) {
            // Nothing of this account is anywhere: it gets entries of its own at the next save.
            if (failure.isEmpty())
                failure =
                    QCoreApplication::translate("TKeyringSecrets",
                                                "Quillet.ini names no keyring entries for the account \"%1\"")
                        .arg(QString::fromStdString(account.Label));
            continue;
        }
        for (const TAccountSecret& secret : AccountSecrets) {
            const std::string key = KeyringKey(account, secret);
            // A keyring that cannot be used now answers every read alike; asking again only
            // makes the start wait.
            const TKeyringReply reply =
                usable ? FKeyring.Read(key) : TKeyringReply{TKeyringStatus::Failed, {}, {}};
            if (reply.Status == TKeyringStatus::Ok) {
                secret.Of(account) = reply.Secret;
                FHeld[key] = reply.Secret;
                continue;
            }
            FUnread.insert(key);
            if (failure.isEmpty())
                failure = QCoreApplication::translate("TKeyringSecrets", "reading %1 failed: %2")
                              .arg(SecretOfAccount(secret, account), Reason(reply));
            if (reply.Status == TKeyringStatus::Failed)
                usable = false;
        }
    }
    if (failure.isEmpty())
        return {};
    return QCoreApplication::translate(
               "TKeyringSecrets",
               "Quillet could not read the passwords of your accounts from %1: %2.\n\n"
               "The accounts are kept without what could not be read, so their checks fail on login. "
               "Nothing was removed from the keyring: start Quillet again once it can be read.")
        .arg(KeyringName(), failure);
}

void TKeyringSecrets::Save(TIniFile& Ini, const std::string& MasterPassword, TAccounts& Accounts) {
    if (!FInUse) {
        WriteAccounts(Ini, MasterPassword, Accounts);
        return;
    }
    std::set<std::string> ids;
    for (int n = 0; n < Accounts.Count(); ++n) {
        if (Accounts[n].KeyringId.empty())
            Accounts[n].KeyringId = NewKeyringId(); // an account added in this run
        ids.insert(Accounts[n].KeyringId);
    }
    QString failure;
    for (int n = 0; n < Accounts.Count() && failure.isEmpty(); ++n) {
        const TAccount& account = Accounts[n];
        for (const TAccountSecret& secret : AccountSecrets) {
            const std::string key = KeyringKey(account, secret);
            const std::string& value = secret.In(account);
            const auto held = FHeld.find(key);
            if (held != FHeld.end() && held->second == value)
                continue;
            // What the keyring holds but could not give at start is not replaced by nothing.
            if (held == FHeld.end() && FUnread.count(key) != 0 && value.empty())
                continue;
            const TKeyringReply reply = FKeyring.Write(key, value);
            if (reply.Status != TKeyringStatus::Ok) {
                failure = QCoreApplication::translate(
                              "TKeyringSecrets", "Quillet could not keep %1 in %2: %3.\n\nThe account uses "
                                                 "it until Quillet ends; the next save tries again.")
                              .arg(SecretOfAccount(secret, account), KeyringName(), Reason(reply));
                break;
            }
            FHeld[key] = value;
            FUnread.erase(key);
        }
    }
    WriteAccounts(Ini, MasterPassword, Accounts, true);
    if (failure.isEmpty()) {
        // The entries of accounts that were removed, now that the file no longer names them.
        std::set<std::string> removed;
        for (const auto& entry : FHeld)
            if (ids.count(KeyringIdOfKey(entry.first)) == 0)
                removed.insert(entry.first);
        for (const std::string& key : FUnread)
            if (ids.count(KeyringIdOfKey(key)) == 0)
                removed.insert(key);
        const QString left = RemoveAll(removed);
        if (!left.isEmpty())
            failure = QCoreApplication::translate("TKeyringSecrets",
                                                  "The secrets of a removed account stay in %1: %2")
                          .arg(KeyringName(), left);
    }
    if (!failure.isEmpty())
        throw EKeyringError(failure.toStdString());
}

TKeyringMove TKeyringSecrets::MoveIn(TIniFile& Ini, const std::string& MasterPassword, TAccounts& Accounts) {
    if (FInUse)
        return {true, {}};
    std::vector<int> given; // accounts that get their keyring id now
    for (int n = 0; n < Accounts.Count(); ++n)
        if (Accounts[n].KeyringId.empty()) {
            Accounts[n].KeyringId = NewKeyringId();
            given.push_back(n);
        }
    std::map<std::string, std::string> written;
    QString failure;
    for (int n = 0; n < Accounts.Count() && failure.isEmpty(); ++n) {
        const TAccount& account = Accounts[n];
        for (const TAccountSecret& secret : AccountSecrets) {
            const std::string key = KeyringKey(account, secret);
            const TKeyringReply reply = FKeyring.Write(key, secret.In(account));
            if (reply.Status != TKeyringStatus::Ok) {
                failure = QCoreApplication::translate(
                              "TKeyringSecrets", "The passwords stay in Quillet.ini: %1 did not store %2: %3")
                              .arg(KeyringName(), SecretOfAccount(secret, account), Reason(reply));
                break;
            }
            written[key] = secret.In(account);
        }
    }
    if (failure.isEmpty()) {
        try {
            WriteAccounts(Ini, MasterPassword, Accounts, true);
        } catch (const std::exception& Error) {
            failure = QCoreApplication::translate(
                          "TKeyringSecrets",
                          "The passwords stay in Quillet.ini, which could not be written without them: %1")
                          .arg(QString::fromUtf8(Error.what()));
        }
    }
    if (failure.isEmpty()) {
        FInUse = true;
        FHeld = std::move(written);
        FUnread.clear();
        return {true, {}};
    }
    // Nothing moved: what already went to the keyring is taken back.
    std::set<std::string> keys;
    for (const auto& entry : written)
        keys.insert(entry.first);
    if (const QString left = RemoveAll(keys); !left.isEmpty())
        failure += QCoreApplication::translate(
                       "TKeyringSecrets", "\n\nTaking back what %1 had already stored failed as well: %2")
                       .arg(KeyringName(), left);
    for (const int n : given)
        Accounts[n].KeyringId.clear();
    return {false, failure};
}

TKeyringMove TKeyringSecrets::MoveOut(TIniFile& Ini, const std::string& MasterPassword, TAccounts& Accounts) {
    if (!FInUse)
        return {true, {}};
    // Every other secret is in the account as this run read, wrote or changed it; those that
    // could not be read at start must come from the keyring now, or nothing moves.
    struct TFound {
        std::string Key;
        std::string* Target;
        std::string Value;
    };
    std::vector<TFound> found;
    for (int n = 0; n < Accounts.Count(); ++n) {
        TAccount& account = Accounts[n];
        for (const TAccountSecret& secret : AccountSecrets) {
            const std::string key = KeyringKey(account, secret);
            if (account.KeyringId.empty() || FUnread.count(key) == 0)
                continue;
            const TKeyringReply reply = FKeyring.Read(key);
            if (reply.Status != TKeyringStatus::Ok)
                return {false,
                        QCoreApplication::translate(
                            "TKeyringSecrets", "The passwords stay in %1: %2 could not be read from it: %3")
                            .arg(KeyringName(), SecretOfAccount(secret, account), Reason(reply))};
            found.push_back({key, &secret.Of(account), reply.Secret});
        }
    }
    for (const TFound& secret : found) {
        *secret.Target = secret.Value;
        FHeld[secret.Key] = secret.Value;
        FUnread.erase(secret.Key);
    }
    std::set<std::string> keys;
    for (int n = 0; n < Accounts.Count(); ++n)
        if (!Accounts[n].KeyringId.empty())
            for (const TAccountSecret& secret : AccountSecrets)
                keys.insert(KeyringKey(Accounts[n], secret));
    for (const auto& entry : FHeld)
        keys.insert(entry.first);
    keys.insert(FUnread.begin(), FUnread.end()); // those of accounts removed in this run
    try {
        WriteAccounts(Ini, MasterPassword, Accounts, false);
    } catch (const std::exception& Error) {
        return {false, QCoreApplication::translate(
                           "TKeyringSecrets",
                           "The passwords stay in %1: Quillet.ini could not be written with them: %2")
                           .arg(KeyringName(), QString::fromUtf8(Error.what()))};
    }
    FInUse = false;
    const QString left = RemoveAll(keys);
    FHeld.clear();
    FUnread.clear();
    if (!left.isEmpty())
        return {true, QCoreApplication::translate(
                          "TKeyringSecrets",
                          "The passwords are back in Quillet.ini, but %1 still holds some of them: %2")
                          .arg(KeyringName(), left)};
    return {true, {}};
}

} // namespace quillet

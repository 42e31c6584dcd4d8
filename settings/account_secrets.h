// The secrets of an account, the password and the two OAuth tokens, as one table: the settings
// file keeps each under its own key (protected), or the desktop keyring keeps each under the
// account's keyring id and the secret's name.
#pragma once

#include <array>
#include <string>

namespace quillet {

class TAccount;

struct TAccountSecret {
    const char* Name;    // its key in the settings file and the last part of its keyring key
    const char* Caption; // how messages name it (context "TKeyringSecrets")
    std::string& (*Of)(TAccount& Account);

    const std::string& In(const TAccount& Account) const;
};

extern const std::array<TAccountSecret, 3> AccountSecrets;

// The keyring entry of Secret for Account: "<keyring id>/<name>".
std::string KeyringKey(const TAccount& Account, const TAccountSecret& Secret);
// The keyring id part of a keyring key.
std::string KeyringIdOfKey(const std::string& Key);
// A new random keyring id (32 hexadecimal digits).
std::string NewKeyringId();

} // namespace quillet

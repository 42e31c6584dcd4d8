#include "settings/account_secrets.h"

#include "model/account.h"

#include <QCoreApplication>
#include <QUuid>

namespace quillet {

const std::array<TAccountSecret, 3> AccountSecrets = {{
    {"Password", QT_TRANSLATE_NOOP("TKeyringSecrets", "password"),
     [](TAccount& Account) -> std::string& { return Account.Password; }},
    {"AccessToken", QT_TRANSLATE_NOOP("TKeyringSecrets", "access token"),
     [](TAccount& Account) -> std::string& { return Account.Tokens.AccessToken; }},
    {"RefreshToken", QT_TRANSLATE_NOOP("TKeyringSecrets", "refresh token"),
     [](TAccount& Account) -> std::string& { return Account.Tokens.RefreshToken; }},
}};

const std::string& TAccountSecret::In(const TAccount& Account) const {
    return Of(const_cast<TAccount&>(Account)); // read only
}

std::string KeyringKey(const TAccount& Account, const TAccountSecret& Secret) {
    return Account.KeyringId + "/" + Secret.Name;
}

std::string KeyringIdOfKey(const std::string& Key) {
    return Key.substr(0, Key.find('/'));
}

std::string NewKeyringId() {
    return QUuid::createUuid().toString(QUuid::Id128).toStdString();
}

} // namespace quillet

#include "settings/password_asker.h"

#include "crypto/master_password.h"
#include "util/text_convert.h"

#include <QCoreApplication>

namespace quillet {

std::optional<std::string> UnlockAtStart(std::string_view TestPhrase, TPasswordAsker& Asker) {
    for (int attempt = 1; attempt <= 3; ++attempt) {
        const std::optional<std::string> typed = Asker.AskPassword(FromQString(
            attempt == 1
                ? QCoreApplication::translate("MasterPassword", "Enter your master password:")
                : QCoreApplication::translate("MasterPassword", "Invalid master password, try again...")));
        if (!typed)
            return std::nullopt;
        if (PasswordOpensTestPhrase(TestPhrase, *typed))
            return typed;
    }
    return std::nullopt;
}

} // namespace quillet

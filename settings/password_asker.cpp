#include "settings/password_asker.h"

#include "crypto/master_password.h"

namespace quillet {

std::optional<std::string> UnlockAtStart(std::string_view TestPhrase, TPasswordAsker& Asker) {
    for (int attempt = 1; attempt <= 3; ++attempt) {
        const std::optional<std::string> typed = Asker.AskPassword(
            attempt == 1 ? "Enter your master password:" : "Invalid master password, try again...");
        if (!typed)
            return std::nullopt;
        if (PasswordOpensTestPhrase(TestPhrase, *typed))
            return typed;
    }
    return std::nullopt;
}

} // namespace quillet

#include "app/master_password_check.h"

#include "dialogs/message_box.h"
#include "util/text_convert.h"

namespace quillet {

namespace {

void ShowPasswordError(QWidget* Parent, const QString& Text) {
    ShowMessage(Parent, QCoreApplication::translate("MasterPassword", "Error"), Text, TMessageIcon::Error);
}

std::optional<std::string> Ask(TPasswordAsker& Asker, const QString& Prompt) {
    return Asker.AskPassword(FromQString(Prompt));
}

} // namespace

QString MasterPasswordRefusalText() {
    return QCoreApplication::translate("MasterPassword", MasterPasswordRefusal);
}

void SetMasterPassword(std::string& MasterPassword, TPasswordAsker& Asker, QWidget* Parent,
                       const QString& Title) {
    // Only someone who knows the present password may change it: a cancelled prompt stops the
    // command just as a wrong entry does.
    bool mayChange = true;
    if (!MasterPassword.empty()) {
        const std::optional<std::string> present =
            Ask(Asker, QCoreApplication::translate("MasterPassword", "Enter your existing password"));
        if (present && *present != MasterPassword)
            ShowPasswordError(Parent, QCoreApplication::translate("MasterPassword", "Invalid password!"));
        mayChange = present && *present == MasterPassword;
    }
    if (mayChange) {
        const std::optional<std::string> entry =
            Ask(Asker, QCoreApplication::translate("MasterPassword",
                                                   "Enter a password that secures access to all your e-mail "
                                                   "accounts, or leave the field empty to use the program "
                                                   "without a password:"));
        if (entry && entry->empty()) {
            MasterPassword.clear();
        } else if (entry) {
            // A cancelled retype counts as an empty one.
            if (Ask(Asker, QCoreApplication::translate("MasterPassword", "Retype your new password:"))
                    .value_or(std::string()) != *entry) {
                ShowPasswordError(Parent,
                                  QCoreApplication::translate("MasterPassword",
                                                              "Both versions of the password do not match"));
                return;
            }
            MasterPassword = *entry;
        }
    }
    ShowMessage(
        Parent, Title,
        MasterPassword.empty()
            ? QCoreApplication::translate("MasterPassword", "Your accounts are NOT password-protected.")
            : QCoreApplication::translate("MasterPassword", "Your accounts ARE password-protected."),
        TMessageIcon::None);
}

} // namespace quillet

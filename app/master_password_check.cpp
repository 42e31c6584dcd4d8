#include "app/master_password_check.h"

#include "dialogs/message_box.h"

namespace quillet {

namespace {

void ShowPasswordError(QWidget* Parent, const char* Text) {
    ShowMessage(Parent, QStringLiteral("Error"), QString::fromLatin1(Text), TMessageIcon::Error);
}

} // namespace

void SetMasterPassword(std::string& MasterPassword, TPasswordAsker& Asker, QWidget* Parent,
                       const QString& Title) {
    // Only someone who knows the present password may change it: a cancelled prompt stops the
    // command just as a wrong entry does.
    bool mayChange = true;
    if (!MasterPassword.empty()) {
        const std::optional<std::string> present = Asker.AskPassword("Enter your existing password");
        if (present && *present != MasterPassword)
            ShowPasswordError(Parent, "Invalid password!");
        mayChange = present && *present == MasterPassword;
    }
    if (mayChange) {
        const std::optional<std::string> entry = Asker.AskPassword(
            "Enter a password that secures access to all your e-mail accounts, or leave the field "
            "empty to use the program without a password:");
        if (entry && entry->empty()) {
            MasterPassword.clear();
        } else if (entry) {
            // A cancelled retype counts as an empty one.
            if (Asker.AskPassword("Retype your new password:").value_or(std::string()) != *entry) {
                ShowPasswordError(Parent, "Both versions of the password do not match");
                return;
            }
            MasterPassword = *entry;
        }
    }
    ShowMessage(Parent, Title,
                MasterPassword.empty() ? QStringLiteral("Your accounts are NOT password-protected.")
                                       : QStringLiteral("Your accounts ARE password-protected."),
                TMessageIcon::None);
}

} // namespace quillet

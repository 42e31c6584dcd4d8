// The command that sets, changes or clears the master password, and the message that ends a
// start without it. The prompts go through a TPasswordAsker (the password dialog, or a script in
// tests); messages go through the message box wrapper.
#pragma once

#include "settings/password_asker.h"

#include <QCoreApplication>
#include <QString>
#include <string>

class QWidget;

namespace quillet {

inline constexpr const char* MasterPasswordRefusal = QT_TRANSLATE_NOOP(
    "MasterPassword",
    "Invalid master password\r\n\nThe program will not run without a proper password.\r\nIf you can't recall "
    "it, delete the Quillet.ini file, restart the program and define accounts again.");
// The same in the user's language.
QString MasterPasswordRefusalText();

// The "Set password..." command: asks for the present password (when there is one), then for
// the new one twice, and tells the user the outcome in message boxes; Title captions the
// outcome message. MasterPassword changes only when both entries match (an empty entry clears
// it). A cancelled or wrong present password changes nothing. Nothing is written here; the next
// settings save stores the new state.
void SetMasterPassword(std::string& MasterPassword, TPasswordAsker& Asker, QWidget* Parent,
                       const QString& Title);

} // namespace quillet

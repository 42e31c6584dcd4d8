// The master password at start-up and the command that sets, changes or clears it. The prompts
// go through a TPasswordAsker (the password dialog, or a script in tests); messages go through
// the message box wrapper.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

class QWidget;

namespace quillet {

class TPasswordAsker {
public:
    virtual ~TPasswordAsker() = default;
    // Shows Prompt and returns what was typed; nothing when the prompt was cancelled.
    virtual std::optional<std::string> AskPassword(const std::string& Prompt) = 0;
};

inline constexpr const char* MasterPasswordRefusal =
    "Invalid master password\r\n\nThe program will not run without a proper password.\r\nIf you can't recall "
    "it, "
    "delete the Quillet.ini file, restart the program and define accounts again.";

// Up to three prompts for the password that opens TestPhrase. The password, or nothing when
// every attempt failed or one was cancelled. A TestPhrase that is not hexadecimal raises the
// conversion error at the first attempt.
std::optional<std::string> UnlockAtStart(std::string_view TestPhrase, TPasswordAsker& Asker);

// The "Set password..." command: asks for the present password (when there is one), then for
// the new one twice, and tells the user the outcome in message boxes; Title captions the
// outcome message. MasterPassword changes only when both entries match (an empty entry clears
// it). A cancelled or wrong present password changes nothing. Nothing is written here; the next
// settings save stores the new state.
void SetMasterPassword(std::string& MasterPassword, TPasswordAsker& Asker, QWidget* Parent,
                       const QString& Title);

} // namespace quillet

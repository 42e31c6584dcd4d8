// The master password check at start-up: the prompts go through a TPasswordAsker (the password
// dialog, or a script in tests). Nothing here shows a window.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillet {

class TPasswordAsker {
public:
    virtual ~TPasswordAsker() = default;
    // Shows Prompt and returns what was typed; nothing when the prompt was cancelled.
    virtual std::optional<std::string> AskPassword(const std::string& Prompt) = 0;
};

// Up to three prompts for the password that opens TestPhrase. The password, or nothing when
// every attempt failed or one was cancelled. A TestPhrase that is not hexadecimal raises the
// conversion error at the first attempt.
std::optional<std::string> UnlockAtStart(std::string_view TestPhrase, TPasswordAsker& Asker);

} // namespace quillet

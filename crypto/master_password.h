// Recognising the master password: the settings keep "TestPhrase", a fixed verification text
// encrypted under the master password, never the password itself.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// The ten-character text whose encryption is stored as "TestPhrase".
constexpr std::string_view VerificationText = "Qu1llet#OK";

// The "TestPhrase" value to store for MasterPassword (empty: no master password).
std::string MakeTestPhrase(std::string_view MasterPassword);

// True when Typed is the master password under which StoredTestPhrase was written. An empty
// entry never opens it: a master password in use is never empty. A stored text with a
// non-hexadecimal pair raises the conversion error of HexToString.
bool PasswordOpensTestPhrase(std::string_view StoredTestPhrase, std::string_view Typed);

} // namespace quillet

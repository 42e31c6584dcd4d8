// The stored form of an account's user name, host and password: enciphered under the master
// password when one is set, scrambled when none is, and written as hexadecimal text either way.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// The text to store for Value.
std::string ProtectText(std::string_view Value, std::string_view MasterPassword);

// The value a stored text stands for. Text that is not hexadecimal (or whose scrambled form
// does not decode to hexadecimal) raises the conversion error "'%s' is not a valid integer value".
std::string UnprotectText(std::string_view Stored, std::string_view MasterPassword);

} // namespace quillet

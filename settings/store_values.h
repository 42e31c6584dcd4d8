// Typed values in a registry-style settings store. Every value is stored as text: integers in
// decimal (negative numbers with a leading "-"), booleans as "0" or "1".
#pragma once

#include "util/settings_store.h"

#include <cstdint>
#include <string>

namespace quillet {

// A missing value, or one that is not a decimal integer (ParseSignedDecimal), gives Default.
std::int32_t ReadInteger(TSettingsStore& Store, const std::string& Section, const std::string& Name,
                         std::int32_t Default);
void WriteInteger(TSettingsStore& Store, const std::string& Section, const std::string& Name,
                  std::int32_t Value);

// Read as an integer with default 0 or 1; any value other than 0 is true.
bool ReadBool(TSettingsStore& Store, const std::string& Section, const std::string& Name, bool Default);
void WriteBool(TSettingsStore& Store, const std::string& Section, const std::string& Name, bool Value);

} // namespace quillet

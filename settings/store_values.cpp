#include "settings/store_values.h"

#include "util/strings.h"

namespace quillet {

std::int32_t ReadInteger(TSettingsStore& Store, const std::string& Section, const std::string& Name,
                         std::int32_t Default) {
    const std::string text = Store.ReadString(Section, Name, std::string());
    return ParseSignedDecimal(text).value_or(Default);
}

void WriteInteger(TSettingsStore& Store, const std::string& Section, const std::string& Name,
                  std::int32_t Value) {
    Store.WriteString(Section, Name, std::to_string(Value));
}

bool ReadBool(TSettingsStore& Store, const std::string& Section, const std::string& Name, bool Default) {
    return ReadInteger(Store, Section, Name, Default ? 1 : 0) != 0;
}

void WriteBool(TSettingsStore& Store, const std::string& Section, const std::string& Name, bool Value) {
    Store.WriteString(Section, Name, Value ? "1" : "0");
}

} // namespace quillet

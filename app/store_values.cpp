#include "app/store_values.h"

namespace quillet {

std::optional<std::int32_t> ParseDecimalInteger(std::string_view Text) {
    std::string_view digits = Text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > 2147483648LL) {
            return std::nullopt;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t ReadInteger(TSettingsStore& Store, const std::string& Section, const std::string& Name,
                         std::int32_t Default) {
    const std::string text = Store.ReadString(Section, Name, std::string());
    return ParseDecimalInteger(text).value_or(Default);
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

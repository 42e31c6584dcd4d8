#include "notify/one_sound.h"

#include <initializer_list>
#include <optional>

namespace quillet {

namespace {

// Position of the first Key that starts the value or follows a comma.
std::optional<std::size_t> FindKey(std::string_view Text, std::string_view Key) {
    std::size_t pos = Text.find(Key);
    while (pos != std::string_view::npos) {
        if (pos == 0 || Text[pos - 1] == ',')
            return pos;
        pos = Text.find(Key, pos + 1);
    }
    return std::nullopt;
}

std::string_view FlagField(std::string_view Text, std::string_view Key) {
    const auto pos = FindKey(Text, Key);
    if (!pos)
        return {};
    const std::size_t start = *pos + Key.size();
    const std::size_t end = Text.find(',', start);
    return Text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

std::string_view PathField(std::string_view Text) {
    const auto pos = FindKey(Text, "path=");
    if (!pos)
        return {};
    const std::size_t start = *pos + 5;
    std::size_t end = Text.size();
    for (std::string_view next : {",act=", ",builtin=", ",path="}) {
        const std::size_t at = Text.find(next, start);
        if (at != std::string_view::npos && at < end)
            end = at;
    }
    return Text.substr(start, end - start);
}

} // namespace

std::string TOneSound::ToText() const {
    return std::string("act=") + (IsActive ? "1" : "0") + ",builtin=" + (BuiltIn ? "1" : "0") +
           ",path=" + WavePath;
}

void TOneSound::FromText(std::string_view Text) {
    IsActive = FlagField(Text, "act=") != "0";
    BuiltIn = FlagField(Text, "builtin=") != "0";
    WavePath = std::string(PathField(Text));
}

} // namespace quillet

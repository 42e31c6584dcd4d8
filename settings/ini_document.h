// The text of an INI settings file, read and changed the way the Windows profile routines do:
// section and key names compare without regard to letter case, the first matching key wins,
// values are trimmed and lose one pair of enclosing quotes, and every line that is not the key
// being written (comments, blank lines, other sections, lines before the first section) stays
// as it was. Pure: no file access.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class TIniDocument {
public:
    TIniDocument() = default;
    explicit TIniDocument(std::string_view Text);

    // The value of Key in Section, or nothing when there is no such key.
    std::optional<std::string> Find(std::string_view Section, std::string_view Key) const;

    // Sets Key in Section to Value: an existing key line is rewritten in place, a new key goes
    // after the last line of its section, a new section goes at the end. Line breaks inside the
    // names or the value become spaces, so a value can never add lines of its own.
    void Set(std::string_view Section, std::string_view Key, std::string_view Value);

    // The whole file text, each line ended with the line break the file used (CR LF when new).
    std::string Text() const;

    const std::vector<std::string>& Lines() const { return FLines; }

private:
    std::vector<std::string> FLines;
    std::string FLineBreak = "\r\n";
};

// An integer as the profile routines read it: decimal, or hexadecimal after "0x" or "0X" (one to
// eight digits, read as a 32-bit pattern). Anything else gives Default.
std::int32_t ParseIniInteger(std::string_view Text, std::int32_t Default);

} // namespace quillet

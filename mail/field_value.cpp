#include "mail/field_value.h"

#include <cstddef>

namespace quillet {

namespace {

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

} // namespace

int FindFieldLine(const std::vector<std::string>& Lines, std::string_view Prefix, int Occurrence) {
    int found = 0;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        const std::string& line = Lines[i];
        if (line.size() < Prefix.size())
            continue;
        bool same = true;
        for (std::size_t k = 0; k < Prefix.size() && same; ++k)
            same = AsciiLower(line[k]) == AsciiLower(Prefix[k]);
        if (!same)
            continue;
        if (found == Occurrence)
            return static_cast<int>(i);
        ++found;
    }
    return -1;
}

std::string ExtractFieldValue(std::string_view Line) {
    std::string value;
    bool inQuotes = false;
    bool started = false;
    for (const char c : Line) {
        if (c == '"')
            inQuotes = !inQuotes;
        if (!started) {
            if (c == ':' && !inQuotes)
                started = true;
            continue;
        }
        if (c == ';' && !inQuotes)
            break;
        value += c;
    }
    value = TrimSpace(value);
    if (!value.empty() && value.front() == '"' && value.back() == '"')
        value = value.size() < 2 ? std::string() : value.substr(1, value.size() - 2);
    return value;
}

std::string FieldValueIn(const std::vector<std::string>& Lines, std::string_view Name) {
    std::string prefix(Name);
    prefix += ':';
    const int index = FindFieldLine(Lines, prefix, 0);
    if (index < 0)
        return {};
    std::string value = TrimSpace(ExtractFieldValue(Lines[static_cast<std::size_t>(index)]));
    if (value.size() > 2 && IsQuote(value.front()) && IsQuote(value.back()))
        value = value.substr(1, value.size() - 2);
    return value;
}

} // namespace quillet

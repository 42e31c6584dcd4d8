#include "settings/ini_document.h"

#include "settings/store_values.h"
#include "util/strings.h"

namespace quillet {

namespace {

enum class TLineKind { Other, Section, Key };

struct TLineInfo {
    TLineKind Kind = TLineKind::Other;
    std::string_view Name; // section or key name, trimmed
    std::string_view Value;
};

constexpr std::string_view Bom = "\xEF\xBB\xBF";

TLineInfo Classify(std::string_view Line, bool First) {
    if (First && Line.substr(0, Bom.size()) == Bom)
        Line.remove_prefix(Bom.size());
    std::string_view t = TrimBlanks(Line);
    TLineInfo info;
    if (t.empty() || t.front() == ';')
        return info;
    if (t.front() == '[') {
        const std::size_t close = t.rfind(']');
        if (close != std::string_view::npos) {
            info.Kind = TLineKind::Section;
            info.Name = TrimBlanks(t.substr(1, close - 1));
        }
        return info;
    }
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos)
        return info;
    info.Kind = TLineKind::Key;
    info.Name = TrimBlanks(t.substr(0, eq));
    std::string_view v = TrimBlanks(t.substr(eq + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    info.Value = v;
    return info;
}

std::string WithoutLineBreaks(std::string_view S) {
    std::string out(S);
    for (char& c : out)
        if (c == '\r' || c == '\n')
            c = ' ';
    return out;
}

} // namespace

TIniDocument::TIniDocument(std::string_view Text) : FLines(SplitTextLines(Text)) {
    const std::size_t lf = Text.find('\n');
    const std::size_t cr = Text.find('\r');
    if (lf != std::string_view::npos && (cr == std::string_view::npos || cr > lf))
        FLineBreak = "\n";
}

std::optional<std::string> TIniDocument::Find(std::string_view Section, std::string_view Key) const {
    bool inSection = false;
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        const TLineInfo info = Classify(FLines[i], i == 0);
        if (info.Kind == TLineKind::Section)
            inSection = SameTextAscii(info.Name, Section);
        else if (inSection && info.Kind == TLineKind::Key && SameTextAscii(info.Name, Key))
            return std::string(info.Value);
    }
    return std::nullopt;
}

void TIniDocument::Set(std::string_view Section, std::string_view Key, std::string_view Value) {
    const std::string section = WithoutLineBreaks(Section);
    const std::string key = WithoutLineBreaks(Key);
    const std::string value = WithoutLineBreaks(Value);

    constexpr std::size_t none = std::string::npos;
    bool inSection = false;
    bool inFirst = false;           // inside the first section with this name
    std::size_t firstHeader = none; // its header line
    std::size_t firstEnd = none;    // the line after its last non-blank line
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        const TLineInfo info = Classify(FLines[i], i == 0);
        if (info.Kind == TLineKind::Section) {
            inSection = SameTextAscii(info.Name, section);
            inFirst = inSection && firstHeader == none;
            if (inFirst) {
                firstHeader = i;
                firstEnd = i + 1;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (info.Kind == TLineKind::Key && SameTextAscii(info.Name, key)) {
            // The key keeps the spelling the file gives it.
            FLines[i] = std::string(info.Name) + "=" + value;
            return;
        }
        if (inFirst && !TrimBlanks(FLines[i]).empty())
            firstEnd = i + 1;
    }
    const std::string line = key + "=" + value;
    if (firstHeader != none) {
        FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(firstEnd), line);
        return;
    }
    if (!FLines.empty() && !TrimBlanks(FLines.back()).empty())
        FLines.emplace_back();
    FLines.push_back("[" + section + "]");
    FLines.push_back(line);
}

std::string TIniDocument::Text() const {
    std::string out;
    std::size_t size = 0;
    for (const auto& l : FLines)
        size += l.size() + FLineBreak.size();
    out.reserve(size);
    for (const auto& l : FLines) {
        out += l;
        out += FLineBreak;
    }
    return out;
}

std::int32_t ParseIniInteger(std::string_view Text, std::int32_t Default) {
    if (Text.size() > 2 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X')) {
        const std::string_view digits = Text.substr(2);
        if (digits.size() > 8)
            return Default;
        std::uint32_t value = 0;
        for (char c : digits) {
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (AsciiLower(c) >= 'a' && AsciiLower(c) <= 'f')
                d = AsciiLower(c) - 'a' + 10;
            else
                return Default;
            value = value * 16 + static_cast<std::uint32_t>(d);
        }
        return static_cast<std::int32_t>(value);
    }
    return ParseSignedDecimal(Text).value_or(Default);
}

} // namespace quillet

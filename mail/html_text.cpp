#include "mail/html_text.h"

#include "mail/mail_bytes.h"
#include "util/text_convert.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

namespace {

using namespace mail_bytes;
using TLines = std::vector<std::string>;

void AppendUtf8(std::string& Out, std::uint32_t Code) {
    if (Code < 0x80) {
        Out += static_cast<char>(Code);
    } else if (Code < 0x800) {
        Out += static_cast<char>(0xC0 | (Code >> 6));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    } else if (Code < 0x10000) {
        Out += static_cast<char>(0xE0 | (Code >> 12));
        Out += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    } else {
        Out += static_cast<char>(0xF0 | (Code >> 18));
        Out += static_cast<char>(0x80 | ((Code >> 12) & 0x3F));
        Out += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    }
}

// The text of a character code from a numeric reference: codes 128 to 159 are read as
// Windows-1252, as mail written on Windows means them; control codes become a space; codes that
// are no character become U+FFFD.
void AppendCharacter(std::string& Out, std::uint32_t Code) {
    if (Code == 0 || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF))
        AppendUtf8(Out, 0xFFFD);
    else if (Code < 0x20 || Code == 0x7F)
        Out += ' ';
    else if (Code >= 0x80 && Code < 0xA0)
        Out += FromQString(ToQString(std::string(1, static_cast<char>(Code))));
    else
        AppendUtf8(Out, Code);
}

struct TNamedEntity {
    std::string_view Name;
    std::uint32_t Code; // 0: no text; a space stands for every kind of fixed space
    bool Bare;          // also known without its ";"
};

constexpr std::array<TNamedEntity, 66> kEntities{{
    {"amp", '&', true},       {"lt", '<', true},        {"gt", '>', true},        {"quot", '"', true},
    {"apos", '\'', false},    {"nbsp", ' ', true},      {"ensp", ' ', false},     {"emsp", ' ', false},
    {"thinsp", ' ', false},   {"shy", 0, false},        {"zwnj", 0, false},       {"zwj", 0, false},
    {"copy", 0xA9, true},     {"reg", 0xAE, true},      {"trade", 0x2122, false}, {"euro", 0x20AC, false},
    {"pound", 0xA3, false},   {"yen", 0xA5, false},     {"cent", 0xA2, false},    {"sect", 0xA7, false},
    {"para", 0xB6, false},    {"deg", 0xB0, false},     {"plusmn", 0xB1, false},  {"times", 0xD7, false},
    {"divide", 0xF7, false},  {"middot", 0xB7, false},  {"bull", 0x2022, false},  {"hellip", 0x2026, false},
    {"mdash", 0x2014, false}, {"ndash", 0x2013, false}, {"lsquo", 0x2018, false}, {"rsquo", 0x2019, false},
    {"sbquo", 0x201A, false}, {"ldquo", 0x201C, false}, {"rdquo", 0x201D, false}, {"bdquo", 0x201E, false},
    {"laquo", 0xAB, false},   {"raquo", 0xBB, false},   {"iexcl", 0xA1, false},   {"iquest", 0xBF, false},
    {"micro", 0xB5, false},   {"frac12", 0xBD, false},  {"frac14", 0xBC, false},  {"frac34", 0xBE, false},
    {"rarr", 0x2192, false},  {"larr", 0x2190, false},  {"auml", 0xE4, false},    {"ouml", 0xF6, false},
    {"uuml", 0xFC, false},    {"Auml", 0xC4, false},    {"Ouml", 0xD6, false},    {"Uuml", 0xDC, false},
    {"szlig", 0xDF, false},   {"aacute", 0xE1, false},  {"agrave", 0xE0, false},  {"acirc", 0xE2, false},
    {"eacute", 0xE9, false},  {"egrave", 0xE8, false},  {"ecirc", 0xEA, false},   {"iacute", 0xED, false},
    {"oacute", 0xF3, false},  {"ocirc", 0xF4, false},   {"uacute", 0xFA, false},  {"ccedil", 0xE7, false},
    {"ntilde", 0xF1, false},  {"Eacute", 0xC9, false},
}};

// Decodes the character reference that starts at Text[At] ("&"), appending its text to Out.
// Returns how many bytes it takes; 0 when it is no reference known here (the "&" is then text).
// With EndIsCut, a reference that the end of the text cuts off takes the rest and gives nothing.
std::size_t DecodeReference(std::string_view Text, std::size_t At, bool EndIsCut, std::string& Out) {
    const std::size_t n = Text.size();
    std::size_t i = At + 1;
    if (i < n && Text[i] == '#') {
        ++i;
        const bool hex = i < n && (Text[i] == 'x' || Text[i] == 'X');
        if (hex)
            ++i;
        const std::size_t digits = i;
        std::uint32_t code = 0;
        for (; i < n && (hex ? HexValue(Text[i]) >= 0 : IsAsciiDigit(Text[i])); ++i)
            code = std::min<std::uint32_t>(
                code * (hex ? 16 : 10) + static_cast<std::uint32_t>(HexValue(Text[i])), 0x110000);
        if (i == n && EndIsCut)
            return n - At;
        if (i == digits)
            return 0;
        if (i < n && Text[i] == ';')
            ++i;
        AppendCharacter(Out, code);
        return i - At;
    }
    while (i < n && i - At <= 32 && (IsAsciiLetter(Text[i]) || IsAsciiDigit(Text[i])))
        ++i;
    const std::string_view name = Text.substr(At + 1, i - At - 1);
    if (name.empty() || name.size() > 32)
        return 0;
    if (i == n && EndIsCut)
        return n - At;
    const bool semicolon = i < n && Text[i] == ';';
    for (const TNamedEntity& entity : kEntities)
        if (entity.Name == name && (semicolon || entity.Bare)) {
            if (entity.Code != 0)
                AppendUtf8(Out, entity.Code);
            return i - At + (semicolon ? 1 : 0);
        }
    return 0;
}

// Collects the visible text of an HTML document as lines: runs of white space become one space,
// block ends start a new line, paragraphs are set apart by one empty line (never more than one).
class THtmlLines {
public:
    // Text that shows; a pending space or line break goes before it.
    void Visible(std::string_view Text) {
        if (FPending > 0) {
            if (!FLine.empty())
                EndLine();
            if (FPending == 2 && !FLines.empty() && !FLines.back().empty())
                FLines.emplace_back();
            FPending = 0;
            FSpace = false;
        }
        if (FSpace && !FLine.empty()) {
            FLine += ' ';
            if (FLink && !FLinkText.empty())
                FLinkText += ' ';
        }
        FSpace = false;
        FLine += Text;
        if (FLink && FLinkText.size() <= FHref.size())
            FLinkText += Text;
    }
    void Space() { FSpace = true; }
    // 1: the next text starts a line; 2: an empty line goes before it.
    void Break(int Level) { FPending = std::max(FPending, Level); }
    // A forced line break: ends the line, or adds an empty line after one just ended.
    void LineBreak() {
        if (FPending == 0 && !FLine.empty())
            EndLine();
        else
            FPending = 2;
    }
    // A link starts; its address follows its text where that text is not the address itself.
    void OpenLink(std::string Href) {
        CloseLink();
        FLink = true;
        FHref = std::move(Href);
        FLinkText.clear();
    }
    void CloseLink() {
        if (!FLink)
            return;
        FLink = false;
        const std::string_view text = TrimSpaces(FLinkText);
        std::string_view address = FHref;
        if (StartsWithText(address, "mailto:"))
            address.remove_prefix(7);
        if (FHref.empty() || text == FHref || text == address)
            return;
        Space();
        Visible("<" + FHref + ">");
    }
    TLines Finish() {
        CloseLink();
        if (!FLine.empty())
            EndLine();
        while (!FLines.empty() && FLines.back().empty())
            FLines.pop_back();
        return std::move(FLines);
    }

private:
    void EndLine() {
        while (!FLine.empty() && FLine.back() == ' ')
            FLine.pop_back();
        if (!FLine.empty() || (!FLines.empty() && !FLines.back().empty()))
            FLines.push_back(FLine);
        FLine.clear();
        FSpace = false;
    }

    TLines FLines;
    std::string FLine;
    bool FSpace = false;
    int FPending = 0;
    bool FLink = false;
    std::string FHref;
    std::string FLinkText; // as much of the link's text as can still equal its address
};

// The position of the ">" that ends a tag whose attributes start at From, or npos when the
// text ends first. The value of the attribute href goes to Href when asked for.
std::size_t ScanAttributes(std::string_view Html, std::string_view Lower, std::size_t From,
                           std::optional<std::string_view>* Href) {
    const std::size_t n = Html.size();
    std::size_t i = From;
    for (;;) {
        while (i < n && (IsWhite(Html[i]) || Html[i] == '/'))
            ++i;
        if (i >= n)
            return std::string_view::npos;
        if (Html[i] == '>')
            return i;
        const std::size_t nameStart = i;
        do
            ++i;
        while (i < n && !IsWhite(Html[i]) && Html[i] != '>' && Html[i] != '/' && Html[i] != '=');
        const std::string_view name = Lower.substr(nameStart, i - nameStart);
        std::size_t j = i;
        while (j < n && IsWhite(Html[j]))
            ++j;
        if (j >= n || Html[j] != '=')
            continue;
        i = j + 1;
        while (i < n && IsWhite(Html[i]))
            ++i;
        if (i >= n)
            return std::string_view::npos;
        std::string_view value;
        if (Html[i] == '"' || Html[i] == '\'') {
            const std::size_t close = Html.find(Html[i], i + 1);
            if (close == std::string_view::npos)
                return std::string_view::npos;
            value = Html.substr(i + 1, close - i - 1);
            i = close + 1;
        } else {
            const std::size_t start = i;
            while (i < n && !IsWhite(Html[i]) && Html[i] != '>')
                ++i;
            value = Html.substr(start, i - start);
        }
        if (Href != nullptr && !*Href && name == "href")
            *Href = value;
    }
}

// The address of a link worth showing (web, FTP or mail), references decoded and white space
// removed; empty for anything else (page anchors, scripts, data).
std::string LinkAddress(std::string_view Href) {
    std::string address;
    for (std::size_t i = 0; i < Href.size();) {
        if (Href[i] == '&') {
            const std::size_t length = DecodeReference(Href, i, false, address);
            if (length > 0) {
                i += length;
                continue;
            }
        }
        if (!IsWhite(Href[i]))
            address += Href[i];
        ++i;
    }
    for (const std::string_view scheme : {"http://", "https://", "ftp://", "ftps://", "mailto:"})
        if (StartsWithText(address, scheme) && address.size() > scheme.size())
            return address;
    return {};
}

bool IsOneOf(std::string_view Name, std::initializer_list<std::string_view> Names) {
    return std::find(Names.begin(), Names.end(), Name) != Names.end();
}

TLines HtmlToLines(std::string_view Html) {
    const std::string lowerText = LowerAscii(Html);
    const std::string_view lower = lowerText;
    const std::size_t n = Html.size();
    THtmlLines out;
    int pre = 0; // depth of <pre> elements: white space there is kept
    std::size_t i = 0;
    while (i < n) {
        const char c = Html[i];
        if (c == '<') {
            if (lower.substr(i, 4) == "<!--") {
                const std::size_t end = Html.find("-->", i + 4);
                i = end == std::string_view::npos ? n : end + 3;
                continue;
            }
            std::size_t j = i + 1;
            const bool closing = j < n && Html[j] == '/';
            if (closing)
                ++j;
            if (j < n && IsAsciiLetter(Html[j])) {
                std::size_t nameEnd = j;
                while (nameEnd < n && (IsAsciiLetter(Html[nameEnd]) || IsAsciiDigit(Html[nameEnd])))
                    ++nameEnd;
                const std::string_view name = lower.substr(j, nameEnd - j);
                std::optional<std::string_view> href;
                const std::size_t end =
                    ScanAttributes(Html, lower, nameEnd, name == "a" && !closing ? &href : nullptr);
                if (end == std::string_view::npos)
                    break; // the text ends inside the tag
                i = end + 1;
                if (name == "br") {
                    out.LineBreak();
                } else if (name == "p" ||
                           (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6')) {
                    out.Break(2);
                } else if (IsOneOf(name, {"div",     "li",      "tr",     "ul",         "ol",      "dl",
                                          "dt",      "dd",      "table",  "blockquote", "hr",      "pre",
                                          "section", "article", "header", "footer",     "address", "center",
                                          "form",    "caption", "figure", "figcaption", "nav",     "main"})) {
                    out.Break(1);
                    if (name == "pre")
                        pre = closing ? std::max(pre - 1, 0) : pre + 1;
                } else if (name == "td" || name == "th") {
                    out.Space();
                } else if (name == "a") {
                    if (closing)
                        out.CloseLink();
                    else
                        out.OpenLink(LinkAddress(href.value_or(std::string_view())));
                } else if (!closing && IsOneOf(name, {"script", "style", "title"}) && Html[end - 1] != '/') {
                    // Their content is never shown: skip to the end tag.
                    const std::size_t close = lower.find("</" + std::string(name), i);
                    i = close == std::string_view::npos ? n : close;
                }
                continue;
            }
            if (!closing && j < n && (Html[j] == '!' || Html[j] == '?')) {
                const std::size_t end = Html.find('>', j);
                i = end == std::string_view::npos ? n : end + 1;
                continue;
            }
            out.Visible("<");
            ++i;
        } else if (c == '&') {
            std::string text;
            const std::size_t length = DecodeReference(Html, i, true, text);
            if (length == 0) {
                out.Visible("&");
                ++i;
            } else {
                if (!text.empty())
                    out.Visible(text);
                i += length;
            }
        } else if (IsWhite(c)) {
            if (pre == 0)
                out.Space();
            else if (c == '\n')
                out.LineBreak();
            else if (c != '\r')
                out.Visible(std::string_view(&Html[i], 1));
            ++i;
        } else {
            const std::size_t start = i;
            while (i < n && Html[i] != '<' && Html[i] != '&' && !IsWhite(Html[i]))
                ++i;
            out.Visible(Html.substr(start, i - start));
        }
    }
    return out.Finish();
}

} // namespace

std::vector<std::string> HtmlTextLines(std::string_view Html) {
    return HtmlToLines(Html);
}

} // namespace quillet

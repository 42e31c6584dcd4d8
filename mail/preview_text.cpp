#include "mail/preview_text.h"

#include "mail/charset_text.h"
#include "mail/decoders.h"
#include "mail/html_text.h"
#include "mail/mail_bytes.h"
#include "util/strings.h"
#include "util/text_convert.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

namespace {

using TLines = std::vector<std::string>;

// Multipart levels below this depth are not entered: real mail nests a few levels, and every
// level costs one more pass over its lines.
constexpr int kMaxDepth = 16;

// A converted text may grow to three UTF-8 bytes per byte (one-byte sets above ASCII); a
// conversion that gives more is not used.
constexpr std::size_t kMaxGrowth = 3;

using namespace mail_bytes;

// ---- Header fields ----------------------------------------------------------------------------

// The MIME fields of one header, unfolded; the first of each name counts.
struct TMimeFields {
    std::string ContentType;
    std::string TransferEncoding;
    std::string Disposition;
    bool ContentTypeSeen = false;
    bool Mime = false; // a MIME-Version, Content-Type or Content-Transfer-Encoding field is present
};

// Reads the fields of the header in Lines[Begin, End), which ends at the first empty line.
// Returns the index of the first body line, or nothing when the header does not end in the range.
std::optional<std::size_t> ReadFields(const TLines& Lines, std::size_t Begin, std::size_t End,
                                      TMimeFields& Fields) {
    std::string* unfolding = nullptr; // the field that continuation lines belong to
    bool encodingSeen = false, dispositionSeen = false;
    for (std::size_t i = Begin; i < End; ++i) {
        std::string_view line = Lines[i];
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            return i + 1;
        if (IsBlank(line.front())) {
            if (unfolding != nullptr)
                unfolding->append(line);
            continue;
        }
        unfolding = nullptr;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string_view name = TrimBlanks(line.substr(0, colon));
        bool* seen = nullptr;
        std::string* value = nullptr;
        if (SameTextAscii(name, "Content-Type")) {
            seen = &Fields.ContentTypeSeen;
            value = &Fields.ContentType;
        } else if (SameTextAscii(name, "Content-Transfer-Encoding")) {
            seen = &encodingSeen;
            value = &Fields.TransferEncoding;
        } else if (SameTextAscii(name, "Content-Disposition")) {
            seen = &dispositionSeen;
            value = &Fields.Disposition;
        } else if (SameTextAscii(name, "MIME-Version")) {
            Fields.Mime = true;
        }
        if (seen == nullptr || *seen)
            continue;
        *seen = true;
        value->assign(line.substr(colon + 1));
        unfolding = value;
        if (value != &Fields.Disposition)
            Fields.Mime = true;
    }
    return std::nullopt;
}

// A field value without its comments in parentheses (nested, with backslash escapes); quoted
// strings are kept whole. A comment becomes one space.
std::string WithoutComments(std::string_view Value) {
    std::string out;
    out.reserve(Value.size());
    std::size_t depth = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < Value.size(); ++i) {
        const char c = Value[i];
        if (depth > 0) {
            if (c == '\\')
                ++i;
            else if (c == '(')
                ++depth;
            else if (c == ')')
                --depth;
            continue;
        }
        if (quoted) {
            out += c;
            if (c == '\\' && i + 1 < Value.size())
                out += Value[++i];
            else if (c == '"')
                quoted = false;
            continue;
        }
        if (c == '(') {
            depth = 1;
            out += ' ';
            continue;
        }
        quoted = c == '"';
        out += c;
    }
    return out;
}

// "%XX" escapes of an extended parameter value replaced by their bytes; with CharsetPrefix, the
// leading "charset'language'" is removed first.
std::string DecodeExtendedValue(std::string_view Value, bool CharsetPrefix) {
    if (CharsetPrefix) {
        const std::size_t first = Value.find('\'');
        const std::size_t second = first == std::string_view::npos ? first : Value.find('\'', first + 1);
        if (second != std::string_view::npos)
            Value.remove_prefix(second + 1);
    }
    std::string out;
    out.reserve(Value.size());
    for (std::size_t i = 0; i < Value.size(); ++i) {
        if (Value[i] == '%' && i + 2 < Value.size() && HexValue(Value[i + 1]) >= 0 &&
            HexValue(Value[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(Value[i + 1]) * 16 + HexValue(Value[i + 2]));
            i += 2;
        } else {
            out += Value[i];
        }
    }
    return out;
}

struct TContentType {
    std::string Type; // lower case; empty when the field cannot be read
    std::string Subtype;
    std::vector<std::pair<std::string, std::string>> Parameters; // names in lower case

    // The value of the parameter Name (lower case), also when it is given in extended form
    // ("name*=charset'lang'%XX") or in numbered sections ("name*0=", "name*1*="); empty when absent.
    std::string Parameter(std::string_view Name) const {
        std::map<unsigned, std::pair<bool, std::string_view>> sections;
        std::optional<std::string_view> extended;
        for (const auto& [name, value] : Parameters) {
            if (name == Name)
                return value;
            if (name.size() <= Name.size() || name.compare(0, Name.size(), Name) != 0 ||
                name[Name.size()] != '*')
                continue;
            std::string_view rest = std::string_view(name).substr(Name.size() + 1);
            if (rest.empty()) {
                if (!extended)
                    extended = value;
                continue;
            }
            const bool encoded = rest.back() == '*';
            if (encoded)
                rest.remove_suffix(1);
            if (rest.empty() || rest.size() > 3 || !std::all_of(rest.begin(), rest.end(), IsAsciiDigit))
                continue;
            unsigned number = 0;
            for (const char c : rest)
                number = number * 10 + static_cast<unsigned>(c - '0');
            sections.emplace(number, std::pair{encoded, std::string_view(value)});
        }
        if (extended)
            return DecodeExtendedValue(*extended, true);
        std::string joined;
        for (unsigned number = 0;; ++number) {
            const auto found = sections.find(number);
            if (found == sections.end())
                break;
            const auto& [encoded, value] = found->second;
            joined += encoded ? DecodeExtendedValue(value, number == 0) : std::string(value);
        }
        return joined;
    }
};

TContentType ParseContentType(std::string_view Field) {
    const std::string text = WithoutComments(Field);
    const std::size_t n = text.size();
    std::size_t i = 0;
    auto skipWhite = [&] {
        while (i < n && IsWhite(text[i]))
            ++i;
    };
    auto readUntil = [&](std::string_view stops) {
        const std::size_t from = i;
        while (i < n && !IsWhite(text[i]) && stops.find(text[i]) == std::string_view::npos)
            ++i;
        return std::string_view(text).substr(from, i - from);
    };
    TContentType result;
    skipWhite();
    const std::string_view type = readUntil("/;");
    skipWhite();
    if (i < n && text[i] == '/') {
        ++i;
        skipWhite();
        const std::string_view subtype = readUntil(";");
        if (!type.empty() && !subtype.empty()) {
            result.Type = LowerAscii(type);
            result.Subtype = LowerAscii(subtype);
        }
    }
    for (;;) {
        i = text.find(';', i);
        if (i == std::string::npos)
            break;
        ++i;
        skipWhite();
        const std::string_view name = readUntil("=;");
        skipWhite();
        if (name.empty() || i >= n || text[i] != '=')
            continue;
        ++i;
        skipWhite();
        std::string value;
        if (i < n && text[i] == '"') {
            for (++i; i < n && text[i] != '"'; ++i) {
                if (text[i] == '\\' && i + 1 < n)
                    ++i;
                value += text[i];
            }
        } else {
            value = readUntil(";");
        }
        result.Parameters.emplace_back(LowerAscii(name), std::move(value));
    }
    return result;
}

// The first word of a field value in lower case ("base64", "attachment").
std::string FirstWord(std::string_view Field) {
    const std::string text = WithoutComments(Field);
    std::string_view word = TrimControls(text);
    word = word.substr(0, word.find(';'));
    return LowerAscii(TrimControls(word));
}

// ---- Choosing the part ------------------------------------------------------------------------

enum class TEncoding { Identity, QuotedPrintable, Base64, Unknown };

TEncoding EncodingOf(std::string_view Field) {
    const std::string name = FirstWord(Field);
    if (name.empty() || name == "7bit" || name == "8bit" || name == "binary")
        return TEncoding::Identity;
    if (name == "quoted-printable")
        return TEncoding::QuotedPrintable;
    if (name == "base64")
        return TEncoding::Base64;
    return TEncoding::Unknown;
}

enum class TKind { None, Plain, Html };

// The text part to show: its body lines in the fetched lines, how they are encoded, and whether
// the fetched lines end inside it.
struct TTextPart {
    TKind Kind = TKind::None;
    std::string Charset;
    TEncoding Encoding = TEncoding::Identity;
    std::size_t Begin = 0;
    std::size_t End = 0;
    bool Cut = false; // otherwise a delimiter line ends the part
};

// A delimiter line of a multipart body: "--" and the boundary, then white space, or "--" for the
// last one.
bool IsDelimiter(std::string_view Line, std::string_view Delimiter, bool& Closing) {
    if (Line.size() < Delimiter.size() || Line.compare(0, Delimiter.size(), Delimiter) != 0)
        return false;
    const std::string_view rest = Line.substr(Delimiter.size());
    Closing = rest.substr(0, 2) == "--";
    return Closing || std::all_of(rest.begin(), rest.end(), IsWhite);
}

class TPartFinder {
public:
    explicit TPartFinder(const TLines& Body) : FBody(Body) {}

    // The text part to show of the entity with the header Fields and the body lines
    // FBody[Begin, End). InDigest: the entity is a part of a multipart/digest, where a missing
    // Content-Type means a message.
    TTextPart Find(const TMimeFields& Fields, std::size_t Begin, std::size_t End, bool Cut, bool InDigest,
                   int Depth) const {
        if (FirstWord(Fields.Disposition) == "attachment")
            return {};
        TContentType type = ParseContentType(Fields.ContentType);
        if (!Fields.ContentTypeSeen && InDigest)
            return {};
        if (type.Type.empty()) {
            type.Type = "text";
            type.Subtype = "plain";
        }
        if (type.Type == "multipart")
            return FindInMultipart(type, Begin, End, Cut, Depth);
        const TEncoding encoding = EncodingOf(Fields.TransferEncoding);
        if (type.Type != "text" || encoding == TEncoding::Unknown)
            return {};
        TTextPart part;
        if (type.Subtype == "plain")
            part.Kind = TKind::Plain;
        else if (type.Subtype == "html")
            part.Kind = TKind::Html;
        else
            return {};
        part.Charset = type.Parameter("charset");
        part.Encoding = encoding;
        part.Begin = Begin;
        part.End = End;
        part.Cut = Cut;
        return part;
    }

private:
    // The first text part of the multipart's parts; among alternatives, the first plain one, or
    // else the first HTML one.
    TTextPart FindInMultipart(const TContentType& Type, std::size_t Begin, std::size_t End, bool Cut,
                              int Depth) const {
        const std::string boundary = Type.Parameter("boundary");
        if (boundary.empty() || Depth >= kMaxDepth)
            return {};
        const std::string delimiter = "--" + boundary;
        const bool alternative = Type.Subtype == "alternative";
        const bool digest = Type.Subtype == "digest";
        TTextPart html;
        std::optional<std::size_t> partBegin; // none while in the preamble
        for (std::size_t i = Begin; i <= End; ++i) {
            const bool ranOut = i == End;
            bool closing = false;
            if (!ranOut && !IsDelimiter(FBody[i], delimiter, closing))
                continue;
            if (partBegin) {
                // A part that runs to the end of the lines is cut off where its multipart is.
                const TTextPart found = FindInPart(*partBegin, i, ranOut && Cut, digest, Depth + 1);
                if (found.Kind == TKind::Plain || (found.Kind == TKind::Html && !alternative))
                    return found;
                if (found.Kind == TKind::Html && html.Kind == TKind::None)
                    html = found;
            }
            if (ranOut || closing)
                break;
            partBegin = i + 1;
        }
        return html;
    }

    TTextPart FindInPart(std::size_t Begin, std::size_t End, bool Cut, bool InDigest, int Depth) const {
        TMimeFields fields;
        const std::optional<std::size_t> body = ReadFields(FBody, Begin, End, fields);
        if (!body)
            return {}; // the header itself is cut off
        return Find(fields, *body, End, Cut, InDigest, Depth);
    }

    const TLines& FBody;
};

// ---- Transfer encodings and character sets ----------------------------------------------------

// The bytes of base64 lines: letters outside the alphabet are skipped, "=" ends the data. A group
// of fewer than four letters at the end is decoded when the part is whole or padded, and dropped
// when the part is cut off.
std::string Base64Bytes(const TLines& Lines, std::size_t Begin, std::size_t End, bool Cut) {
    std::string letters;
    bool padded = false;
    for (std::size_t i = Begin; i < End && !padded; ++i)
        for (const char c : Lines[i]) {
            if (c == '=') {
                padded = true;
                break;
            }
            if (IsBase64Letter(c))
                letters += c;
        }
    const std::size_t rest = letters.size() % 4;
    if (rest == 1 || (rest != 0 && Cut && !padded))
        letters.resize(letters.size() - rest);
    else if (rest != 0)
        letters.append(4 - rest, '=');
    std::string bytes;
    DecodeBase64(letters, bytes);
    return bytes;
}

// The bytes of quoted-printable lines (white space that transport added at line ends removed).
// When the part is cut off, an escape broken at the very end is dropped.
std::string QuotedPrintableBytes(const TLines& Lines, std::size_t Begin, std::size_t End, bool Cut) {
    std::string text;
    for (std::size_t i = Begin; i < End; ++i) {
        std::string_view line = Lines[i];
        while (!line.empty() && (IsBlank(line.back()) || line.back() == '\r'))
            line.remove_suffix(1);
        if (i > Begin)
            text += "\r\n";
        text += line;
    }
    const std::size_t n = text.size();
    if (Cut && n >= 2 && text[n - 2] == '=' && HexValue(text[n - 1]) >= 0)
        text.resize(n - 2);
    return DecodeQuotedPrintable(text); // a final "=" goes too
}

// The number of bytes at the end of Text that begin a UTF-8 character without finishing it.
std::size_t BrokenUtf8Tail(std::string_view Text) {
    for (std::size_t back = 1; back <= 4 && back <= Text.size(); ++back) {
        const auto c = static_cast<unsigned char>(Text[Text.size() - back]);
        if ((c & 0xC0) == 0x80)
            continue; // a continuation byte: look further back for the lead byte
        const std::size_t length = (c & 0xE0) == 0xC0   ? 2
                                   : (c & 0xF0) == 0xE0 ? 3
                                   : (c & 0xF8) == 0xF0 ? 4
                                                        : 1;
        return length > back ? back : 0;
    }
    return 0;
}

class TTextDecoder {
public:
    // The UTF-8 form of Bytes read in Charset. An unknown or missing character set, or bytes that
    // are not valid in it, give each line as UTF-8 or, where it is not, as Windows-1252. When Cut,
    // a character broken at the end is dropped.
    std::string ToUtf8(std::string_view Charset, std::string_view Bytes, bool Cut) {
        if (!Charset.empty()) {
            for (std::size_t drop = 0; drop <= (Cut ? 3u : 0u) && drop <= Bytes.size(); ++drop) {
                const std::string_view kept = Bytes.substr(0, Bytes.size() - drop);
                if (std::optional<std::string> text = FConverter.ToUtf8(Charset, kept)) {
                    if (text->size() <= kMaxGrowth * kept.size())
                        return std::move(*text);
                    break;
                }
                if (drop == 0 && AllAscii(Bytes))
                    break; // ASCII in a set that extends ASCII: the bytes stay
            }
        }
        if (Cut) {
            // (rfind gives npos for a single line, and npos + 1 is 0.)
            const std::string_view lastLine = Bytes.substr(Bytes.rfind('\n') + 1);
            const std::size_t broken = BrokenUtf8Tail(lastLine);
            if (broken > 0 && IsUtf8(lastLine.substr(0, lastLine.size() - broken)))
                Bytes.remove_suffix(broken);
        }
        std::string text;
        text.reserve(Bytes.size());
        for (std::size_t from = 0; from <= Bytes.size();) {
            const std::size_t end = std::min(Bytes.find('\n', from), Bytes.size());
            text += FromQString(ToQString(Bytes.substr(from, end - from)));
            if (end < Bytes.size())
                text += '\n';
            from = end + 1;
        }
        return text;
    }

private:
    bool IsUtf8(std::string_view Bytes) { return AllAscii(Bytes) || FConverter.ToUtf8("utf-8", Bytes); }

    TCharsetConverter FConverter;
};

// ---- The preview ------------------------------------------------------------------------------

TLines PartLines(const TLines& Body, const TTextPart& Part, TTextDecoder& Decoder) {
    TLines lines;
    if (Part.Encoding == TEncoding::Identity) {
        // The line break before a delimiter line belongs to the delimiter: an empty last line
        // of a part that a delimiter ends is no line of the text.
        std::size_t end = Part.End;
        if (!Part.Cut && end > Part.Begin && (Body[end - 1].empty() || Body[end - 1] == "\r"))
            --end;
        // Fetched lines are whole, so no character is broken at the end of one.
        lines.reserve(end - Part.Begin);
        for (std::size_t i = Part.Begin; i < end; ++i)
            lines.push_back(Decoder.ToUtf8(Part.Charset, Body[i], false));
    } else {
        const std::string bytes = Part.Encoding == TEncoding::Base64
                                      ? Base64Bytes(Body, Part.Begin, Part.End, Part.Cut)
                                      : QuotedPrintableBytes(Body, Part.Begin, Part.End, Part.Cut);
        lines = SplitTextLines(Decoder.ToUtf8(Part.Charset, bytes, Part.Cut));
    }
    if (Part.Kind != TKind::Html)
        return lines;
    std::string html;
    for (const std::string& line : lines) {
        html += line;
        html += '\n';
    }
    lines.clear();
    return HtmlTextLines(html);
}

} // namespace

TPreview PreviewText(const std::vector<std::string>& HeaderLines, const std::vector<std::string>& BodyLines) {
    TPreview preview;
    TMimeFields fields;
    ReadFields(HeaderLines, 0, HeaderLines.size(), fields);
    TTextDecoder decoder;
    if (!fields.Mime) {
        preview.Decoded = true;
        preview.Lines.reserve(BodyLines.size());
        for (const std::string& line : BodyLines)
            preview.Lines.push_back(decoder.ToUtf8({}, line, false));
        return preview;
    }
    // The fetched lines may stop anywhere: the message counts as cut off at their end.
    const TTextPart part = TPartFinder(BodyLines).Find(fields, 0, BodyLines.size(), true, false, 0);
    if (part.Kind == TKind::None) {
        preview.Lines = BodyLines;
        return preview;
    }
    preview.Lines = PartLines(BodyLines, part, decoder);
    preview.Decoded = true;
    return preview;
}

} // namespace quillet

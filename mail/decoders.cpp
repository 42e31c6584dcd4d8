#include "mail/decoders.h"

#include "mail/mail_format_error.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace quillet {

namespace {

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return 0;
}

int UpperHexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

} // namespace

int DecodeBase64(std::string_view Text, std::string& Output) {
    Output.clear();
    Output.reserve(Text.size() / 4 * 3);
    for (std::size_t i = 0; i + 4 <= Text.size(); i += 4) {
        if (Text[i] == '=')
            continue;
        const int first = Base64Value(Text[i]);
        const int second = Base64Value(Text[i + 1]);
        const int third = Base64Value(Text[i + 2]);
        const int fourth = Base64Value(Text[i + 3]);
        Output += static_cast<char>((first * 4 + second / 16) & 0xFF);
        if (Text[i + 2] == '=')
            continue;
        Output += static_cast<char>(((second % 16) * 16 + third / 4) & 0xFF);
        if (Text[i + 3] == '=')
            continue;
        Output += static_cast<char>(((third % 4) * 64 + fourth) & 0xFF);
    }
    return static_cast<int>(Output.size());
}

void DecodeQuotedPrintableInto(std::string_view Text, std::string& Output, bool UnderscoreIsSpace) {
    Output.clear();
    Output.reserve(Text.size());
    // Literal text goes over as it is, "_" read as a space when asked; decoded bytes never are.
    auto appendLiteral = [&](std::string_view run) {
        const std::size_t from = Output.size();
        Output.append(run);
        if (!UnderscoreIsSpace)
            return;
        for (std::size_t at = Output.find('_', from); at != std::string::npos; at = Output.find('_', at + 1))
            Output[at] = ' ';
    };
    std::size_t i = 0;
    while (i < Text.size()) {
        const std::size_t mark = Text.find('=', i);
        if (mark == std::string_view::npos) {
            appendLiteral(Text.substr(i));
            break;
        }
        appendLiteral(Text.substr(i, mark - i));
        i = mark;
        const std::size_t following = Text.size() - i - 1;
        if (following == 0)
            break; // a final "=" is dropped
        if (following == 1) {
            appendLiteral(Text.substr(i)); // "=" and its one character stay; nothing more to scan
            break;
        }
        const char a = Text[i + 1];
        const char b = Text[i + 2];
        const int high = UpperHexValue(a);
        const int low = UpperHexValue(b);
        if (high >= 0 && low >= 0) {
            Output += static_cast<char>(high * 16 + low);
            i += 3;
        } else if (IsLineEnd(a) && IsLineEnd(b) && a != b) {
            i += 3; // soft line break over CR LF or LF CR
        } else if (IsLineEnd(a)) {
            i += 2; // soft line break over a lone CR or LF
        } else {
            Output += '=';
            ++i;
        }
    }
}

std::string DecodeQuotedPrintable(std::string_view Text) {
    std::string out;
    DecodeQuotedPrintableInto(Text, out, false);
    return out;
}

int UUValue(char C) {
    const auto code = static_cast<unsigned char>(C);
    if (code == ' ' || code == '`')
        return 0;
    if (code >= 33 && code <= 95)
        return code - 32;
    RaiseMailFormatError(kUUCodeFormatErrorText);
}

int DecodeUULine(std::string_view Line, std::string& Output) {
    Output.clear();
    if (Line.empty())
        return 0;
    const int announced = std::min(UUValue(Line[0]), 45);
    const std::string_view encoded = Line.substr(1, std::min<std::size_t>(Line.size() - 1, 60));
    std::uint32_t bits = 0;
    int bitCount = 0;
    for (const char c : encoded) {
        bits = (bits << 6) | static_cast<std::uint32_t>(UUValue(c));
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            if (static_cast<int>(Output.size()) < announced)
                Output += static_cast<char>((bits >> bitCount) & 0xFF);
        }
        bits &= (1u << bitCount) - 1;
    }
    // Bits beyond the encoded characters read as zeros.
    if (static_cast<int>(Output.size()) < announced && bitCount > 0)
        Output += static_cast<char>((bits << (8 - bitCount)) & 0xFF);
    Output.resize(static_cast<std::size_t>(announced), '\0');
    return announced;
}

} // namespace quillet

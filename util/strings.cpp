#include "util/strings.h"

#include <algorithm>
#include <limits>

namespace quillet {

namespace {

bool IsIn(char c, std::string_view set) {
    return set.find(c) != std::string_view::npos;
}

template <typename TTrimmed> std::string_view TrimBy(std::string_view S, TTrimmed Trimmed) {
    while (!S.empty() && Trimmed(S.front()))
        S.remove_prefix(1);
    while (!S.empty() && Trimmed(S.back()))
        S.remove_suffix(1);
    return S;
}

int Len(std::string_view s) {
    return static_cast<int>(s.size());
}

} // namespace

char AsciiUpper(char C) {
    return (C >= 'a' && C <= 'z') ? static_cast<char>(C - 'a' + 'A') : C;
}

char AsciiLower(char C) {
    return (C >= 'A' && C <= 'Z') ? static_cast<char>(C - 'A' + 'a') : C;
}

bool SameTextAscii(std::string_view A, std::string_view B) {
    if (A.size() != B.size())
        return false;
    for (std::size_t i = 0; i < A.size(); ++i)
        if (AsciiLower(A[i]) != AsciiLower(B[i]))
            return false;
    return true;
}

std::string_view TrimSpaces(std::string_view S) {
    return TrimBy(S, [](char c) { return c == ' '; });
}

std::string_view TrimBlanks(std::string_view S) {
    return TrimBy(S, [](char c) { return c == ' ' || c == '\t'; });
}

std::string_view TrimControls(std::string_view S) {
    return TrimBy(S, [](char c) { return static_cast<unsigned char>(c) <= 32; });
}

std::string TrimSpace(std::string_view Text) {
    return std::string(TrimSpaces(Text));
}

std::optional<std::int32_t> ParseSignedDecimal(std::string_view S) {
    bool negative = false;
    if (!S.empty() && (S.front() == '+' || S.front() == '-')) {
        negative = S.front() == '-';
        S.remove_prefix(1);
    }
    if (S.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : S) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ParseSpaceLedDecimal(std::string_view S) {
    const auto first = S.find_first_not_of(' ');
    return ParseSignedDecimal(first == std::string_view::npos ? std::string_view{} : S.substr(first));
}

bool StartsWithText(std::string_view S, std::string_view P) {
    if (P.empty() || P.size() > S.size())
        return false;
    for (std::size_t i = 0; i < P.size(); ++i)
        if (AsciiUpper(S[i]) != AsciiUpper(P[i]))
            return false;
    return true;
}

std::string NextToken(std::string_view S, int& Pos, std::string_view Delims) {
    if (Pos <= 0 || Pos > Len(S))
        return {};
    int i = Pos; // 1-based
    while (i <= Len(S) && IsIn(S[i - 1], Delims))
        ++i;
    const int start = i;
    while (i <= Len(S) && !IsIn(S[i - 1], Delims))
        ++i;
    Pos = i;
    return std::string(S.substr(start - 1, i - start));
}

std::string FindMarkedText(std::string_view S, std::string_view Marker, std::string_view EndChars, int& Pos) {
    if (Pos <= 0)
        Pos = 1;
    const std::size_t from = static_cast<std::size_t>(Pos - 1);
    const std::size_t f = from <= S.size() ? S.find(Marker, from) : std::string_view::npos;
    if (f == std::string_view::npos) {
        Pos = 0;
        return {};
    }
    std::size_t e = f + Marker.size();
    if (!EndChars.empty())
        while (e < S.size() && !IsIn(S[e], EndChars))
            ++e;
    else
        e = S.size();
    Pos = static_cast<int>(f) + 1;
    return std::string(S.substr(f, e - f));
}

std::string ValueAfter(std::string_view S, std::string_view Marker, std::string_view EndChars) {
    int pos = 1;
    std::string found = FindMarkedText(S, Marker, EndChars, pos);
    if (found.empty())
        return {};
    return found.substr(Marker.size());
}

std::int32_t StrToIntSafe(std::string_view S) {
    return ParseSignedDecimal(TrimControls(S)).value_or(0);
}

std::string TakeLeft(std::string_view S, int N) {
    if (N <= 0)
        return {};
    return std::string(S.substr(0, static_cast<std::size_t>(N)));
}

std::string TakeRight(std::string_view S, int N) {
    if (N <= 0 || Len(S) < N)
        return {};
    return std::string(S.substr(S.size() - static_cast<std::size_t>(N)));
}

std::string DropRight(std::string_view S, int N) {
    if (N <= 0)
        return std::string(S);
    if (N < Len(S))
        return std::string(S.substr(0, S.size() - static_cast<std::size_t>(N)));
    return {};
}

std::string PadLeftWith(std::string_view S, int Width, char C) {
    if (Len(S) >= Width)
        return std::string(S);
    return std::string(static_cast<std::size_t>(Width - Len(S)), C) + std::string(S);
}

std::string TrimRightChar(std::string_view S, char C) {
    while (!S.empty() && S.back() == C)
        S.remove_suffix(1);
    return std::string(S);
}

std::string AppendPathPart(std::string_view Folder, std::string_view Name) {
    std::string result(Folder);
    // A folder that already ends in a separator gets none; a forward slash counts as one too, so
    // that a program folder given in the form of the platform's paths joins correctly.
    if (result.empty() || (result.back() != '\\' && result.back() != '/'))
        result += '\\';
    result += Name;
    return result;
}

std::string ByteSumHex(std::string_view S) {
    unsigned sum = 0;
    for (char c : S)
        sum += static_cast<unsigned char>(c);
    static const char digits[] = "0123456789ABCDEF";
    sum &= 0xFF;
    return {digits[sum >> 4], digits[sum & 0xF]};
}

std::string LinesChecksum(const std::vector<std::string>& L, int From) {
    std::string result;
    if (From < 0)
        From = 0;
    for (std::size_t i = static_cast<std::size_t>(From); i < L.size(); ++i)
        result += ByteSumHex(L[i]);
    return result;
}

int PosFrom(std::string_view Sub, std::string_view S, int Start) {
    if (Start < 1 || Sub.empty() || Start > Len(S))
        return 0;
    const std::size_t f = S.find(Sub, static_cast<std::size_t>(Start - 1));
    return f == std::string_view::npos ? 0 : static_cast<int>(f) + 1;
}

std::vector<std::string> SplitTextLines(std::string_view Text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < Text.size()) {
        const char c = Text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(Text.substr(start, i - start));
            ++i;
            if (c == '\r' && i < Text.size() && Text[i] == '\n')
                ++i;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < Text.size())
        lines.emplace_back(Text.substr(start));
    return lines;
}

std::string JoinTextLines(const std::vector<std::string>& Lines) {
    std::string text;
    for (const auto& line : Lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::size_t TerminatedLength(std::string_view Received, std::string_view Terminator, std::size_t SearchFrom) {
    if (Terminator.empty())
        return Received.size();
    const std::size_t at = Received.find(Terminator, std::min(SearchFrom, Received.size()));
    return at == std::string_view::npos ? 0 : at + Terminator.size();
}

} // namespace quillet

// Small shared text functions. All work on 8-bit text (std::string holds bytes), positions
// are 1-based and lengths count bytes. None keeps state between calls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The value of one hexadecimal digit (either case), -1 for any other byte.
inline int HexDigitValue(char C) {
    if (C >= '0' && C <= '9')
        return C - '0';
    if (C >= 'A' && C <= 'F')
        return C - 'A' + 10;
    if (C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    return -1;
}

// Upper and lower case of ASCII letters only; every other byte stays as it is. Our text is
// UTF-8, where a per-byte locale case mapping would damage multi-byte characters.
char AsciiUpper(char C);
char AsciiLower(char C);
// True when A and B are equal with ASCII letters compared without regard to case.
bool SameTextAscii(std::string_view A, std::string_view B);

// Trimming at both ends: TrimSpaces removes spaces, TrimBlanks spaces and tabs,
// TrimControls every byte with a code from 0 to 32.
std::string_view TrimSpaces(std::string_view S);
std::string_view TrimBlanks(std::string_view S);
std::string_view TrimControls(std::string_view S);
// TrimSpaces as a text of its own: spaces (code 32) only; tabs and other control characters stay.
std::string TrimSpace(std::string_view Text);

// Decimal integers. ParseSignedDecimal accepts one optional "+" or "-" followed by decimal
// digits and nothing else (no blanks), within the 32-bit range; anything else gives no value.
std::optional<std::int32_t> ParseSignedDecimal(std::string_view S);
// ParseSignedDecimal after any leading spaces (the form of numbers in server replies).
std::optional<std::int32_t> ParseSpaceLedDecimal(std::string_view S);

// True when P (non-empty) starts S, ignoring letter case.
bool StartsWithText(std::string_view S, std::string_view P);

// Skips delimiters from Pos, returns the run up to the next delimiter; Pos ends on that
// delimiter (or Length(S) + 1). Pos <= 0 or past the end: empty result, Pos unchanged.
std::string NextToken(std::string_view S, int& Pos, std::string_view Delims);

// Finds Marker from Pos and returns it with what follows up to a character of EndChars.
// Pos becomes the marker's position, or 0 when it is not found.
std::string FindMarkedText(std::string_view S, std::string_view Marker, std::string_view EndChars, int& Pos);

// The text after the first Marker in S, up to a character of EndChars.
std::string ValueAfter(std::string_view S, std::string_view Marker, std::string_view EndChars);

// ParseSignedDecimal of S after TrimControls; 0 for anything invalid.
std::int32_t StrToIntSafe(std::string_view S);

std::string TakeLeft(std::string_view S, int N);
// Empty when S is shorter than N.
std::string TakeRight(std::string_view S, int N);
// Empty unless N < Length(S).
std::string DropRight(std::string_view S, int N);
std::string PadLeftWith(std::string_view S, int Width, char C);
std::string TrimRightChar(std::string_view S, char C);
// Joins with a backslash between the parts unless Folder already ends with one (or with "/").
std::string AppendPathPart(std::string_view Folder, std::string_view Name);

// Sum of the bytes modulo 256 as two upper-case hexadecimal digits.
std::string ByteSumHex(std::string_view S);
// ByteSumHex of every line from the 0-based index From on, concatenated.
std::string LinesChecksum(const std::vector<std::string>& L, int From);

// 1-based position of Sub in S at or after Start; 0 when absent.
int PosFrom(std::string_view Sub, std::string_view S, int Start);

// The length of the text at the start of Received that Terminator ends (its first occurrence,
// searched from SearchFrom on); 0 while it has not arrived. An empty Terminator takes all of
// Received.
std::size_t TerminatedLength(std::string_view Received, std::string_view Terminator,
                             std::size_t SearchFrom = 0);

// Splits text into lines the way a line list takes a whole text: CR LF, LF and a lone CR
// each end a line; a final line ending does not add an empty line.
std::vector<std::string> SplitTextLines(std::string_view Text);
// Joins lines with CR LF after every line.
std::string JoinTextLines(const std::vector<std::string>& Lines);

} // namespace quillet

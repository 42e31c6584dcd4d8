// Decoders for the transfer encodings of encoded header words: base64, quoted-printable and one
// uuencoded line. Pure functions on 8-bit text; none reads outside its input.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// Decodes base64 four characters at a time into Output (replacing its content) and returns the
// number of bytes written. A quartet whose third character is "=" gives one byte, one whose
// fourth only is "=" gives two, others three; characters after the last whole quartet are
// ignored. Characters outside the alphabet count as 0 and a quartet starting with "=" gives
// nothing.
int DecodeBase64(std::string_view Text, std::string& Output);

// Replaces "=XX" escapes (upper-case hexadecimal only) by their byte and removes soft line
// breaks ("=" before CR LF, LF CR, CR or LF). A decoded byte is never examined again. An "="
// ending the text is dropped; any other "=" stays.
std::string DecodeQuotedPrintable(std::string_view Text);

// The same into Output (replacing its content, keeping its capacity). With UnderscoreIsSpace
// every "_" of Text reads as a space, as in Q encoded words ("=5F" still gives "_").
void DecodeQuotedPrintableInto(std::string_view Text, std::string& Output, bool UnderscoreIsSpace);

// The 6-bit value of a uuencode character: space and "`" are 0, "!" to "_" their code minus 32.
// Any other character raises EMailFormatError("UUCODE message format error").
int UUValue(char C);

// Decodes one uuencoded line into Output (replacing its content) and returns the number of bytes
// written: the count that the first character announces, at most 45, with missing bits read as
// zeros. Only the first 60 characters after the count character are read.
int DecodeUULine(std::string_view Line, std::string& Output);

} // namespace quillet

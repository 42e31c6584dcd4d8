// Decoding of the encoded words of a header value ("=?charset?B?...?=", with the encodings B
// for base64, Q for quoted-printable and U for one uuencoded line).
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// Trims the text of spaces, then replaces every encoded word, from the first, by its decoded
// text converted from the named character set to UTF-8 (the bytes stay as they are when the set
// is unknown or they are not valid in it). Decoded text is examined again, so a word that a
// decoding produces is decoded too. A malformed word ends decoding: it and everything after it
// stay. Blanks between adjacent words stay. A U word with a character outside the uuencode set
// raises EMailFormatError("UUCODE message format error").
//
// Cost is linear in the length of the text and of all the decoded texts; conversion to UTF-8
// never lets the working text grow beyond a few times the input.
std::string DecodeEncodedWords(std::string_view Text);

} // namespace quillet

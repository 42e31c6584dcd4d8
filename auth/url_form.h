// The form encoding of OAuth 2.0 messages (application/x-www-form-urlencoded, RFC 6749
// appendix B): how a value is written into a query or a token request, and read back.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

using TFormFields = std::vector<std::pair<std::string, std::string>>;

// Every byte but the unreserved characters (letters, digits, "-", ".", "_", "~") as %XX, so that
// no value can be read as a separator ("&", "=", "+") or change meaning when it is decoded.
std::string FormEncode(std::string_view Value);

// "%XX" as its byte and "+" as a space; a "%" not followed by two hexadecimal digits stays as it is.
std::string FormDecode(std::string_view Value);

// "name=value&name=value", each name and value encoded.
std::string FormBody(const TFormFields& Fields);

} // namespace quillet

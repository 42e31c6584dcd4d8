#include "auth/url_form.h"

#include "util/strings.h"

namespace quillet {

namespace {

bool Unreserved(unsigned char C) {
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || (C >= '0' && C <= '9') || C == '-' ||
           C == '.' || C == '_' || C == '~';
}

} // namespace

std::string FormEncode(std::string_view Value) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string out;
    out.reserve(Value.size());
    for (const char c : Value) {
        const auto byte = static_cast<unsigned char>(c);
        if (Unreserved(byte)) {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return out;
}

std::string FormDecode(std::string_view Value) {
    std::string out;
    out.reserve(Value.size());
    for (std::size_t i = 0; i < Value.size(); ++i) {
        const char c = Value[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%' && i + 2 < Value.size() && HexDigitValue(Value[i + 1]) >= 0 &&
                   HexDigitValue(Value[i + 2]) >= 0) {
            out += static_cast<char>(HexDigitValue(Value[i + 1]) * 16 + HexDigitValue(Value[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

std::string FormBody(const TFormFields& Fields) {
    std::string body;
    for (const auto& [name, value] : Fields) {
        if (!body.empty())
            body += '&';
        body += FormEncode(name) + '=' + FormEncode(value);
    }
    return body;
}

} // namespace quillet

// Encoded-word decoding of any header value: no crash, bounded output, and the same result as
// a plain step-by-step decoding that replaces one word at a time and searches again from the
// start of the text.
#include "mail/charset_text.h"
#include "mail/decoders.h"
#include "mail/encoded_words.h"
#include "mail/field_value.h"
#include "mail/mail_format_error.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

std::string StepByStep(std::string_view input) {
    std::string text = quillet::TrimSpace(input);
    const std::size_t limit = 3 * text.size() + 1024;
    quillet::TCharsetConverter converter;
    for (;;) {
        const std::size_t p = text.find("=?");
        if (p == std::string::npos)
            break;
        const std::size_t q1 = text.find('?', p + 2);
        if (q1 == std::string::npos)
            break;
        std::size_t q2 = text.find("?=", q1 + 1);
        if (q2 == std::string::npos)
            break;
        const std::size_t q3 = text.find('?', q2 + 1);
        if (q3 != std::string::npos && q3 + 1 < text.size() && text[q3 + 1] == '=')
            q2 = q3;
        const std::string inner = text.substr(q1 + 1, q2 - q1 - 1);
        char encoding = 'Q';
        if (inner.size() >= 2 && inner[1] == '?' && (inner[0] == 'B' || inner[0] == 'b'))
            encoding = 'B';
        if (inner.size() >= 2 && inner[1] == '?' && (inner[0] == 'U' || inner[0] == 'u'))
            encoding = 'U';
        const std::string encoded = inner.size() >= 2 ? inner.substr(2) : std::string();
        std::string decoded;
        if (encoding == 'Q') {
            std::string spaced = encoded;
            for (char& c : spaced)
                if (c == '_')
                    c = ' ';
            decoded = quillet::DecodeQuotedPrintable(spaced);
        } else {
            if (encoding == 'B')
                quillet::DecodeBase64(encoded, decoded);
            else
                quillet::DecodeUULine(encoded, decoded);
            decoded = decoded.substr(0, decoded.find('\0'));
        }
        const std::size_t wordLength = q2 + 2 - p;
        const auto utf8 = converter.ToUtf8(std::string_view(text).substr(p + 2, q1 - p - 2), decoded);
        if (utf8 && text.size() - wordLength + utf8->size() <= limit)
            decoded = *utf8;
        text.replace(p, wordLength, decoded);
    }
    return text;
}

std::optional<std::string> Guarded(std::string (*decode)(std::string_view), std::string_view text) {
    try {
        return decode(text);
    } catch (const quillet::EMailFormatError&) {
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto decoded = Guarded(quillet::DecodeEncodedWords, text);
    if (decoded && decoded->size() > 3 * size + 1024)
        std::abort();
    if (size <= 4096 && decoded != Guarded(StepByStep, text))
        std::abort();
    return 0;
}

// Encoded-word decoding of any header value: no crash, no read outside the text, bounded output.
#include "mail/encoded_words.h"
#include "mail/mail_format_error.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const std::string decoded = quillet::DecodeEncodedWords(text);
        if (decoded.size() > 3 * size + 1024)
            std::abort();
    } catch (const quillet::TMailFormatError&) {
    }
    return 0;
}

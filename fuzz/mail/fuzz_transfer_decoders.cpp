// Base64, quoted-printable and uuencode decoding; the first byte picks the decoder.
#include "mail/decoders.h"
#include "mail/mail_format_error.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string out;
    switch (data[0] % 3) {
    case 0:
        if (quillet::DecodeBase64(text, out) != static_cast<int>(out.size()) ||
            out.size() > text.size() / 4 * 3)
            std::abort();
        break;
    case 1:
        if (quillet::DecodeQuotedPrintable(text).size() > text.size())
            std::abort();
        break;
    default:
        try {
            if (quillet::DecodeUULine(text, out) != static_cast<int>(out.size()) || out.size() > 45)
                std::abort();
        } catch (const quillet::EMailFormatError&) {
        }
        break;
    }
    return 0;
}

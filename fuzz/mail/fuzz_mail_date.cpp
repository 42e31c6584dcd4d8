// Reading any Date value: a finite date-time or the no-month error, nothing else.
#include "mail/mail_date.h"
#include "mail/mail_format_error.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        static const QTimeZone zone("Europe/Berlin");
        if (!std::isfinite(quillet::ParseMailDateIn(text, zone)))
            std::abort();
    } catch (const quillet::EMailFormatError&) {
    }
    return 0;
}

// The file of the mails already announced, of any bytes (damaged, cut short, edited by hand):
// reading never fails, and what was read is written and read back unchanged.
#include "settings/seen_mail_file.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string_view text(reinterpret_cast<const char*>(Data), Size);
    const quillet::TSeenMail seen = quillet::ParseSeenMail(text);
    if (quillet::ParseSeenMail(quillet::SeenMailText(seen)) != seen)
        std::abort();
    return 0;
}

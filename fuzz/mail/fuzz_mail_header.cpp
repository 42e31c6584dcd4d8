// A whole fetched text loaded into the message object, then every getter the check reads:
// sender, the three recipient lists, subject, date and Message-ID.
#include "mail/mail_format_error.h"
#include "mail/mail_message.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void ReadRecipients(const quillet::TMailRecipients& list) {
    const int count = list.Count();
    for (int i = 0; i < count; ++i)
        if (list.Names(i).size() > (1u << 24) || list.Addresses(i).size() > (1u << 24))
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static quillet::TMailMessage msg;
    msg.Reset();
    msg.SetHeaderText(std::string_view(reinterpret_cast<const char*>(data), size));
    auto guarded = [](auto&& read) {
        try {
            read();
        } catch (const quillet::EMailFormatError&) {
        }
    };
    guarded([] { (void)msg.SenderName(); });
    guarded([] { (void)msg.SenderAddress(); });
    guarded([] { (void)msg.NameAt("To", 1); });
    guarded([] { (void)msg.AddressAt("To", 1); });
    guarded([] { ReadRecipients(msg.ToRecipients); });
    guarded([] { ReadRecipients(msg.CcRecipients); });
    guarded([] { ReadRecipients(msg.BccRecipients); });
    guarded([] { (void)msg.SubjectText(); });
    guarded([] { (void)msg.SentDate(); });
    (void)msg.MessageId();
    return 0;
}

// Feeds any bytes to the demo server's reading of client lines: each line through the command
// parser and then through a session on a copy of the demo mailbox. No line may crash either;
// every reply must be one status line, or a status line and a listing ended by "." on its own;
// a parsed command never carries a negative number.
#include "demo/demo_command.h"
#include "demo/demo_mailbox.h"
#include "demo/demo_pop3_session.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

const quillet::TDemoMailbox& Mailbox() {
    static const quillet::TDemoMailbox mailbox(quillet::TDemoMailbox::DefaultSeed,
                                               QDateTime(QDate(2024, 3, 12), QTime(9, 30), Qt::UTC));
    return mailbox;
}

bool WellFormed(std::string_view Reply) {
    if (!Reply.starts_with("+OK") && !Reply.starts_with("-ERR"))
        return false;
    if (!Reply.ends_with("\r\n"))
        return false;
    const std::size_t firstEnd = Reply.find("\r\n");
    return firstEnd + 2 == Reply.size() || Reply.ends_with("\r\n.\r\n");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string_view input(reinterpret_cast<const char*>(Data), Size);
    quillet::TDemoMailbox mailbox = Mailbox();
    quillet::TDemoPop3Session session(mailbox, "demo", "demo");
    std::size_t start = 0;
    while (start < input.size() && !session.Ended()) {
        std::size_t end = input.find('\n', start);
        if (end == std::string_view::npos)
            end = input.size();
        std::string_view line = input.substr(start, end - start);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        start = end + 1;

        const quillet::TDemoCommand command = quillet::ParseDemoCommand(line);
        if (command.Message < 0 || command.Lines < 0)
            std::abort();
        if (command.Verb == quillet::TDemoVerb::Unknown && command.Error.empty())
            std::abort();
        if (!WellFormed(session.Reply(line)))
            std::abort();
    }
    if (mailbox.Messages().size() > Mailbox().Messages().size())
        std::abort();
    return 0;
}

// Feeds any bytes to the POP3 client's reply parsing as a server could send them: the reply framing,
// the capability list, the listing parse and its numbering rule, the TOP text and the numeric-host rule, the
// SASL mechanisms and the error challenge of an OAuth log-in. None may crash, a listing may never size the
// table of message sizes past its bound, and what a challenge says is one short line.
#include "mail/oauth_sasl.h"
#include "mail/pop3_text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string_view reply(reinterpret_cast<const char*>(Data), Size);
    std::int32_t count = -1;
    std::vector<std::int32_t> sizes;
    bool parsed = true;
    try {
        quillet::ParseListing(reply, count, sizes);
    } catch (const quillet::EConvertError&) {
        parsed = false;
    }
    // A listing whose numbers run 1..n is the only kind a check works from: then the table has
    // exactly one size per listed line.
    if (parsed && quillet::ListingNumbersProblem(reply).empty() && count > 0 &&
        sizes.size() != static_cast<std::size_t>(count) + 1)
        std::abort();
    if (sizes.size() > static_cast<std::size_t>(quillet::MaxMessageNumber) + 1)
        std::abort();
    if (!sizes.empty() && sizes[0] != 0)
        std::abort();
    // Framing: the reply found must lie within what arrived, and searching from any later point
    // (as a reply split across reads is searched) must never find one that ends earlier.
    for (const bool multiLine : {false, true}) {
        const std::size_t whole = quillet::Pop3ReplyLength(reply, multiLine);
        if (whole > reply.size())
            std::abort();
        const std::size_t from = Size / 2;
        const std::size_t later = quillet::Pop3ReplyLength(reply, multiLine, from);
        if (later != 0 && whole != 0 && later < whole)
            std::abort();
    }
    quillet::TopTextFromReply(reply);
    for (const std::string& capability : quillet::ParseCapabilities(reply))
        if (capability.empty() || capability.find(' ') != std::string::npos)
            std::abort();
    for (const std::string& mechanism : quillet::SaslMechanisms(reply))
        if (mechanism.empty() || mechanism.find_first_of(" \t") != std::string::npos)
            std::abort();
    const quillet::TSaslChallenge challenge = quillet::ReadSaslChallenge(reply);
    if (challenge.Text.size() > 220 || challenge.Text.find_first_of("\r\n") != std::string::npos ||
        (challenge.Empty && !challenge.IsContinuation))
        std::abort();
    quillet::IsNumericHost(reply);
    quillet::IsSafeArgument(reply);
    return 0;
}

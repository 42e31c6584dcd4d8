// Feeds any bytes to the reading of a token endpoint's answer, as a server (or whatever answers
// in its place) could send them, under the usual statuses. None may crash; a grant always holds a
// usable bearer token and says nothing went wrong, and anything else says why.
#include "auth/token_messages.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string_view body(reinterpret_cast<const char*>(Data), Size);
    for (const int status : {200, 400, 401, 500}) {
        const quillet::TTokenReply reply = quillet::ParseTokenReply(status, body);
        if (reply.Outcome == quillet::TTokenOutcome::Granted) {
            if (!quillet::IsTokenText(reply.AccessToken) || !reply.Why.empty() || status != 200)
                std::abort();
            if (!reply.RefreshToken.empty() && !quillet::IsTokenText(reply.RefreshToken))
                std::abort();
        } else if (reply.Why.empty() || !reply.AccessToken.empty()) {
            std::abort();
        }
        if (reply.Why.find_first_of("\r\n") != std::string::npos)
            std::abort();
    }
    return 0;
}

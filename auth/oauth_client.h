// Where a desktop program gets OAuth 2.0 tokens for one account: the provider's authorization
// and token endpoints, the client id the user registered with the provider (and the client
// secret some providers issue to desktop programs, which is not confidential there), and the
// scope asked for.
#pragma once

#include <string>

namespace quillet {

struct TOAuthClient {
    std::string AuthorizeUrl;
    std::string TokenUrl;
    std::string ClientId;
    std::string ClientSecret; // empty for a public client: then none is sent
    std::string Scope;
};

} // namespace quillet

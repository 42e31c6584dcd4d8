// The OAuth 2.0 providers the account editor knows: their authorization and token endpoints,
// the scope that gives POP3 access with a refresh token, and their POP3 server. Anything else
// is "Other", typed in by hand.
#pragma once

#include "model/account.h"

#include <string>
#include <vector>

namespace quillet {

struct TOAuthPreset {
    std::string Name; // as the editor lists it (translated)
    std::string AuthorizeUrl;
    std::string TokenUrl;
    std::string Scope;
    std::string Host; // the provider's POP3 server (port 995, SSL/TLS)
};

// Microsoft (personal), Microsoft (work or school), Google, in this order.
std::vector<TOAuthPreset> OAuthPresets();

// The preset whose endpoints Settings has, or -1 ("Other").
int PresetIndexOf(const TOAuthSettings& Settings);

} // namespace quillet

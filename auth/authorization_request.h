// The browser's side of a desktop sign-in (RFC 8252, RFC 6749 section 4.1, RFC 7636): the
// redirect address of the one-shot loopback listener, the authorization page's address, and which
// endpoint addresses a sign-in may use at all.
#pragma once

#include "auth/oauth_client.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

// "http://localhost:PORT": the redirect address that providers match against a registered
// "http://localhost" whatever the port (the listener itself takes 127.0.0.1 only).
std::string LoopbackRedirectUri(std::uint16_t Port);

// The authorization page for a code grant with PKCE (S256): the client's AuthorizeUrl with
// response_type, client_id, redirect_uri, scope, state, code_challenge, code_challenge_method
// and, when LoginHint is not empty, login_hint (the account the user is asked to sign in with)
// appended to whatever query it already has (a provider's own fixed parameters). A fragment is
// dropped, as an authorization endpoint may not have one.
std::string AuthorizationUrl(const TOAuthClient& Client, const std::string& RedirectUri,
                             const std::string& State, const std::string& Challenge,
                             const std::string& LoginHint);

// Why Url cannot serve as an authorization or token endpoint, for the user; empty when it can.
// Codes and tokens travel only over https, except to a server on this machine (http to
// 127.0.0.1, ::1 or localhost), which never leaves it.
std::string EndpointProblem(std::string_view Url);

} // namespace quillet

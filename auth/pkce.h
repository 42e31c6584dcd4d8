// Proof Key for Code Exchange (RFC 7636): the secret verifier a sign-in keeps to itself, the S256
// challenge it shows the authorization server, and the random values of a sign-in.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// Bytes as base64url without padding (RFC 4648 section 5), as PKCE and the state value use it.
std::string Base64Url(std::string_view Bytes);

// Count random bytes from the system's secure generator, as base64url.
std::string RandomUrlSafe(int Count);

// A new code verifier: 32 random bytes as 43 base64url characters (RFC 7636 allows 43 to 128 of
// the unreserved characters).
std::string MakeCodeVerifier();

// The S256 code challenge of Verifier: base64url(SHA-256(ASCII(verifier))).
std::string CodeChallengeS256(std::string_view Verifier);

} // namespace quillet

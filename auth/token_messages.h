// What a sign-in sends to the token endpoint (RFC 6749 sections 4.1.3 and 6, with the PKCE
// verifier of RFC 7636) and how its answer is read (sections 5.1 and 5.2).
#pragma once

#include "auth/oauth_client.h"
#include "auth/url_form.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

// How a token request ended. Refused: the server said no to this grant (a code or refresh token
// that is used up, revoked or expired, an unknown client): asking again with it cannot help.
// Failed: no usable answer (network, time-out, a server in trouble, a malformed reply), which
// may go away by itself.
enum class TTokenOutcome { Granted, Refused, Failed };

struct TTokenReply {
    TTokenOutcome Outcome = TTokenOutcome::Failed;
    std::string AccessToken;
    std::string RefreshToken;    // empty when none came: the one the caller has stays good
    std::int64_t ExpiresIn = -1; // seconds the access token lives; -1 when the server did not say
    std::string Error;           // the server's error code when Refused ("invalid_grant", ...)
    std::string Why;             // what went wrong, for the user, when not Granted
};

// The authorization code grant, with the PKCE verifier; the client secret only when there is one.
TFormFields CodeGrantForm(const TOAuthClient& Client, const std::string& Code, const std::string& RedirectUri,
                          const std::string& Verifier);
// The refresh grant; the client secret only when there is one (an empty one makes some servers
// refuse a public client).
TFormFields RefreshGrantForm(const TOAuthClient& Client, const std::string& RefreshToken);

// True when Token can be used as a bearer token: 1 to 65536 visible ASCII characters (no space,
// no control character, which would break the log-in message it goes into).
bool IsTokenText(std::string_view Token);

// Reads the token endpoint's answer: its HTTP status and its body (JSON).
TTokenReply ParseTokenReply(int HttpStatus, std::string_view Body);

} // namespace quillet

// The SASL messages of an OAuth 2.0 log-in (RFC 7628 OAUTHBEARER, and XOAUTH2 as the big mail
// providers define it): the client's response that carries the access token, the mechanisms a
// server's CAPA reply offers, and the error challenge a server sends when it refuses a token.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

enum class TOAuthMechanism { XOAuth2, OAuthBearer };

// "XOAUTH2" or "OAUTHBEARER".
const char* MechanismName(TOAuthMechanism Mechanism);

// The client's response, base64-encoded as it goes on the wire. XOAUTH2:
// "user=U\x01auth=Bearer T\x01\x01"; OAUTHBEARER: "n,a=U,\x01auth=Bearer T\x01\x01", the user name
// written as a SASL name ("," as "=2C", "=" as "=3D").
std::string OAuthResponse(TOAuthMechanism Mechanism, std::string_view User, std::string_view Token);

// The answer to an error challenge, which ends the exchange so that the server sends its -ERR:
// an empty line for XOAUTH2, "AQ==" (a single 0x01) for OAUTHBEARER.
std::string ErrorChallengeAnswer(TOAuthMechanism Mechanism);

// The mechanisms after "SASL" in a CAPA reply (RFC 2449), in upper case; empty when the reply is
// not "+OK" or has no SASL line.
std::vector<std::string> SaslMechanisms(std::string_view CapaReply);

// The mechanism to log in with. The capabilities were asked when CapaKnown; then Offered is the
// server's SASL list. XOAUTH2 is preferred, as the large providers document it (and some offer
// only it for POP3), then OAUTHBEARER. A server that said nothing (no CAPA, or no SASL line) is
// tried with XOAUTH2; one whose list has neither gets none.
std::optional<TOAuthMechanism> ChooseOAuthMechanism(const std::vector<std::string>& Offered, bool CapaKnown);

// A "+" continuation line of the server during the exchange. Empty data is the go-ahead for the
// response; data is an error challenge: base64 JSON such as {"status":"401","schemes":"bearer"}
// (XOAUTH2) or {"status":"invalid_token"} (OAUTHBEARER), summed up in Text ("status 401").
struct TSaslChallenge {
    bool IsContinuation = false; // the line starts with "+" but not with "+OK"
    bool Empty = false;          // no data: the go-ahead
    std::string Status;          // the JSON's "status", when there is one
    std::string Text;            // what the server said, for the System pane (one short line)
};
TSaslChallenge ReadSaslChallenge(std::string_view Line);

} // namespace quillet

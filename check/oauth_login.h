// What a check does for an account that signs in with OAuth 2.0: it refuses one without TLS or
// without a sign-in, renews an access token that has expired (or is about to) before the log-in
// and once after the server refused one, keeps a rotated refresh token, and forgets tokens the
// provider refused for good, so that later checks say "sign in again" without asking it again.
#pragma once

#include "mail/pop3_text.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillet {

class TAccount;
class TTokenEndpoint;
struct TOAuthTokens;
struct TTokenReply;

// An access token is renewed when it expires within this many milliseconds.
inline constexpr std::int64_t RefreshMarginMs = 60'000;

// True when Tokens' access token is missing, has expired or expires within RefreshMarginMs, or
// its lifetime is unknown, at NowMs (milliseconds since the epoch).
bool AccessTokenDue(const TOAuthTokens& Tokens, std::int64_t NowMs);

// Takes a granted token reply received at NowMs into Tokens: the new access token and when it
// expires (unknown: 0); the new refresh token when one came (providers that rotate them), else
// the old one stays.
void TakeGrantedTokens(TOAuthTokens& Tokens, const TTokenReply& Reply, std::int64_t NowMs);

// Why an OAuth account is not checked as it is, as the status shows it: no SSL/TLS or STARTTLS
// (a bearer token never travels readable), or no sign-in yet. Empty when the check may go on.
std::string OAuthCheckRefusal(const TAccount& Account);

// The status texts of an OAuth log-in that failed.
std::string SignInAgainText();                               // "Failed on login: sign in again"
std::string NoNewTokenText(const std::string& Why);          // the token endpoint gave none
std::string TokenRefusedText(const std::string& ServerSaid); // the server refused a fresh token
// Added to a refused password log-in when the server offers OAuth (SASL XOAUTH2, OAUTHBEARER).
std::string OAuthHintText();
// Text (why a password log-in failed) with OAuthHintText added when SaslMechanisms, the server's
// CAPA, lists XOAUTH2 or OAUTHBEARER, unless Code says the mailbox is busy or the server in
// trouble, which no other way of signing in would change.
std::string WithOAuthHint(const std::string& Text, const std::vector<std::string>& SaslMechanisms,
                          TResponseCode Code);

// Renews access tokens during a check, one request at a time, waiting for the token endpoint in
// a local event loop (the window stays alive); Cancel ends the wait at once.
class TTokenRenewal {
public:
    TTokenRenewal();
    ~TTokenRenewal();
    TTokenRenewal(const TTokenRenewal&) = delete;
    TTokenRenewal& operator=(const TTokenRenewal&) = delete;

    struct TResult {
        bool Usable = false;  // the account has an access token worth a log-in
        bool Changed = false; // the account's tokens changed: they are to be saved
        std::string Failure;  // the status text when not Usable
        std::string Detail;   // the token endpoint's own words, for the System pane
    };
    // Gives Account an access token to log in with: the one it has while it is not due (Force:
    // renewed anyway, after the server refused it), else a renewed one. A refresh token that the
    // provider refuses is dropped with the access token: the user must sign in again.
    TResult Renew(TAccount& Account, bool Force, std::int64_t NowMs);
    void Cancel();
    // Seconds the token endpoint may take.
    void SetTimeOut(std::int32_t Seconds);

private:
    std::unique_ptr<TTokenEndpoint> FEndpoint; // made on first use
    std::int32_t FTimeOut = 30;
};

} // namespace quillet

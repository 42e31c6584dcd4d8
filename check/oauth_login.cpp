#include "check/oauth_login.h"

#include "auth/token_endpoint.h"
#include "model/account.h"
#include "util/text_convert.h"

#include <QCoreApplication>

namespace quillet {

namespace {

std::string Text(const QString& Translated) {
    return FromQString(Translated);
}

TOAuthClient ClientOf(const TAccount& Account) {
    return {Account.OAuth.AuthorizeUrl, Account.OAuth.TokenUrl, Account.OAuth.ClientId,
            Account.OAuth.ClientSecret, Account.OAuth.Scope};
}

} // namespace

bool AccessTokenDue(const TOAuthTokens& Tokens, std::int64_t NowMs) {
    return Tokens.AccessToken.empty() || Tokens.AccessExpiresMs <= 0 ||
           Tokens.AccessExpiresMs - RefreshMarginMs <= NowMs;
}

void TakeGrantedTokens(TOAuthTokens& Tokens, const TTokenReply& Reply, std::int64_t NowMs) {
    Tokens.AccessToken = Reply.AccessToken;
    Tokens.AccessExpiresMs = Reply.ExpiresIn >= 0 ? NowMs + Reply.ExpiresIn * 1000 : 0;
    if (!Reply.RefreshToken.empty())
        Tokens.RefreshToken = Reply.RefreshToken;
}

std::string OAuthCheckRefusal(const TAccount& Account) {
    if (Account.Security == TSecurity::None)
        return Text(QCoreApplication::translate(
            "OAuthLogin", "Not checked: OAuth sign-in needs SSL/TLS or STARTTLS (edit the account)"));
    if (Account.Tokens.AccessToken.empty() && Account.Tokens.RefreshToken.empty())
        return Text(QCoreApplication::translate(
            "OAuthLogin", "Failed on login: not signed in yet (edit the account and choose Sign in)"));
    return {};
}

std::string SignInAgainText() {
    return Text(QCoreApplication::translate("OAuthLogin", "Failed on login: sign in again"));
}

std::string NoNewTokenText(const std::string& Why) {
    return Text(QCoreApplication::translate("OAuthLogin", "Failed on login: no new access token (%1)")
                    .arg(ToQString(Why)));
}

std::string TokenRefusedText(const std::string& ServerSaid) {
    return ServerSaid.empty()
               ? Text(QCoreApplication::translate("OAuthLogin",
                                                  "Failed on login: the server refused the access token"))
               : Text(QCoreApplication::translate("OAuthLogin",
                                                  "Failed on login: the server refused the access token (%1)")
                          .arg(ToQString(ServerSaid)));
}

std::string OAuthHintText() {
    return Text(
        QCoreApplication::translate("OAuthLogin", "This server may want OAuth sign-in: edit the account"));
}

std::string WithOAuthHint(const std::string& Text, const std::vector<std::string>& SaslMechanisms,
                          TResponseCode Code) {
    if (Code == TResponseCode::InUse || Code == TResponseCode::LoginDelay || Code == TResponseCode::SysTemp ||
        Code == TResponseCode::SysPerm)
        return Text;
    for (const std::string& mechanism : SaslMechanisms)
        if (mechanism == "XOAUTH2" || mechanism == "OAUTHBEARER")
            return Text + ". " + OAuthHintText();
    return Text;
}

TTokenRenewal::TTokenRenewal() = default;

TTokenRenewal::~TTokenRenewal() = default;

void TTokenRenewal::SetTimeOut(std::int32_t Seconds) {
    FTimeOut = Seconds;
}

void TTokenRenewal::Cancel() {
    if (FEndpoint)
        FEndpoint->Cancel();
}

TTokenRenewal::TResult TTokenRenewal::Renew(TAccount& Account, bool Force, std::int64_t NowMs) {
    TResult result;
    TOAuthTokens& tokens = Account.Tokens;
    if (!Force && !AccessTokenDue(tokens, NowMs)) {
        result.Usable = true;
        return result;
    }
    if (tokens.RefreshToken.empty()) {
        // Nothing to renew with: a token of unknown lifetime is still worth a try.
        result.Usable = !Force && !tokens.AccessToken.empty() && tokens.AccessExpiresMs <= 0;
        if (!result.Usable)
            result.Failure = SignInAgainText();
        return result;
    }
    if (!FEndpoint)
        FEndpoint = std::make_unique<TTokenEndpoint>();
    FEndpoint->TimeOutSeconds = FTimeOut;
    const TTokenReply reply = FEndpoint->PostAndWait(
        Account.OAuth.TokenUrl, RefreshGrantForm(ClientOf(Account), tokens.RefreshToken));
    switch (reply.Outcome) {
    case TTokenOutcome::Granted:
        TakeGrantedTokens(tokens, reply, NowMs);
        result.Usable = result.Changed = true;
        break;
    case TTokenOutcome::Refused:
        // Revoked, expired or spent: asking again with it cannot help, only a new sign-in can.
        tokens = TOAuthTokens{};
        result.Changed = true;
        result.Failure = SignInAgainText();
        result.Detail = reply.Why;
        break;
    case TTokenOutcome::Failed:
        result.Failure = NoNewTokenText(reply.Why);
        break;
    }
    return result;
}

} // namespace quillet

// The log-in of one account's check: connect (with TLS as the account wants), then USER and PASS,
// or for an OAuth account SASL with an access token that is renewed when it is due and once more
// when the server refuses it.
#include "check/check_cycle.h"
#include "check/check_pass.h"
#include "check/oauth_login.h"

#include "mail/pop3_client.h"
#include "model/account.h"
#include "util/text_convert.h"

#include <QCoreApplication>
#include <QDateTime>

namespace quillet {

using check_text::FirstLine;

namespace {

std::int64_t NowMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

} // namespace

std::optional<TListResult> TCheckCycle::LogIn(TAccount& Account, TPass& Pass) {
    TPop3Client& pop = *Account.Pop();
    pop.UserName = Account.UserName;
    pop.Password = Account.Password;
    pop.Host = Account.Host;
    pop.Port = Account.Port();
    pop.Security = Account.Security;
    pop.UseFastChecks = UseFastChecks;
    pop.TrustedCert = Account.TrustedCert;
    pop.UseOAuth = Account.SignIn == TSignIn::OAuth2;
    pop.AccessToken.clear();
    if (!pop.UseOAuth)
        return LogInOnce(Account);

    if (const std::string refusal = OAuthCheckRefusal(Account); !refusal.empty()) {
        Fail(Account, Pass, refusal);
        return TListResult::LoginFailed;
    }
    if (!RenewAccessToken(Account, Pass, false))
        return FAbortRequested ? TListResult::Aborted : TListResult::LoginFailed;
    std::optional<TListResult> failed = LogInOnce(Account);
    if (failed == TListResult::LoginFailed && pop.AccessTokenRefused()) {
        // Refused although it looked good (revoked, or the clocks disagree): renewed once, and
        // the log-in tried again with the new one.
        if (!RenewAccessToken(Account, Pass, true))
            return FAbortRequested ? TListResult::Aborted : TListResult::LoginFailed;
        failed = LogInOnce(Account);
    }
    if (failed == TListResult::LoginFailed)
        Fail(Account, Pass,
             pop.AccessTokenRefused()
                 ? TokenRefusedText(pop.SaslRefusal())
                 : FromQString(QCoreApplication::translate("CheckCycle", "Failed on login: %1")
                                   .arg(ToQString(FirstLine(pop.LastReply())))));
    return failed;
}

bool TCheckCycle::RenewAccessToken(TAccount& Account, TPass& Pass, bool Force) {
    const bool due = Force || AccessTokenDue(Account.Tokens, NowMs());
    if (due && !Account.Tokens.RefreshToken.empty())
        ShowStatus(Account.Label,
                   FromQString(QCoreApplication::translate("CheckCycle", "renewing the access token")));
    const TTokenRenewal::TResult renewal = FRenewal.Renew(Account, Force, NowMs());
    if (renewal.Changed)
        FHost.SaveAccounts(); // a rotated refresh token is the only one that works from now on
    if (FAbortRequested)
        return false;
    if (!renewal.Detail.empty())
        LogSystem(renewal.Detail);
    if (!renewal.Usable) {
        Fail(Account, Pass, renewal.Failure);
        return false;
    }
    if (renewal.Changed)
        LogSystem(FromQString(QCoreApplication::translate("CheckCycle", "New access token, valid until %1")
                                  .arg(Account.Tokens.AccessExpiresMs > 0
                                           ? QDateTime::fromMSecsSinceEpoch(Account.Tokens.AccessExpiresMs)
                                                 .toString(QStringLiteral("HH:mm:ss"))
                                           : QCoreApplication::translate("CheckCycle", "(not said)"))));
    return true;
}

std::optional<TListResult> TCheckCycle::LogInOnce(TAccount& Account) {
    TPop3Client& pop = *Account.Pop();
    pop.AccessToken = pop.UseOAuth ? Account.Tokens.AccessToken : std::string();
    ShowStatus(Account.Label, FromQString(QCoreApplication::translate("CheckCycle", "connecting")));
    if (!pop.Connect()) {
        if (FAbortRequested)
            return TListResult::Aborted; // what the last check refused stays as it was
        const bool tls = pop.TlsFailed();
        const std::string reason = pop.LastReply();
        if (tls) {
            const std::string certificate = pop.TlsCertificateText();
            LogSystem(FromQString(
                QCoreApplication::translate("CheckCycle", "Certificate: %1").arg(ToQString(certificate))));
            Account.RefusedCertFingerprint = pop.TlsCertificateFingerprint();
            Account.RefusedCertText = certificate;
        }
        pop.Abort();
        LogSystem(reason);
        return tls ? TListResult::TlsFailed : TListResult::ConnectFailed;
    }
    if (const std::string tls = pop.TlsSummary(); !tls.empty())
        LogSystem("TLS: " + tls);
    ShowStatus(Account.Label,
               pop.UseOAuth
                   ? FromQString(QCoreApplication::translate("CheckCycle", "signing in"))
                   : FromQString(QCoreApplication::translate("CheckCycle", "sending name and password")));
    if (!pop.Capabilities().empty())
        Account.LoginDelay = pop.LoginDelay(); // a server that lists nothing changes nothing
    const bool loggedIn = pop.Login();
    // On a re-check CAPA goes out with the log-in: its reply is read only now.
    if (!pop.Capabilities().empty())
        Account.LoginDelay = pop.LoginDelay();
    if (pop.PassAccepted())
        Account.LastLoginMs = NowMs(); // the server counts this log-in, whatever follows
    if (FAbortRequested)
        return TListResult::Aborted;
    if (!loggedIn) {
        pop.Abort();
        LogSystem(pop.LastReply());
        if (!pop.SaslRefusal().empty())
            LogSystem(FromQString(
                QCoreApplication::translate("CheckCycle", "The server refused the access token: %1")
                    .arg(ToQString(pop.SaslRefusal()))));
        return TListResult::LoginFailed;
    }
    return std::nullopt;
}

} // namespace quillet

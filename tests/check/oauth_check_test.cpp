// Checks of OAuth accounts: signed in through the real flow (a scripted browser and the test
// authorization server), then checked against a Dovecot that asks that server about every token,
// over TLS; an expired token renewed without the user, a refused one renewed once, a revoked
// refresh token that ends in "sign in again" without asking again, a 6,000-character token,
// and no token in any text the window is given. Then the rules that need no server: no OAuth
// without TLS, and the hint on a refused password where the server offers OAuth.
#include "auth/sign_in_flow.h"
#include "check/check_cycle.h"
#include "check/oauth_login.h"
#include "mail/pop3_client.h"
#include "model/account.h"
#include "model/mails.h"
#include "tests/check/schedule_test_support.h"
#include "tests/support/dovecot_server.h"
#include "tests/support/oauth_test_server.h"
#include "tests/support/scripted_pop3_server.h"
#include "tests/support/test_ca.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpServer>
#include <QTimer>
#include <gtest/gtest.h>
#include <set>

using namespace quillet;
using namespace quillet::test;
using Lines = std::vector<std::string>;

namespace {

std::int64_t NowMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

// Keeps what the cycle shows and how often it asks for the accounts to be saved.
class TTokenHost : public TListHost {
public:
    using TListHost::TListHost;
    int Saves = 0;
    void SaveAccounts() override { ++Saves; }
    // The status text the check command ended with.
    std::string Last() const { return Status.empty() ? std::string() : Status.back(); }
};

std::string Message(int I) {
    return "From: Sender <s@example.com>\nTo: alice@example.com\nSubject: Message " + std::to_string(I) +
           "\nMessage-ID: <" + std::to_string(I) + "@example.org>\n\nBody\n";
}

class OAuthCheck : public ::testing::Test {
protected:
    static inline std::unique_ptr<TOAuthTestServer> Authority;
    static inline std::unique_ptr<TDovecotServer> Dovecot;
    static inline std::unique_ptr<TTestCa> Ca;
    static inline TServerCertificate Certificate;
    static inline std::string StartError;

    static void SetUpTestSuite() {
        if (!TDovecotServer::Installed())
            return;
        Authority = std::make_unique<TOAuthTestServer>(QUILLET_TEST_DATA "/oauth_server.py");
        if (!Authority->Start(StartError))
            return;
        Ca = std::make_unique<TTestCa>();
        Certificate = Ca->Issue("oauth-dovecot");
        Dovecot = std::make_unique<TDovecotServer>();
        Dovecot->AddUser("alice", "alice-pw");
        for (int i = 1; i <= 3; ++i)
            Dovecot->Deliver("alice", Message(i));
        Dovecot->EnableTls(Certificate.CertPath, Certificate.KeyPath);
        Dovecot->EnableOAuth(Authority->IntrospectUrl());
        if (!Dovecot->Start(StartError) && StartError.empty())
            StartError = "dovecot did not start";
    }
    static void TearDownTestSuite() {
        Dovecot.reset();
        Authority.reset();
        Ca.reset();
    }

    TAccounts accounts;
    TMails mails;
    TTokenHost host{mails};
    TCheckCycle cycle{accounts, mails, host};
    std::set<std::string> tokens; // every token this test saw

    void SetUp() override {
        if (!TDovecotServer::Installed()) {
            if (TDovecotServer::Required())
                FAIL() << "Dovecot (dovecot-pop3d) is required in CI but not installed";
            GTEST_SKIP() << "Dovecot is not installed";
        }
        ASSERT_TRUE(StartError.empty()) << StartError;
        Authority->Admin("set", "approve=1&rotate=1&token_bytes=32");
        cycle.UseFastChecks = true;
    }
    void TearDown() override {
        Remember();
        for (const Lines* lines : {&host.Status, &host.System})
            for (const std::string& line : *lines)
                for (const std::string& token : tokens)
                    EXPECT_EQ(line.find(token), std::string::npos) << "a token in a shown line: " << line;
    }
    void Remember() {
        for (int i = 0; i < accounts.Count(); ++i)
            for (const std::string& token : {accounts[i].Tokens.AccessToken, accounts[i].Tokens.RefreshToken})
                if (token.size() > 8)
                    tokens.insert(token.substr(token.size() / 2)); // any long piece of it would do
    }

    TAccount& Account() {
        auto account = std::make_unique<TAccount>();
        account->Label = "Work";
        account->Host = "127.0.0.1";
        account->SetPort(Dovecot->TlsPort());
        account->Security = TSecurity::Tls;
        account->TrustedCert = Certificate.Fingerprint;
        account->UserName = "alice";
        account->SignIn = TSignIn::OAuth2;
        account->OAuth = {Authority->AuthorizeUrl(), Authority->TokenUrl(), "quillet-test", "pop", ""};
        account->Pop()->SetTimeOut(10);
        TAccount& added = *account;
        accounts.Add(std::move(account));
        return added;
    }
    // Signs Account in through the flow, a scripted browser approving at once.
    bool SignIn(TAccount& Account) {
        TSignInFlow flow;
        TScriptedBrowser browser;
        bool done = false;
        QEventLoop loop;
        flow.OnFinished = [&](const TTokenReply& Reply) {
            if (Reply.Outcome == TTokenOutcome::Granted)
                TakeGrantedTokens(Account.Tokens, Reply, NowMs());
            done = Reply.Outcome == TTokenOutcome::Granted;
            loop.quit();
        };
        std::string why;
        const TOAuthClient client{Account.OAuth.AuthorizeUrl, Account.OAuth.TokenUrl, Account.OAuth.ClientId,
                                  "", Account.OAuth.Scope};
        if (!flow.Start(
                client, Account.UserName, [&](const std::string& Url) { return browser.Open(Url); }, why))
            return false;
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        Remember();
        return done;
    }
};

TEST_F(OAuthCheck, SignedInThroughTheBrowserThenCheckedOverTls) {
    TAccount& account = Account();
    ASSERT_TRUE(SignIn(account)) << Authority->Log();
    cycle.CheckOne(0);
    EXPECT_EQ(mails.Count(), 3) << host.Last() << "\n" << Dovecot->Log();
    EXPECT_TRUE(account.LastFailure.empty()) << account.LastFailure;
    EXPECT_EQ(host.Saves, 0) << "a fresh token is used as it is";
    EXPECT_EQ(Authority->Count("token:refresh_token"), 0);
    EXPECT_NE(std::ranges::find_if(host.System, [](const std::string& l) { return l.starts_with("TLS: "); }),
              host.System.end());
}

TEST_F(OAuthCheck, ExpiredOrRefusedTokenIsRenewedOnceAndTheCheckGoesOn) {
    const struct {
        const char* Name;
        bool ExpiredHere; // our clock says it has expired (else only the server knows)
    } rows[] = {{"expired", true}, {"refused by the server though not expired", false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        accounts.Clear();
        mails.Clear();
        host.Saves = 0;
        TAccount& account = Account();
        ASSERT_TRUE(SignIn(account));
        const TOAuthTokens before = account.Tokens;
        Authority->Admin("expire", "token=" + before.AccessToken);
        if (row.ExpiredHere)
            account.Tokens.AccessExpiresMs = NowMs() - 1000;
        const int refreshes = Authority->Count("token:refresh_token");
        cycle.CheckOne(0);
        Remember();
        EXPECT_EQ(mails.Count(), 3) << host.Last() << "\n" << Dovecot->Log();
        EXPECT_EQ(Authority->Count("token:refresh_token"), refreshes + 1) << "renewed once";
        EXPECT_NE(account.Tokens.AccessToken, before.AccessToken);
        EXPECT_NE(account.Tokens.RefreshToken, before.RefreshToken) << "the rotated refresh token is kept";
        EXPECT_GT(account.Tokens.AccessExpiresMs, NowMs() + 200'000);
        EXPECT_GE(host.Saves, 1) << "new tokens are saved at once";
        EXPECT_TRUE(account.LastFailure.empty()) << account.LastFailure;
        const bool challengeLogged =
            std::ranges::find(host.System, "The server refused the access token: status 401") !=
            host.System.end();
        EXPECT_EQ(challengeLogged, !row.ExpiredHere);
    }
}

TEST_F(OAuthCheck, RevokedSignInEndsInSignInAgainWithoutAskingAgain) {
    TAccount& account = Account();
    ASSERT_TRUE(SignIn(account));
    Authority->Admin("revoke", "user=alice");
    const int refreshes = Authority->Count("token:refresh_token");
    cycle.CheckOne(0);
    EXPECT_EQ(host.Last(), "Work: Failed on login: sign in again");
    EXPECT_EQ(account.LastFailure, "Failed on login: sign in again");
    EXPECT_EQ(account.FailuresInRow, 1);
    EXPECT_EQ(Authority->Count("token:refresh_token"), refreshes + 1) << "one renewal, no loop";
    EXPECT_TRUE(account.Tokens.RefreshToken.empty()) << "a refused refresh token is forgotten";
    EXPECT_GE(host.Saves, 1);
    EXPECT_EQ(mails.Count(), 0);

    cycle.CheckOne(0);
    EXPECT_EQ(host.Last(), "Work: Failed on login: not signed in yet (edit the account and choose Sign in)");
    EXPECT_EQ(Authority->Count("token:refresh_token"), refreshes + 1) << "nothing asked again";
}

TEST_F(OAuthCheck, SixThousandCharacterTokenLogsIn) {
    Authority->Admin("set", "token_bytes=4500");
    TAccount& account = Account();
    ASSERT_TRUE(SignIn(account));
    EXPECT_GE(account.Tokens.AccessToken.size(), 6000u);
    cycle.CheckOne(0);
    EXPECT_EQ(mails.Count(), 3) << host.Last() << "\n" << Dovecot->Log();
}

// Rules that need no real server.
class OAuthCheckRules : public ::testing::Test {
protected:
    TAccounts accounts;
    TMails mails;
    TTokenHost host{mails};
    TCheckCycle cycle{accounts, mails, host};

    TAccount& Add(std::uint16_t Port) {
        auto account = std::make_unique<TAccount>();
        account->Label = "Box";
        account->Host = "127.0.0.1";
        account->SetPort(Port);
        account->UserName = "u";
        account->Password = "p";
        account->Pop()->SetTimeOut(5);
        TAccount& added = *account;
        accounts.Add(std::move(account));
        return added;
    }
};

TEST_F(OAuthCheckRules, OAuthWithoutTlsIsNotCheckedAndNothingConnects) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    TAccount& account = Add(server.serverPort());
    account.SignIn = TSignIn::OAuth2;
    account.Tokens = {"access", "refresh", NowMs() + 3'600'000};
    cycle.CheckOne(0);
    EXPECT_EQ(host.Last(), "Box: Not checked: OAuth sign-in needs SSL/TLS or STARTTLS (edit the account)");
    EXPECT_EQ(account.LastFailure, "Not checked: OAuth sign-in needs SSL/TLS or STARTTLS (edit the account)");
    QCoreApplication::processEvents();
    EXPECT_FALSE(server.hasPendingConnections()) << "the token never travels readable";
}

// A token endpoint that is not there fails the check and keeps the tokens for the next one; an
// abort ends the wait for one that does not answer at once.
TEST_F(OAuthCheckRules, TokenEndpointTroubleNeverHoldsTheCheck) {
    QTcpServer silent; // takes the connection and never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const std::uint16_t closedPort = closed.serverPort();
    closed.close();
    const struct {
        const char* Name;
        std::uint16_t TokenPort;
        bool Abort;
        std::string Status;
    } rows[] = {
        {"unreachable", closedPort, false,
         "Box: Failed on login: no new access token (the sign-in server could not be reached"},
        {"aborted while waiting", silent.serverPort(), true, "Aborted!"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        accounts.Clear();
        TAccount& account = Add(closedPort);
        account.Security = TSecurity::Tls;
        account.SignIn = TSignIn::OAuth2;
        account.OAuth.TokenUrl = "http://127.0.0.1:" + std::to_string(row.TokenPort) + "/token";
        account.Tokens = {"access", "refresh", NowMs() - 1000};
        if (row.Abort)
            QTimer::singleShot(300, [this] { cycle.Abort(); });
        QElapsedTimer clock;
        clock.start();
        cycle.CheckOne(0);
        EXPECT_LT(clock.elapsed(), 5000);
        EXPECT_EQ(host.Last().substr(0, row.Status.size()), row.Status) << host.Last();
        EXPECT_EQ(account.Tokens.RefreshToken, "refresh") << "kept for the next check";
        EXPECT_EQ(account.LastFailure.empty(), row.Abort) << "an abort records no failure";
    }
}

TEST_F(OAuthCheckRules, RefusedPasswordPointsToOAuthWhenTheServerOffersIt) {
    cycle.UseFastChecks = true; // CAPA is asked, and tells the mechanisms
    const struct {
        std::string Sasl, Refusal, Status;
    } rows[] = {
        {"SASL PLAIN XOAUTH2\r\n", "-ERR [AUTH] Authentication failed.\r\n",
         "Box: Failed on login: the user name or password was refused. This server may want OAuth sign-in: "
         "edit the account"},
        {"SASL OAUTHBEARER\r\n", "-ERR no\r\n",
         "Box: Failed on login. This server may want OAuth sign-in: edit the account"},
        {"SASL PLAIN\r\n", "-ERR [AUTH] Authentication failed.\r\n",
         "Box: Failed on login: the user name or password was refused"},
        {"SASL XOAUTH2\r\n", "-ERR [IN-USE] locked\r\n",
         "Box: Mailbox busy (in use by another session); it will be tried again at the next check"},
    };
    for (const auto& row : rows) {
        TScriptedPop3Server server;
        server.Send("+OK\r\n").Expect("CAPA").Send("+OK\r\nUSER\r\n" + row.Sasl + ".\r\n");
        server.Expect("USER u").Send("+OK\r\n").Expect("PASS p").Send(row.Refusal);
        accounts.Clear();
        Add(server.Listen() ? server.Port() : 0);
        cycle.CheckOne(0);
        EXPECT_EQ(host.Last(), row.Status);
        for (const auto& e : server.Errors())
            ADD_FAILURE() << e;
    }
    EXPECT_EQ(WithOAuthHint("Failed", {"XOAUTH2"}, TResponseCode::SysTemp), "Failed");
}

} // namespace

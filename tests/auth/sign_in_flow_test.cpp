// A whole desktop sign-in against the test authorization server, with a scripted browser: the
// code with PKCE, a refusal in the browser, a forged answer, a browser that never comes back, and
// token requests that end however the endpoint behaves (refused, silent, unreachable, rotated).
#include "auth/loopback_receiver.h"
#include "auth/sign_in_flow.h"
#include "auth/token_endpoint.h"
#include "tests/support/oauth_test_server.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpServer>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>
#include <regex>

using namespace quillet;
using quillet::test::TOAuthTestServer;
using quillet::test::TScriptedBrowser;

namespace {

class SignInFlow : public ::testing::Test {
protected:
    static inline std::unique_ptr<TOAuthTestServer> Server;
    static inline std::string StartError;

    static void SetUpTestSuite() {
        Server = std::make_unique<TOAuthTestServer>(QUILLET_TEST_DATA "/oauth_server.py");
        Server->Start(StartError);
    }
    static void TearDownTestSuite() { Server.reset(); }

    void SetUp() override {
        ASSERT_TRUE(StartError.empty()) << StartError;
        Server->Admin("set", "approve=1&code_prefix=4/&rotate=1");
    }

    TOAuthClient Client() const {
        return {Server->AuthorizeUrl(), Server->TokenUrl(), "quillet-test", "", "pop"};
    }

    // Runs Flow with Browser until it finishes (at most TimeOutMs).
    std::optional<TTokenReply> Run(TSignInFlow& Flow, TScriptedBrowser& Browser, int TimeOutMs = 10000) {
        std::optional<TTokenReply> result;
        QEventLoop loop;
        Flow.OnFinished = [&](const TTokenReply& Reply) {
            result = Reply;
            loop.quit();
        };
        std::string why;
        if (!Flow.Start(
                Client(), "alice@example.com", [&](const std::string& Url) { return Browser.Open(Url); },
                why)) {
            ADD_FAILURE() << why;
            return result;
        }
        QTimer::singleShot(TimeOutMs, &loop, &QEventLoop::quit);
        if (!result)
            loop.exec();
        return result;
    }
};

TEST_F(SignInFlow, ApprovedCodeBecomesTokensAndTheBrowserIsToldSo) {
    TSignInFlow flow;
    TScriptedBrowser browser;
    const auto reply = Run(flow, browser);
    ASSERT_TRUE(reply) << Server->Log();
    EXPECT_EQ(reply->Outcome, TTokenOutcome::Granted) << reply->Why << "\n" << Server->Log();
    EXPECT_FALSE(reply->AccessToken.empty());
    EXPECT_FALSE(reply->RefreshToken.empty());
    EXPECT_EQ(reply->ExpiresIn, 300);
    ASSERT_TRUE(browser.WaitForPage());
    EXPECT_EQ(browser.Status, 200);
    EXPECT_NE(browser.Page.find("signed in"), std::string::npos) << browser.Page;
    // The browser was sent to the provider with PKCE S256 and the loopback redirect; the code
    // ("4/...") went back to the token endpoint decoded once, or it would have been refused.
    EXPECT_NE(browser.OpenedUrl.find("code_challenge_method=S256"), std::string::npos);
    EXPECT_NE(browser.OpenedUrl.find("redirect_uri=http%3A%2F%2Flocalhost%3A" +
                                     std::to_string(flow.Receiver().Port())),
              std::string::npos);
    EXPECT_NE(browser.OpenedUrl.find("login_hint=alice%40example.com"), std::string::npos);
    EXPECT_EQ(flow.Receiver().Address(), QHostAddress(QHostAddress::LocalHost)) << "loopback only";
    EXPECT_FALSE(flow.Receiver().Listening()) << "one redirect only";
}

TEST_F(SignInFlow, RefusalForgeryAndMissingBrowserEndWithTheirReason) {
    const struct {
        const char* Name;
        std::string Setting;                                    // for the server
        std::function<std::string(const std::string&)> Rewrite; // for the browser
        TTokenOutcome Outcome;
        std::string Why, Page;
    } rows[] = {
        {"denied in the browser", "approve=0", nullptr, TTokenOutcome::Refused, "access_denied", "refused"},
        {"answer with another state", "approve=1",
         [](const std::string& Url) {
             return std::regex_replace(Url, std::regex("state=[^&]*"), "state=forged");
         },
         TTokenOutcome::Failed, "does not belong", "does not belong"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        Server->Admin("set", row.Setting);
        const int tokenRequests = Server->Count("token:authorization_code");
        TSignInFlow flow;
        TScriptedBrowser browser;
        browser.Rewrite = row.Rewrite;
        const auto reply = Run(flow, browser);
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->Outcome, row.Outcome);
        EXPECT_NE(reply->Why.find(row.Why), std::string::npos) << reply->Why;
        ASSERT_TRUE(browser.WaitForPage());
        EXPECT_NE(browser.Page.find(row.Page), std::string::npos) << browser.Page;
        EXPECT_EQ(Server->Count("token:authorization_code"), tokenRequests) << "no code was exchanged";
    }

    TSignInFlow flow;
    std::string why;
    EXPECT_FALSE(flow.Start(
        Client(), "", [](const std::string&) { return false; }, why));
    EXPECT_NE(why.find("browser"), std::string::npos) << why;
    EXPECT_FALSE(flow.Receiver().Listening());
    TOAuthClient plain = Client();
    plain.TokenUrl = "http://login.example.com/token";
    EXPECT_FALSE(flow.Start(
        plain, "", [](const std::string&) { return true; }, why));
    EXPECT_NE(why.find("https://"), std::string::npos) << why;
}

TEST_F(SignInFlow, BrowserThatNeverComesBackEndsTheSignInAtItsTimeOut) {
    TSignInFlow flow;
    flow.TimeOutSeconds = 1;
    std::optional<TTokenReply> result;
    QEventLoop loop;
    flow.OnFinished = [&](const TTokenReply& Reply) {
        result = Reply;
        loop.quit();
    };
    std::string why;
    ASSERT_TRUE(flow.Start(
        Client(), "", [](const std::string&) { return true; }, why))
        << why;
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_TRUE(result);
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(result->Outcome, TTokenOutcome::Failed);
    EXPECT_NE(result->Why.find("did not come back"), std::string::npos) << result->Why;
    EXPECT_FALSE(flow.Receiver().Listening());
}

// A refresh keeps working across rotations; a spent or revoked refresh token is refused, and a
// token endpoint that is silent or not there ends the request in time.
TEST_F(SignInFlow, TokenRequestsAlwaysEndWithAClearOutcome) {
    TSignInFlow flow;
    TScriptedBrowser browser;
    const auto signedIn = Run(flow, browser);
    ASSERT_TRUE(signedIn && signedIn->Outcome == TTokenOutcome::Granted);
    TTokenEndpoint endpoint;
    const TTokenReply first =
        endpoint.PostAndWait(Server->TokenUrl(), RefreshGrantForm(Client(), signedIn->RefreshToken));
    ASSERT_EQ(first.Outcome, TTokenOutcome::Granted) << first.Why;
    EXPECT_NE(first.RefreshToken, signedIn->RefreshToken) << "the server rotates refresh tokens";
    const TTokenReply spent =
        endpoint.PostAndWait(Server->TokenUrl(), RefreshGrantForm(Client(), signedIn->RefreshToken));
    EXPECT_EQ(spent.Outcome, TTokenOutcome::Refused);
    EXPECT_EQ(spent.Error, "invalid_grant");
    Server->Admin("revoke", "user=alice");
    EXPECT_EQ(
        endpoint.PostAndWait(Server->TokenUrl(), RefreshGrantForm(Client(), first.RefreshToken)).Outcome,
        TTokenOutcome::Refused);

    QTcpServer silent; // accepts and never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    const std::string silentUrl = "http://127.0.0.1:" + std::to_string(silent.serverPort()) + "/token";
    const quint16 closedPort = silent.serverPort() + 0;
    endpoint.TimeOutSeconds = 1;
    QElapsedTimer clock;
    clock.start();
    const TTokenReply slow = endpoint.PostAndWait(silentUrl, RefreshGrantForm(Client(), "r"));
    EXPECT_EQ(slow.Outcome, TTokenOutcome::Failed);
    EXPECT_NE(slow.Why.find("did not answer within 1 seconds"), std::string::npos) << slow.Why;
    EXPECT_LT(clock.elapsed(), 3000);
    silent.close();
    const TTokenReply gone = endpoint.PostAndWait("http://127.0.0.1:" + std::to_string(closedPort) + "/token",
                                                  RefreshGrantForm(Client(), "r"));
    EXPECT_EQ(gone.Outcome, TTokenOutcome::Failed);
    EXPECT_NE(gone.Why.find("could not be reached"), std::string::npos) << gone.Why;
}

} // namespace

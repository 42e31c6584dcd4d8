// The pure rules of a desktop sign-in: PKCE, the authorization page's address, which endpoints
// may be used, the browser's redirect request, the form encoding and the token endpoint's answer.
#include "auth/authorization_request.h"
#include "auth/pkce.h"
#include "auth/redirect_request.h"
#include "auth/token_messages.h"
#include "auth/url_form.h"

#include <gtest/gtest.h>
#include <set>

using namespace quillet;

namespace {

TEST(OAuthRules, PkceS256MatchesTheRfcExampleAndVerifiersAreFreshAndWellFormed) {
    // RFC 7636 appendix B.
    EXPECT_EQ(CodeChallengeS256("dBjftJeZ4CVP-mB92K27uhbUJU1p1r_wW1gFWFOEjXk"),
              "E9Melhoa2OwvFrEMTJguCHaoeK1t8URWbuGJSstw-cM");
    std::set<std::string> seen;
    for (int i = 0; i < 50; ++i) {
        const std::string verifier = MakeCodeVerifier();
        ASSERT_GE(verifier.size(), 43u);
        ASSERT_LE(verifier.size(), 128u);
        EXPECT_EQ(
            verifier.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~"),
            std::string::npos);
        seen.insert(verifier);
    }
    EXPECT_EQ(seen.size(), 50u);
}

TEST(OAuthRules, FormEncodingRoundTripsEverySeparator) {
    const struct {
        std::string Plain, Encoded;
    } rows[] = {
        {"4/0AbC-d_e.f~", "4%2F0AbC-d_e.f~"},
        {"a+b c&d=e%f", "a%2Bb%20c%26d%3De%25f"},
        {"https://outlook.office.com/POP.AccessAsUser.All offline_access",
         "https%3A%2F%2Foutlook.office.com%2FPOP.AccessAsUser.All%20offline_access"},
        {std::string("\x01\xC3\xA9", 3), "%01%C3%A9"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FormEncode(row.Plain), row.Encoded);
        EXPECT_EQ(FormDecode(row.Encoded), row.Plain);
    }
    EXPECT_EQ(FormDecode("a+b%2"), "a b%2") << "'+' is a space; a cut escape stays";
    EXPECT_EQ(FormDecode("%zz%4"), "%zz%4");
}

TEST(OAuthRules, AuthorizationUrlCarriesEveryParameterEncodedOnce) {
    TOAuthClient client{"https://login.example.com/oauth2/authorize", "", "client 1", "",
                        "pop offline_access"};
    const std::string tail =
        "response_type=code&client_id=client%201&redirect_uri=http%3A%2F%2Flocalhost%3A4711"
        "&scope=pop%20offline_access&state=st&code_challenge=ch&code_challenge_method=S256";
    const struct {
        std::string Authorize, Hint, Expected;
    } rows[] = {
        {"https://login.example.com/oauth2/authorize", "",
         "https://login.example.com/oauth2/authorize?" + tail},
        {"https://login.example.com/a?access_type=offline&prompt=consent", "me@example.com",
         "https://login.example.com/a?access_type=offline&prompt=consent&" + tail +
             "&login_hint=me%40example.com"},
        {"https://login.example.com/a?", "", "https://login.example.com/a?" + tail},
        {"https://login.example.com/a#frag", "", "https://login.example.com/a?" + tail},
    };
    for (const auto& row : rows) {
        client.AuthorizeUrl = row.Authorize;
        EXPECT_EQ(AuthorizationUrl(client, LoopbackRedirectUri(4711), "st", "ch", row.Hint), row.Expected);
    }
}

TEST(OAuthRules, EndpointsAreHttpsOrThisMachine) {
    const struct {
        const char* Url;
        bool Usable;
    } rows[] = {
        {"https://login.microsoftonline.com/consumers/oauth2/v2.0/token", true},
        {"http://127.0.0.1:8080/token", true},
        {"http://localhost/token", true},
        {"http://[::1]:9/token", true},
        {"http://login.example.com/token", false},
        {"http://127.0.0.1.example.com/token", false},
        {"ftp://example.com/token", false},
        {"https://example.com/token#x", false},
        {"token", false},
        {"", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(EndpointProblem(row.Url).empty(), row.Usable)
            << row.Url << ": " << EndpointProblem(row.Url);
}

TEST(OAuthRules, RedirectRequestLineGivesCodeStateOrError) {
    const struct {
        std::string Received;
        bool Complete, Valid, Answer;
        std::string Code, State, Error, Description;
    } rows[] = {
        {"GET /?code=4%2F0Ab%2Bc&state=xyz HTTP/1.1\r\nHost: localhost\r\n\r\n", true, true, true, "4/0Ab+c",
         "xyz", "", ""},
        {"GET /?error=access_denied&error_description=The+user+said+no&state=s HTTP/1.1\r\n", true, true,
         true, "", "s", "access_denied", "The user said no"},
        {"GET /?state=s&code=c&extra=1 HTTP/1.0\n", true, true, true, "c", "s", "", ""},
        {"GET /favicon.ico HTTP/1.1\r\n", true, true, false, "", "", "", ""},
        {"GET /other?code=c&state=s HTTP/1.1\r\n", true, true, false, "c", "s", "", ""},
        {"GET /?code=a&code=b&state=s HTTP/1.1\r\n", true, false, false, "a", "", "", ""},
        {"GET /?code=a&state=s&state=t HTTP/1.1\r\n", true, false, false, "a", "s", "", ""},
        {"POST /?code=c&state=s HTTP/1.1\r\n", true, false, false, "", "", "", ""},
        {"GET /?code=c&state=s\r\n", true, false, false, "", "", "", ""},
        {"GET http://evil/?code=c HTTP/1.1\r\n", true, false, false, "", "", "", ""},
        {"GET /?code=c&sta", false, false, false, "", "", "", ""},
        {std::string(MaxRedirectRequestLine + 1, 'A'), true, false, false, "", "", "", ""},
    };
    for (const auto& row : rows) {
        const TRedirectRequest request = ParseRedirectRequest(row.Received);
        SCOPED_TRACE(row.Received.substr(0, 60));
        EXPECT_EQ(request.Complete, row.Complete);
        EXPECT_EQ(request.Valid, row.Valid);
        EXPECT_EQ(request.IsAnswer(), row.Answer);
        EXPECT_EQ(request.Code, row.Code);
        EXPECT_EQ(request.State, row.State);
        EXPECT_EQ(request.Error, row.Error);
        EXPECT_EQ(request.ErrorDescription, row.Description);
    }
}

TEST(OAuthRules, TokenRequestsSendTheSecretOnlyWhenThereIsOne) {
    TOAuthClient client{"", "", "id", "", ""};
    EXPECT_EQ(FormBody(RefreshGrantForm(client, "rt/1+2")),
              "grant_type=refresh_token&refresh_token=rt%2F1%2B2&client_id=id");
    EXPECT_EQ(FormBody(CodeGrantForm(client, "4/c", "http://localhost:5", "v")),
              "grant_type=authorization_code&code=4%2Fc&redirect_uri=http%3A%2F%2Flocalhost%3A5&client_id=id"
              "&code_verifier=v");
    client.ClientSecret = "s";
    EXPECT_EQ(FormBody(RefreshGrantForm(client, "r")), "grant_type=refresh_token&refresh_token=r&client_id=id"
                                                       "&client_secret=s");
}

TEST(OAuthRules, TokenReplyIsGrantedRefusedOrFailed) {
    using O = TTokenOutcome;
    const struct {
        int Status;
        std::string Body;
        O Outcome;
        std::string Access, Refresh;
        std::int64_t ExpiresIn;
        std::string Error;
    } rows[] = {
        {200, R"({"access_token":"at.1-x","token_type":"Bearer","expires_in":3599,"refresh_token":"rt"})",
         O::Granted, "at.1-x", "rt", 3599, ""},
        {200, R"({"access_token":"at","token_type":"bearer","expires_in":"3600"})", O::Granted, "at", "",
         3600, ""},
        {200, R"({"access_token":"at","expires_in":-5})", O::Granted, "at", "", -1, ""},
        {200, R"({"access_token":"at","token_type":"mac"})", O::Failed, "", "", -1, ""},
        {200, R"({"access_token":"a t"})", O::Failed, "", "", -1, ""},
        {200, "{\"access_token\":\"at\\u0001x\"}", O::Failed, "", "", -1, ""},
        {200, R"({"token_type":"Bearer"})", O::Failed, "", "", -1, ""},
        {200, R"({"access_token":"at","refresh_token":"r t"})", O::Failed, "", "", -1, ""},
        {200, "<html>", O::Failed, "", "", -1, ""},
        {400, R"({"error":"invalid_grant","error_description":"AADSTS70000: revoked"})", O::Refused, "", "",
         -1, "invalid_grant"},
        {401, R"({"error":"invalid_client"})", O::Refused, "", "", -1, "invalid_client"},
        {400, R"({"error":"temporarily_unavailable"})", O::Failed, "", "", -1, ""},
        {400, "Bad Request", O::Failed, "", "", -1, ""},
        {503, R"({"error":"invalid_grant"})", O::Failed, "", "", -1, ""},
        {500, "", O::Failed, "", "", -1, ""},
    };
    for (const auto& row : rows) {
        const TTokenReply reply = ParseTokenReply(row.Status, row.Body);
        SCOPED_TRACE(std::to_string(row.Status) + " " + row.Body);
        EXPECT_EQ(reply.Outcome, row.Outcome);
        EXPECT_EQ(reply.AccessToken, row.Access);
        EXPECT_EQ(reply.RefreshToken, row.Refresh);
        EXPECT_EQ(reply.ExpiresIn, row.ExpiresIn);
        EXPECT_EQ(reply.Error, row.Error);
        EXPECT_EQ(reply.Why.empty(), row.Outcome == O::Granted);
    }
    // The server's description is shown on one line, shortened.
    const TTokenReply noisy =
        ParseTokenReply(400, R"({"error":"invalid_grant","error_description":"line1\r\nline2)" +
                                 std::string(1000, 'x') + "\"}");
    EXPECT_EQ(noisy.Why.find_first_of("\r\n"), std::string::npos);
    EXPECT_LT(noisy.Why.size(), 400u);
}

} // namespace

// The POP3 client's OAuth log-in against the scripted server: the mechanism CAPA offers, the
// initial response on the AUTH line or after "+", the error challenge answered so that the -ERR
// comes at once, a server that drops a long response, and no token in any text the client gives.
#include "mail/oauth_sasl.h"
#include "mail/pop3_client.h"
#include "tests/support/scripted_pop3_server.h"

#include <QElapsedTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace quillet;
using quillet::test::TScriptedPop3Server;

namespace {

const std::string kListing = "+OK 1 message\r\n1 120\r\n.\r\n";
// {"status":"401","schemes":"bearer","scope":"mail"} and {"status":"invalid_token"}
const std::string kXOAuth2Challenge =
    "+ eyJzdGF0dXMiOiI0MDEiLCJzY2hlbWVzIjoiYmVhcmVyIiwic2NvcGUiOiJtYWlsIn0=\r\n";
const std::string kBearerChallenge = "+ eyJzdGF0dXMiOiJpbnZhbGlkX3Rva2VuIn0=\r\n";

std::string Capa(const std::string& Sasl) {
    return "+OK\r\nUSER\r\n" + (Sasl.empty() ? std::string() : "SASL " + Sasl + "\r\n") + ".\r\n";
}

TEST(Pop3OAuth, LogInExchangesEndAsTheServerSaysAndNeverShowTheToken) {
    using M = TOAuthMechanism;
    const std::string shortToken = "ya29.short-token";
    const std::string longToken = std::string(6000, 'T');
    const struct {
        const char* Name;
        std::string Token;
        std::function<void(TScriptedPop3Server&, const std::string& Token)> Script;
        bool LoggedIn, Refused;
        std::string Reply, Refusal;
    } rows[] = {
        {"XOAUTH2 preferred, a short response on the AUTH line", shortToken,
         [](TScriptedPop3Server& S, const std::string& T) {
             S.Expect("CAPA").Send(Capa("PLAIN OAUTHBEARER XOAUTH2"));
             S.Expect("AUTH XOAUTH2 " + OAuthResponse(M::XOAuth2, "alice", T)).Send("+OK Logged in.\r\n");
             S.Expect("LIST").Send(kListing);
         },
         true, false, kListing, ""},
        {"OAUTHBEARER alone, a 6,000-character token after the server's '+'", longToken,
         [](TScriptedPop3Server& S, const std::string& T) {
             S.Expect("CAPA").Send(Capa("OAUTHBEARER"));
             S.Expect("AUTH OAUTHBEARER").Send("+ \r\n");
             S.Expect(OAuthResponse(M::OAuthBearer, "alice", T)).Send("+OK\r\n");
             S.Expect("LIST").Send(kListing);
         },
         true, false, kListing, ""},
        {"no CAPA: XOAUTH2 is tried", shortToken,
         [](TScriptedPop3Server& S, const std::string& T) {
             S.Expect("CAPA").Send("-ERR what?\r\n");
             S.Expect("AUTH XOAUTH2 " + OAuthResponse(M::XOAuth2, "alice", T)).Send("+OK\r\n");
             S.Expect("LIST").Send(kListing);
         },
         true, false, kListing, ""},
        {"XOAUTH2 error challenge answered with an empty line", shortToken,
         [](TScriptedPop3Server& S, const std::string& T) {
             S.Expect("CAPA").Send(Capa("XOAUTH2"));
             S.Expect("AUTH XOAUTH2 " + OAuthResponse(M::XOAuth2, "alice", T)).Send(kXOAuth2Challenge);
             S.Expect("").Send("-ERR [AUTH] Authentication failed.\r\n");
         },
         false, true, "-ERR [AUTH] Authentication failed.\r\n", "status 401"},
        {"OAUTHBEARER error challenge answered with AQ==", longToken,
         [](TScriptedPop3Server& S, const std::string& T) {
             S.Expect("CAPA").Send(Capa("OAUTHBEARER"));
             S.Expect("AUTH OAUTHBEARER").Send("+ \r\n");
             S.Expect(OAuthResponse(M::OAuthBearer, "alice", T)).Send(kBearerChallenge);
             S.Expect("AQ==").Send("-ERR [AUTH] Authentication failed.\r\n");
         },
         false, true, "-ERR [AUTH] Authentication failed.\r\n", "status invalid_token"},
        {"a busy mailbox is no refused token", shortToken,
         [](TScriptedPop3Server& S, const std::string& T) {
             S.Expect("CAPA").Send(Capa("XOAUTH2"));
             S.Expect("AUTH XOAUTH2 " + OAuthResponse(M::XOAuth2, "alice", T))
                 .Send("-ERR [IN-USE] locked\r\n");
         },
         false, false, "-ERR [IN-USE] locked\r\n", ""},
        {"no OAuth offered: nothing is sent", shortToken,
         [](TScriptedPop3Server& S, const std::string&) { S.Expect("CAPA").Send(Capa("PLAIN LOGIN")); },
         false, false, "Not sent: the server offers no OAuth sign-in (SASL PLAIN LOGIN)", ""},
        {"connection dropped after a long response", longToken,
         [](TScriptedPop3Server& S, const std::string& T) {
             S.Expect("CAPA").Send(Capa("XOAUTH2"));
             S.Expect("AUTH XOAUTH2").Send("+ \r\n");
             S.Expect(OAuthResponse(M::XOAuth2, "alice", T)).Close();
         },
         false, false, "may be too long for this server", ""},
        {"silence after the token ends at the time-out", shortToken,
         [](TScriptedPop3Server& S, const std::string& T) {
             S.Expect("CAPA").Send(Capa("XOAUTH2"));
             S.Expect("AUTH XOAUTH2 " + OAuthResponse(M::XOAuth2, "alice", T)).Silence(5000);
         },
         false, false, "Timed out: no data for 1 seconds while waiting for the reply to AUTH XOAUTH2", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        TScriptedPop3Server server;
        server.Send("+OK ready\r\n");
        row.Script(server, row.Token);
        TPop3Client pop;
        pop.SetTimeOut(1);
        pop.Host = "127.0.0.1";
        pop.Port = server.Listen() ? server.Port() : 0;
        pop.UserName = "alice";
        pop.UseOAuth = true;
        pop.AccessToken = row.Token;
        ASSERT_TRUE(pop.Connect());
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(pop.Login(), row.LoggedIn);
        EXPECT_LT(clock.elapsed(), 2500) << "the -ERR after a challenge comes at once";
        EXPECT_EQ(pop.AccessTokenRefused(), row.Refused);
        EXPECT_NE(pop.LastReply().find(row.Reply), std::string::npos) << pop.LastReply();
        EXPECT_EQ(pop.SaslRefusal(), row.Refusal);
        EXPECT_EQ(pop.LastReply().find(row.Token), std::string::npos) << "the token is never shown";
        EXPECT_EQ(pop.LastReply().find(OAuthResponse(M::XOAuth2, "alice", row.Token).substr(0, 20)),
                  std::string::npos);
        if (row.LoggedIn) {
            EXPECT_EQ(pop.MessageCount(), 1);
        }
        for (const auto& e : server.Errors())
            ADD_FAILURE() << e;
    }
}

TEST(Pop3OAuth, SaslTextsAreReadAsTheRfcsWriteThem) {
    EXPECT_EQ(
        QByteArray::fromBase64(QByteArray::fromStdString(OAuthResponse(TOAuthMechanism::XOAuth2, "a@b", "T")))
            .toStdString(),
        "user=a@b\x01"
        "auth=Bearer T\x01\x01");
    EXPECT_EQ(QByteArray::fromBase64(
                  QByteArray::fromStdString(OAuthResponse(TOAuthMechanism::OAuthBearer, "a,b=c", "T")))
                  .toStdString(),
              "n,a=a=2Cb=3Dc,\x01"
              "auth=Bearer T\x01\x01");
    const struct {
        std::string Capa;
        std::vector<std::string> Mechanisms;
        bool Chosen;
        TOAuthMechanism Mechanism;
    } rows[] = {
        {"+OK\r\nTOP\r\nSASL PLAIN xoauth2 OAUTHBEARER\r\n.\r\n",
         {"PLAIN", "XOAUTH2", "OAUTHBEARER"},
         true,
         TOAuthMechanism::XOAuth2},
        {"+OK\r\nSASL OAUTHBEARER\r\n.\r\n", {"OAUTHBEARER"}, true, TOAuthMechanism::OAuthBearer},
        {"+OK\r\nSASL PLAIN\r\n.\r\n", {"PLAIN"}, false, TOAuthMechanism::XOAuth2},
        {"+OK\r\nSASLX XOAUTH2\r\n.\r\n", {}, true, TOAuthMechanism::XOAuth2},
        {"-ERR\r\n", {}, true, TOAuthMechanism::XOAuth2},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(SaslMechanisms(row.Capa), row.Mechanisms) << row.Capa;
        const auto chosen = ChooseOAuthMechanism(SaslMechanisms(row.Capa), row.Capa.starts_with("+OK"));
        EXPECT_EQ(chosen.has_value(), row.Chosen) << row.Capa;
        if (chosen) {
            EXPECT_EQ(*chosen, row.Mechanism) << row.Capa;
        }
    }
    const struct {
        const char* Line;
        bool Continuation, Empty;
        std::string Text;
    } challenges[] = {
        {"+ \r\n", true, true, ""},
        {"+\r\n", true, true, ""},
        {"+ eyJzdGF0dXMiOjQwMX0=\r\n", true, false, "status 401"}, // {"status":401}
        {"+ bm90IGpzb24=\r\n", true, false, "not json"},
        {"+ !!!\r\n", true, false, "!!!"},
        {"+OK\r\n", false, false, ""},
        {"-ERR\r\n", false, false, ""},
    };
    for (const auto& row : challenges) {
        const TSaslChallenge challenge = ReadSaslChallenge(row.Line);
        EXPECT_EQ(challenge.IsContinuation, row.Continuation) << row.Line;
        EXPECT_EQ(challenge.Empty, row.Empty) << row.Line;
        EXPECT_EQ(challenge.Text, row.Text) << row.Line;
    }
}

} // namespace

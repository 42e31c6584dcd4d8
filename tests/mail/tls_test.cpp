// TLS for real mailboxes: POP3S and STLS against a private Dovecot with a throw-away CA, the
// STLS rules against the scripted server (no STLS, no log-in; nothing said before the handshake
// is read after it), and a trusted certificate whether or not its server also sends its issuer.
#include "mail/pop3_client.h"
#include "mail/tls_policy.h"
#include "tests/support/dovecot_server.h"
#include "tests/support/scripted_pop3_server.h"
#include "tests/support/test_ca.h"

#include <gtest/gtest.h>
#include <memory>

using namespace quillet;
using quillet::test::TDovecotServer;
using quillet::test::TScriptedPop3Server;
using quillet::test::TServerCertificate;
using quillet::test::TTestCa;
using Lines = std::vector<std::string>;

namespace {

TTestCa& Ca() {
    static TTestCa ca;
    return ca;
}

void Prepare(TPop3Client& Pop, std::uint16_t Port, TSecurity Security, bool TrustCa) {
    Pop.Host = "127.0.0.1";
    Pop.Port = Port;
    Pop.Security = Security;
    Pop.UserName = "bob";
    Pop.Password = "secret";
    Pop.SetTimeOut(10);
    if (TrustCa)
        Pop.Conversation()->ExtraCaCertificates = {Ca().Certificate()};
}

TEST(Pop3Tls, StlsMustBeOfferedAndAcceptedBeforeAnyCredentials) {
    const std::tuple<std::string, Lines, std::string> rows[] = {
        {"+OK\r\nTOP\r\nUIDL\r\n.\r\n", {"CAPA"}, "the server does not offer STLS"},
        {"-ERR no capabilities here\r\n", {"CAPA"}, "the server does not offer STLS"},
        {"+OK\r\nSTLS\r\n.\r\n", {"CAPA", "STLS"}, "the server refused STLS: -ERR not today\r\n"},
    };
    for (const auto& [capa, sent, reason] : rows) {
        TScriptedPop3Server server;
        server.Send("+OK ready\r\n").Expect("CAPA").Send(capa);
        if (sent.size() > 1)
            server.Expect("STLS").Send("-ERR not today\r\n");
        ASSERT_TRUE(server.Listen());
        TPop3Client pop;
        Prepare(pop, server.Port(), TSecurity::StartTls, true);
        EXPECT_FALSE(pop.Connect()) << capa;
        EXPECT_TRUE(pop.TlsFailed());
        EXPECT_EQ(pop.LastReply(), reason);
        EXPECT_FALSE(pop.Conversation()->Opened());
        EXPECT_EQ(server.Received(), sent) << "USER and PASS are never sent";
    }
}

TEST(Pop3Tls, LineAfterTheStlsReplyIsNeverReadAfterTheHandshake) {
    ASSERT_TRUE(Ca().Ok()) << "openssl could not make the test CA";
    const TServerCertificate cert = Ca().Issue("scripted");
    TScriptedPop3Server server;
    server.Send("+OK ready\r\n")
        .Expect("CAPA")
        .Send("+OK\r\nSTLS\r\n.\r\n")
        .Expect("STLS")
        .Send("+OK begin TLS\r\n+OK injected\r\n")
        .StartTls(cert.Certificate, cert.Key)
        .Expect("CAPA")
        .Send("+OK\r\nTOP\r\nUSER\r\n.\r\n")
        .Expect("USER bob")
        .Send("+OK\r\n")
        .Expect("PASS secret")
        .Send("-ERR invalid password\r\n");
    ASSERT_TRUE(server.Listen());
    TPop3Client pop;
    Prepare(pop, server.Port(), TSecurity::StartTls, true);
    ASSERT_TRUE(pop.Connect()) << pop.LastReply();
    EXPECT_FALSE(pop.TlsSummary().empty());
    EXPECT_TRUE(pop.HasCapability("TOP"));
    EXPECT_FALSE(pop.Login()) << "PASS is judged by its own reply, not by the injected line";
    EXPECT_EQ(pop.LastReply(), "-ERR invalid password\r\n");
    for (const auto& e : server.Errors())
        ADD_FAILURE() << e;
}

// "Trust this certificate" for a server with a self-made CA that the computer does not trust:
// the server sends its certificate alone or followed by the CA, and the account trusts that
// exact certificate, nothing, or the CA.
TEST(Pop3Tls, TrustedCertificateConnectsWhetherOrNotItsIssuerIsSentToo) {
    ASSERT_TRUE(Ca().Ok()) << "openssl could not make the test CA";
    const TServerCertificate leaf = Ca().Issue("self-made");
    const std::string caFingerprint = CertificateFingerprint(Ca().Certificate());
    const std::tuple<const char*, bool, std::string, bool> rows[] = {
        // row, server sends the CA too, trusted fingerprint, connects
        {"certificate alone, it is trusted", false, leaf.Fingerprint, true},
        {"certificate and CA, it is trusted", true, leaf.Fingerprint, true},
        {"certificate and CA, nothing trusted", true, "", false},
        {"certificate and CA, the CA is trusted", true, caFingerprint, false},
    };
    for (const auto& [row, sendCa, trusted, connects] : rows) {
        TScriptedPop3Server server;
        server
            .StartTls(leaf.Certificate, leaf.Key,
                      sendCa ? QList{Ca().Certificate()} : QList<QSslCertificate>{})
            .Send("+OK ready\r\n");
        ASSERT_TRUE(server.Listen());
        TPop3Client pop;
        Prepare(pop, server.Port(), TSecurity::Tls, false);
        pop.TrustedCert = trusted;
        EXPECT_EQ(pop.Connect(), connects) << row << ": " << pop.LastReply();
        EXPECT_EQ(pop.TlsFailed(), !connects) << row;
        EXPECT_EQ(pop.TlsCertificateFingerprint(), leaf.Fingerprint) << row;
        pop.Abort();
    }
}

// A trusted certificate forgives every problem of its chain, except a certificate withdrawn by
// its issuer; any other certificate forgives nothing.
TEST(TlsPolicy, TrustedCertificateForgivesChainProblemsButNotWithdrawal) {
    ASSERT_TRUE(Ca().Ok()) << "openssl could not make the test CA";
    const TServerCertificate leaf = Ca().Issue("policy");
    const QSslCertificate& ca = Ca().Certificate();
    using E = QSslError;
    const std::tuple<const char*, QList<QSslError>, QSslCertificate, bool> rows[] = {
        {"its own problems",
         {E(E::HostNameMismatch, leaf.Certificate), E(E::CertificateExpired, leaf.Certificate)},
         leaf.Certificate,
         true},
        {"its issuer's problems",
         {E(E::SelfSignedCertificateInChain, ca), E(E::CertificateUntrusted, ca),
          E(E::InvalidCaCertificate, ca)},
         leaf.Certificate,
         true},
        {"revoked", {E(E::CertificateRevoked, leaf.Certificate)}, leaf.Certificate, false},
        {"issuer blacklisted", {E(E::CertificateBlacklisted, ca)}, leaf.Certificate, false},
        {"no certificate", {E(E::NoPeerCertificate)}, QSslCertificate(), false},
        {"another certificate", {E(E::SelfSignedCertificate, ca)}, ca, false},
    };
    for (const auto& [row, errors, peer, forgives] : rows)
        EXPECT_EQ(TrustedCertificateForgives(errors, peer, leaf.Fingerprint), forgives) << row;
}

class DovecotTls : public ::testing::Test {
protected:
    static inline std::unique_ptr<TDovecotServer> Server;
    static inline std::string StartError;
    static inline TServerCertificate First;

    static void SetUpTestSuite() {
        if (!TDovecotServer::Installed() || !Ca().Ok())
            return;
        First = Ca().Issue("dovecot-first");
        Server = std::make_unique<TDovecotServer>();
        Server->AddUser("bob", "secret");
        Server->Deliver("bob", "From: a@example.org\nSubject: over TLS\nMessage-ID: <1@x>\n\nBody\n");
        Server->EnableTls(First.CertPath, First.KeyPath);
        if (!Server->Start(StartError) && StartError.empty())
            StartError = "dovecot did not start";
    }
    static void TearDownTestSuite() { Server.reset(); }

    void SetUp() override {
        if (!TDovecotServer::Installed()) {
            if (TDovecotServer::Required())
                FAIL() << "Dovecot (dovecot-pop3d) is required in CI but not installed";
            GTEST_SKIP() << "Dovecot is not installed";
        }
        ASSERT_TRUE(Ca().Ok()) << "openssl could not make the test CA";
        ASSERT_TRUE(StartError.empty()) << StartError;
    }
};

TEST_F(DovecotTls, ImplicitTlsAndStlsWithTheCaTrustedOrTheCertificatePinned) {
    for (const auto security : {TSecurity::Tls, TSecurity::StartTls}) {
        TPop3Client pop;
        Prepare(pop, security == TSecurity::Tls ? Server->TlsPort() : Server->Port(), security, true);
        ASSERT_TRUE(pop.Connect()) << pop.LastReply();
        EXPECT_TRUE(pop.Login()) << pop.LastReply();
        EXPECT_EQ(pop.MessageCount(), 1);
        EXPECT_NE(pop.TlsSummary().find("TLSv1."), std::string::npos) << pop.TlsSummary();
        EXPECT_TRUE(pop.FetchTop(1, 0));
        EXPECT_TRUE(pop.Quit());
    }

    // Not trusted: the check fails, saying why and which certificate it was.
    TPop3Client untrusted;
    Prepare(untrusted, Server->TlsPort(), TSecurity::Tls, false);
    EXPECT_FALSE(untrusted.Connect());
    EXPECT_TRUE(untrusted.TlsFailed());
    EXPECT_EQ(untrusted.LastReply().rfind("TLS handshake failed: ", 0), 0u) << untrusted.LastReply();
    EXPECT_EQ(untrusted.TlsCertificateFingerprint(), First.Fingerprint);
    EXPECT_NE(untrusted.TlsCertificateText().find("Subject: dovecot-first"), std::string::npos);

    // Trusting that one certificate lets the account in without the CA.
    TPop3Client pinned;
    Prepare(pinned, Server->TlsPort(), TSecurity::Tls, false);
    pinned.TrustedCert = First.Fingerprint;
    ASSERT_TRUE(pinned.Connect()) << pinned.LastReply();
    pinned.Abort();

    // The server's certificate changes: the pinned one no longer matches, even with the CA trusted.
    const TServerCertificate second = Ca().Issue("dovecot-second");
    Server->EnableTls(second.CertPath, second.KeyPath);
    std::string why;
    ASSERT_TRUE(Server->Restart(why)) << why;
    TPop3Client changed;
    Prepare(changed, Server->TlsPort(), TSecurity::Tls, true);
    changed.TrustedCert = First.Fingerprint;
    EXPECT_FALSE(changed.Connect());
    EXPECT_TRUE(changed.TlsFailed());
    EXPECT_EQ(changed.TlsCertificateFingerprint(), second.Fingerprint);
}

} // namespace

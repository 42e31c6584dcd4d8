// TLS for real mailboxes: POP3S and STLS against a private Dovecot with a throw-away CA, the
// STLS rules against the scripted server (no STLS, no log-in; nothing said before the handshake
// is read after it, also by a re-check that counts on the last session's capabilities), a
// trusted certificate whether or not its server also sends its issuer, and the same mail read
// with and without the fast paths, a re-check resuming the last check's TLS session.
#include "mail/pop3_client.h"
#include "mail/tls_policy.h"
#include "tests/support/delay_proxy.h"
#include "tests/support/dovecot_server.h"
#include "tests/support/scripted_pop3_server.h"
#include "tests/support/test_ca.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <memory>

using namespace quillet;
using quillet::test::TDelayProxy;
using quillet::test::TDovecotServer;
using quillet::test::TScriptedPop3Server;
using quillet::test::TServerCertificate;
using quillet::test::TTestCa;
using Lines = std::vector<std::string>;
using namespace std::chrono_literals;

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

// A re-check of an STLS account writes CAPA with USER and PASS, but only after the handshake:
// what was said before TLS is never taken for the session's capabilities, and the TLS session of
// the last check is offered again.
TEST(Pop3Tls, ARecheckAsksTheCapabilitiesAgainAfterStls) {
    ASSERT_TRUE(Ca().Ok()) << "openssl could not make the test CA";
    const TServerCertificate cert = Ca().Issue("scripted");
    const std::string before = "+OK\r\nSTLS\r\nPIPELINING\r\n.\r\n";
    const std::string after = "+OK\r\nPIPELINING\r\nUIDL\r\nUSER\r\n.\r\n";
    const std::string logIn = "+OK\r\n+OK\r\n+OK\r\n1 10\r\n.\r\n+OK\r\n1 a\r\n.\r\n";
    TScriptedPop3Server server;
    server.Send("+OK\r\n").Expect("CAPA").Send(before).Expect("STLS").Send("+OK\r\n").StartTls(
        cert.Certificate, cert.Key);
    server.Expect("CAPA").Send(after).Expect("USER bob").Expect("PASS secret").Expect("LIST").Expect("UIDL");
    server.Send(logIn).Expect("QUIT").Send("+OK\r\n").NextConnection();
    server.Send("+OK\r\n").Expect("CAPA").Send(before).Expect("STLS").Send("+OK\r\n").StartTls(
        cert.Certificate, cert.Key);
    server.Expect("CAPA").Expect("USER bob").Expect("PASS secret").Expect("LIST").Expect("UIDL");
    server.Send(after + logIn).Expect("QUIT").Send("+OK\r\n");
    ASSERT_TRUE(server.Listen());
    TPop3Client pop;
    Prepare(pop, server.Port(), TSecurity::StartTls, true);
    pop.UseFastChecks = true;
    for (int check = 1; check <= 2; ++check) {
        ASSERT_TRUE(pop.Connect() && pop.Login()) << check << ": " << pop.LastReply();
        EXPECT_EQ(pop.Capabilities(), (Lines{"PIPELINING", "UIDL", "USER"})) << check;
        EXPECT_EQ(pop.UniqueIdOf(1), "a") << check;
        EXPECT_EQ(pop.Conversation()->TlsSessionOffered(), check == 2);
        EXPECT_TRUE(pop.Quit()) << check;
    }
    const Lines logInWrite = {"USER bob", "PASS secret", "LIST", "UIDL"};
    const Lines capaAndLogIn = {"CAPA", "USER bob", "PASS secret", "LIST", "UIDL"};
    EXPECT_EQ(
        server.Arrivals(),
        (std::vector<Lines>{
            {"CAPA"}, {"STLS"}, {"CAPA"}, logInWrite, {"QUIT"}, {"CAPA"}, {"STLS"}, capaAndLogIn, {"QUIT"}}));
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

constexpr int kFastMessages = 30;

// Messages of 1 to 59 body lines, some starting with a dot, some longer than the TOP's 20 lines.
std::string FastMessage(int I) {
    std::string text = "From: Sender " + std::to_string(I) + " <s" + std::to_string(I) +
                       "@example.com>\nSubject: Fast " + std::to_string(I) + "\nMessage-ID: <" +
                       std::to_string(I) + "@fast.test>\n\n";
    for (int n = 1; n <= (I * 13) % 59 + 1; ++n)
        text += (n % 7 == 3 ? ".dotted line " : "line ") + std::to_string(n) + "\n";
    return text;
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
        Server->AddUser("fast", "pw-fast");
        for (int i = 1; i <= kFastMessages; ++i)
            Server->Deliver("fast", FastMessage(i));
        Server->EnableTls(First.CertPath, First.KeyPath);
        Server->ShareLoginProcess(); // so that a TLS session can be resumed
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

// The same mailbox read with and without the fast paths, over plain POP3, STLS and implicit
// TLS, in a first check and a re-check: the same messages, sizes and texts every time. A fast
// re-check writes CAPA with its log-in (one turn fewer than its first check), and a re-check
// over TLS resumes the last check's TLS session: the server sends no certificate.
TEST_F(DovecotTls, FastAndPlainChecksReadTheSameMailOverPlainStlsAndImplicitTls) {
    TDelayProxy plainProxy(Server->Port(), 0ms), tlsProxy(Server->TlsPort(), 0ms);
    ASSERT_TRUE(plainProxy.Listen() && tlsProxy.Listen());
    struct TSession {
        std::int32_t Count = -1;
        TMessageSize Sizes;
        std::vector<std::string> Texts;
        std::size_t UniqueIds = 0;
        bool SessionOffered = false;
        int Turns = 0;
        std::int64_t Bytes = 0; // from the server
    };
    const auto check = [](TPop3Client& Pop, const TDelayProxy& Proxy) {
        TSession session;
        const int turns = Proxy.ClientTurns();
        const std::int64_t bytes = Proxy.BytesToClient();
        if (!Pop.Connect() || !Pop.Login()) {
            ADD_FAILURE() << Pop.LastReply();
            return session;
        }
        session.Count = Pop.MessageCount();
        session.Sizes = Pop.MessageSizes();
        session.UniqueIds = Pop.UniqueIds().size();
        session.SessionOffered = Pop.Conversation()->TlsSessionOffered();
        Pop.FetchTopRange(1, Pop.MessageCount(), 20, [&](std::int32_t, bool Ok, const std::string& Text) {
            session.Texts.push_back(Ok ? Text : "(refused)");
            return true;
        });
        EXPECT_TRUE(Pop.Quit()) << Pop.LastReply();
        session.Turns = Proxy.ClientTurns() - turns;
        session.Bytes = Proxy.BytesToClient() - bytes;
        return session;
    };
    const auto certificateSize = static_cast<std::int64_t>(First.Certificate.toDer().size());
    // The client's turns (the round trips it waited for) of a fast first check, a fast re-check
    // and a first check one command at a time, less one per message. Fast: CAPA, the log-in with
    // the listing, the TOP run, QUIT; one at a time: USER, PASS, LIST, a TOP per message, QUIT.
    // Implicit TLS adds the two turns of the handshake; STLS adds CAPA and STLS before it, and
    // the handshake's second turn carries the first command after it (no greeting to wait for).
    const struct {
        TSecurity Security;
        int FastFirst, FastRecheck, SerialLessMessages;
    } rows[] = {{TSecurity::None, 4, 3, 4}, {TSecurity::Tls, 6, 5, 6}, {TSecurity::StartTls, 7, 6, 8}};
    for (const auto& [security, fastFirst, fastRecheck, serialLessMessages] : rows) {
        SCOPED_TRACE(static_cast<int>(security));
        TDelayProxy& proxy = security == TSecurity::Tls ? tlsProxy : plainProxy;
        std::map<bool, std::vector<TSession>> checks; // fast or not: the first check and the re-check
        for (const bool fast : {false, true}) {
            TPop3Client pop;
            Prepare(pop, proxy.Port(), security, true);
            pop.UserName = "fast";
            pop.Password = "pw-fast";
            pop.UseFastChecks = fast;
            checks[fast].push_back(check(pop, proxy));
            checks[fast].push_back(check(pop, proxy));
        }
        const TSession& reference = checks[false][0];
        ASSERT_EQ(reference.Count, kFastMessages);
        ASSERT_EQ(reference.Texts.size(), static_cast<std::size_t>(kFastMessages));
        const Lines third = ServerTextLines(reference.Texts[2]);
        EXPECT_EQ(third.back(), "line 20") << "cut at 20 body lines";
        EXPECT_NE(std::ranges::find(third, ".dotted line 3"), third.end()) << "un-stuffed";
        for (const bool fast : {false, true}) {
            for (const TSession& session : checks[fast]) {
                EXPECT_EQ(session.Sizes, reference.Sizes) << fast;
                EXPECT_EQ(session.Texts, reference.Texts) << fast;
                EXPECT_EQ(session.UniqueIds, fast ? static_cast<std::size_t>(kFastMessages) : 0u);
            }
            if (security != TSecurity::None) {
                EXPECT_TRUE(checks[fast][1].SessionOffered) << fast;
                EXPECT_LE(checks[fast][1].Bytes + certificateSize, checks[fast][0].Bytes)
                    << fast << ": the re-check's handshake resumed the session";
            }
        }
        EXPECT_EQ(checks[true][0].Turns, fastFirst);
        EXPECT_EQ(checks[true][1].Turns, fastRecheck) << "CAPA goes out with the log-in";
        EXPECT_EQ(checks[false][0].Turns, serialLessMessages + kFastMessages);
    }
}

} // namespace

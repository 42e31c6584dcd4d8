// TLS and capabilities of TPop3Client: STLS and its handshake, CAPA and what it lists (kept for
// the next session with the same server), and the descriptions of the encrypted connection.
#include "mail/oauth_sasl.h"
#include "mail/pop3_client.h"
#include "mail/pop3_text.h"
#include "mail/pop3_wire.h"
#include "mail/tls_policy.h"
#include "util/text_convert.h"

#include <algorithm>

namespace quillet {

using pop3_wire::CodeOf;
using pop3_wire::kLineEnd;
using pop3_wire::kListEnd;

void TPop3Client::FailTls(const std::string& Why) {
    FTlsFailed = true;
    const std::string reason = Why;
    Abort();
    FConversation->Refuse(reason);
}

bool TPop3Client::StartTls() {
    // CAPA tells whether STLS is offered; a server without CAPA (or refusing it) offers nothing.
    AskCapabilities(false);
    if (!FConversation->Active()) {
        FailTls(FromQString(tr("the connection closed before TLS could start")));
        return false;
    }
    if (!HasCapability("STLS")) {
        FailTls(FromQString(tr("the server does not offer STLS")));
        return false;
    }
    if (!Exchange("STLS", "", "", kLineEnd, TPop3Exchange::Stls)) {
        FailTls(FromQString(tr("the server refused STLS: %1").arg(ToQString(LastReply()))));
        return false;
    }
    FConversation->StartTls(CodeOf(TPop3Exchange::Handshake));
    FConversation->WaitReply();
    if (!FConversation->ReplyOK() || !FConversation->Encrypted()) {
        FailTls(LastReply());
        return false;
    }
    // What was said before TLS cannot be trusted: the capabilities are asked again (with the
    // log-in, when the last session allows it).
    FCapabilities.clear();
    FSaslMechanisms.clear();
    FCapaAsked = false;
    if (UseFastChecks)
        AskOrDeferCapabilities();
    else
        AskCapabilities(true);
    return FConversation->Active();
}

void TPop3Client::AskCapabilities(bool Final) {
    const bool ok = Exchange("CAPA", "", "", kListEnd, TPop3Exchange::Capa);
    TakeCapabilities(ok, LastReply(), Final);
}

void TPop3Client::TakeCapabilities(bool Ok, const std::string& Reply, bool Final) {
    // A server without CAPA, or one that refuses it, has no capabilities.
    FCapabilities.clear();
    FSaslMechanisms.clear();
    FLoginDelay = -1;
    FCapaAsked = true;
    if (Ok) {
        FCapabilities = ParseCapabilities(Reply);
        FSaslMechanisms = quillet::SaslMechanisms(Reply);
        FLoginDelay = CapabilityNumber(Reply, "LOGIN-DELAY");
    }
    if (Final && (Ok || FConversation->Active())) {
        // What this session was told is what the next one counts on; a lost connection says
        // nothing about the server.
        FKeptCapabilities = FCapabilities;
        FKeptFor = ServerKey();
    }
}

std::string TPop3Client::ServerKey() const {
    return Host + ":" + std::to_string(Port) + ":" + std::to_string(static_cast<int>(Security));
}

bool TPop3Client::KeptCapability(const std::string& Name) const {
    return FKeptFor == ServerKey() &&
           std::find(FKeptCapabilities.begin(), FKeptCapabilities.end(), Name) != FKeptCapabilities.end();
}

void TPop3Client::AskOrDeferCapabilities() {
    if (KeptCapability("PIPELINING"))
        FCapaDeferred = true; // written with USER and PASS; its reply confirms or corrects
    else
        AskCapabilities(true);
}

bool TPop3Client::HasCapability(const std::string& Name) const {
    return std::find(FCapabilities.begin(), FCapabilities.end(), Name) != FCapabilities.end();
}

std::string TPop3Client::TlsCertificateText() const {
    return CertificateText(FConversation->PeerCertificate());
}

std::string TPop3Client::TlsCertificateFingerprint() const {
    return CertificateFingerprint(FConversation->PeerCertificate());
}

std::string TPop3Client::TlsSummary() const {
    return FConversation->Encrypted() ? FConversation->TlsSummary() : std::string();
}

} // namespace quillet

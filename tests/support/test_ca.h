// A throw-away certificate authority for TLS tests, made with the openssl program in a temporary
// folder: a CA, and server certificates it signs for "localhost" and 127.0.0.1. The CA is handed
// to the client under test; the system's trust store is never touched.
#pragma once

#include <QSslCertificate>
#include <QSslKey>
#include <QTemporaryDir>
#include <string>

namespace quillet::test {

struct TServerCertificate {
    std::string CertPath, KeyPath;
    QSslCertificate Certificate;
    QSslKey Key;
    // SHA-256 of the certificate, upper-case hexadecimal with colons.
    std::string Fingerprint;
};

class TTestCa {
public:
    // Creates the CA; Ok() tells whether openssl did its part.
    TTestCa();
    bool Ok() const { return FOk; }
    const QSslCertificate& Certificate() const { return FCaCert; }
    // A new server certificate signed by the CA, for Names (subject alternative names such as
    // "DNS:localhost,IP:127.0.0.1"), valid for Days from now.
    TServerCertificate Issue(const std::string& Name, const std::string& Names = "DNS:localhost,IP:127.0.0.1",
                             int Days = 30);

private:
    bool Run(const std::string& Command) const;
    QTemporaryDir FDir;
    std::string FRoot;
    QSslCertificate FCaCert;
    bool FOk = false;
};

} // namespace quillet::test

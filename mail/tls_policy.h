// What the program accepts from a server's TLS certificate, and how it describes one. A
// certificate is checked against the system's trust store and the host name. An account may
// trust one exact certificate instead (by its SHA-256 fingerprint): then that certificate alone is
// accepted, and only its own problems (host name, expiry, an issuer nobody vouches for) are
// forgiven.
#pragma once

#include <QList>
#include <QSslCertificate>
#include <QSslError>
#include <string>

namespace quillet {

// SHA-256 of the certificate as upper-case hexadecimal pairs joined by colons.
std::string CertificateFingerprint(const QSslCertificate& Certificate);

// True when the handshake may go on despite Errors: the peer's certificate is the trusted one
// (TrustedFingerprint not empty and equal to its fingerprint) and every error is one that a
// trusted certificate forgives.
bool TrustedCertificateForgives(const QList<QSslError>& Errors, const QSslCertificate& Peer,
                                const std::string& TrustedFingerprint);

// "Subject: ...; issuer: ...; valid from ... to ...; SHA-256: ..." for the System pane.
std::string CertificateText(const QSslCertificate& Certificate);

} // namespace quillet

// What the program accepts from a server's TLS certificate, and how it describes one. A
// certificate is checked against the system's trust store and the host name. An account may
// trust one exact certificate instead (by its SHA-256 fingerprint): then that certificate alone is
// accepted, and every problem of it and of the chain the server sends with it (host name, expiry,
// a self-made or unknown issuer, whether the issuer is sent along or not) is forgiven, except a
// certificate revoked or blacklisted.
#pragma once

#include <QList>
#include <QSslCertificate>
#include <QSslError>
#include <string>

namespace quillet {

// SHA-256 of the certificate as upper-case hexadecimal pairs joined by colons.
std::string CertificateFingerprint(const QSslCertificate& Certificate);

// True when the handshake may go on despite Errors: the peer's certificate is the trusted one
// (TrustedFingerprint not empty and equal to its fingerprint) and no error is one that even a
// trusted certificate does not forgive (a revoked or blacklisted certificate anywhere in the
// chain, no certificate at all).
bool TrustedCertificateForgives(const QList<QSslError>& Errors, const QSslCertificate& Peer,
                                const std::string& TrustedFingerprint);

// "Subject: ...; issuer: ...; valid from ... to ...; SHA-256: ..." for the System pane.
std::string CertificateText(const QSslCertificate& Certificate);

} // namespace quillet

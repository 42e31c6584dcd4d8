#include "mail/tls_policy.h"

#include <QCryptographicHash>
#include <QDateTime>

namespace quillet {

std::string CertificateFingerprint(const QSslCertificate& Certificate) {
    if (Certificate.isNull())
        return {};
    return Certificate.digest(QCryptographicHash::Sha256).toHex(':').toUpper().toStdString();
}

bool TrustedCertificateForgives(const QList<QSslError>& Errors, const QSslCertificate& Peer,
                                const std::string& TrustedFingerprint) {
    if (TrustedFingerprint.empty() || CertificateFingerprint(Peer) != TrustedFingerprint)
        return false;
    for (const QSslError& error : Errors) {
        switch (error.error()) {
        case QSslError::HostNameMismatch:
        case QSslError::CertificateExpired:
        case QSslError::CertificateNotYetValid:
        case QSslError::SelfSignedCertificate:
        case QSslError::SelfSignedCertificateInChain:
        case QSslError::UnableToGetLocalIssuerCertificate:
        case QSslError::UnableToVerifyFirstCertificate:
        case QSslError::CertificateUntrusted:
            break;
        default:
            return false; // a revoked or malformed certificate stays refused
        }
        if (!error.certificate().isNull() && error.certificate() != Peer)
            return false; // a problem of another certificate in the chain
    }
    return true;
}

std::string CertificateText(const QSslCertificate& Certificate) {
    if (Certificate.isNull())
        return "no certificate";
    const auto name = [](const QStringList& Parts) { return Parts.join(QStringLiteral(", ")).toStdString(); };
    return "Subject: " + name(Certificate.subjectInfo(QSslCertificate::CommonName)) +
           "; issuer: " + name(Certificate.issuerInfo(QSslCertificate::CommonName)) + "; valid from " +
           Certificate.effectiveDate().toUTC().toString(Qt::ISODate).toStdString() + " to " +
           Certificate.expiryDate().toUTC().toString(Qt::ISODate).toStdString() +
           "; SHA-256: " + CertificateFingerprint(Certificate);
}

} // namespace quillet

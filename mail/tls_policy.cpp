#include "mail/tls_policy.h"

#include <QCoreApplication>
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
    if (Peer.isNull() || TrustedFingerprint.empty() || CertificateFingerprint(Peer) != TrustedFingerprint)
        return false;
    // The handshake proves the server holds that certificate's key, so how its chain looks (an
    // issuer sent along or not, self-made, unknown) no longer matters. A certificate withdrawn
    // by its issuer, though, is one the user cannot have meant to keep trusting.
    for (const QSslError& error : Errors) {
        switch (error.error()) {
        case QSslError::CertificateRevoked:
        case QSslError::CertificateBlacklisted:
        case QSslError::NoPeerCertificate:
            return false;
        default:
            break;
        }
    }
    return true;
}

std::string CertificateText(const QSslCertificate& Certificate) {
    if (Certificate.isNull())
        return QCoreApplication::translate("TlsPolicy", "no certificate").toStdString();
    const auto name = [](const QStringList& Parts) { return Parts.join(QStringLiteral(", ")); };
    return QCoreApplication::translate("TlsPolicy",
                                       "Subject: %1; issuer: %2; valid from %3 to %4; SHA-256: %5")
        .arg(name(Certificate.subjectInfo(QSslCertificate::CommonName)),
             name(Certificate.issuerInfo(QSslCertificate::CommonName)),
             Certificate.effectiveDate().toUTC().toString(Qt::ISODate),
             Certificate.expiryDate().toUTC().toString(Qt::ISODate),
             QString::fromStdString(CertificateFingerprint(Certificate)))
        .toStdString();
}

} // namespace quillet

#include "auth/pkce.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QRandomGenerator>
#include <vector>

namespace quillet {

std::string Base64Url(std::string_view Bytes) {
    return QByteArray(Bytes.data(), static_cast<qsizetype>(Bytes.size()))
        .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals)
        .toStdString();
}

std::string RandomUrlSafe(int Count) {
    std::vector<quint32> words(static_cast<std::size_t>((Count + 3) / 4));
    QRandomGenerator::system()->fillRange(words.data(), static_cast<qsizetype>(words.size()));
    const std::string bytes(reinterpret_cast<const char*>(words.data()), static_cast<std::size_t>(Count));
    return Base64Url(bytes);
}

std::string MakeCodeVerifier() {
    return RandomUrlSafe(32);
}

std::string CodeChallengeS256(std::string_view Verifier) {
    const QByteArray digest = QCryptographicHash::hash(
        QByteArrayView(Verifier.data(), static_cast<qsizetype>(Verifier.size())), QCryptographicHash::Sha256);
    return Base64Url(std::string_view(digest.constData(), static_cast<std::size_t>(digest.size())));
}

} // namespace quillet

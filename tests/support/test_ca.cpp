#include "tests/support/test_ca.h"

#include <QCryptographicHash>
#include <QFile>
#include <cstdlib>

namespace quillet::test {

namespace {

QByteArray ReadAll(const std::string& Path) {
    QFile file(QString::fromStdString(Path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TTestCa::TTestCa() : FRoot(FDir.path().toStdString()) {
    FOk = FDir.isValid() &&
          Run("openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj '/CN=Quillet Test CA' -keyout " +
              FRoot + "/ca.key -out " + FRoot + "/ca.pem -addext basicConstraints=critical,CA:TRUE");
    if (FOk)
        FCaCert = QSslCertificate(ReadAll(FRoot + "/ca.pem"));
    FOk = FOk && !FCaCert.isNull();
}

bool TTestCa::Run(const std::string& Command) const {
    return std::system((Command + " >/dev/null 2>&1").c_str()) == 0;
}

TServerCertificate TTestCa::Issue(const std::string& Name, const std::string& Names, int Days) {
    TServerCertificate result;
    const std::string base = FRoot + "/" + Name;
    result.CertPath = base + ".pem";
    result.KeyPath = base + ".key";
    const std::string ext = base + ".ext";
    QFile extFile(QString::fromStdString(ext));
    if (!extFile.open(QIODevice::WriteOnly))
        return result;
    extFile.write(("subjectAltName=" + Names + "\n").c_str());
    extFile.close();
    const bool ok = Run("openssl req -newkey rsa:2048 -nodes -subj '/CN=" + Name + "' -keyout " +
                        result.KeyPath + " -out " + base + ".csr") &&
                    Run("openssl x509 -req -in " + base + ".csr -CA " + FRoot + "/ca.pem -CAkey " + FRoot +
                        "/ca.key -CAcreateserial -out " + result.CertPath + " -days " + std::to_string(Days) +
                        " -extfile " + ext);
    if (!ok)
        return result;
    result.Certificate = QSslCertificate(ReadAll(result.CertPath));
    result.Key = QSslKey(ReadAll(result.KeyPath), QSsl::Rsa);
    result.Fingerprint =
        result.Certificate.digest(QCryptographicHash::Sha256).toHex(':').toUpper().toStdString();
    return result;
}

} // namespace quillet::test

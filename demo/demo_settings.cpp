#include "demo/demo_settings.h"

#include "crypto/protected_text.h"

#include <QDir>
#include <QSaveFile>

namespace quillet {

std::string DemoSettingsText(std::string_view UserName, std::string_view Password, std::uint16_t Port) {
    // No master password: credentials are scrambled with an empty key, the test phrase stays empty.
    const std::string_view noMasterPassword;
    return "[Accounts]\r\n"
           "Count=1\r\n"
           "UsePassword=0\r\n"
           "TestPhrase=\r\n"
           "\r\n"
           "[Account00]\r\n"
           "Label=Demo\r\n"
           "UserName=" +
           ProtectText(UserName, noMasterPassword) +
           "\r\nHost=" + ProtectText("127.0.0.1", noMasterPassword) +
           "\r\nPassword=" + ProtectText(Password, noMasterPassword) + "\r\nPort=" + std::to_string(Port) +
           "\r\nActive=1\r\n";
}

bool WriteDemoSettings(const QString& Folder, std::string_view UserName, std::string_view Password,
                       std::uint16_t Port) {
    const std::string text = DemoSettingsText(UserName, Password, Port);
    QSaveFile file(QDir(Folder).filePath(QStringLiteral("Quillet.ini")));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(text.data(), static_cast<qint64>(text.size()));
    return file.commit();
}

} // namespace quillet

#include "tests/support/temp_settings.h"

#include <QFile>
#include <cctype>
#include <stdexcept>

namespace quillet::test {

std::string TTempSettingsStore::KeyOf(const std::string& Section, const std::string& Name) {
    std::string key = Section + '\n' + Name;
    for (char& c : key)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

std::string TTempSettingsStore::ReadString(const std::string& Section, const std::string& Name,
                                           const std::string& Default) {
    const auto it = FValues.find(KeyOf(Section, Name));
    return it == FValues.end() ? Default : it->second;
}

void TTempSettingsStore::WriteString(const std::string& Section, const std::string& Name,
                                     const std::string& Value) {
    FValues[KeyOf(Section, Name)] = Value;
    ++FWriteCount;
}

bool TTempSettingsStore::Contains(const std::string& Section, const std::string& Name) const {
    return FValues.count(KeyOf(Section, Name)) != 0;
}

TTempAppDir::TTempAppDir() {
    if (!FDir.isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

std::string TTempAppDir::AppDir() const {
    return FDir.path().toStdString() + "/";
}

std::string TTempAppDir::FilePath(const std::string& Name) const {
    return AppDir() + Name;
}

void TTempAppDir::WriteFile(const std::string& Name, const std::string& Bytes) const {
    QFile file(QString::fromStdString(FilePath(Name)));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(Bytes.data(), static_cast<qint64>(Bytes.size())) != static_cast<qint64>(Bytes.size()))
        throw std::runtime_error("cannot write " + FilePath(Name));
}

std::string TTempAppDir::ReadFile(const std::string& Name) const {
    QFile file(QString::fromStdString(FilePath(Name)));
    if (!file.open(QIODevice::ReadOnly))
        return std::string();
    return file.readAll().toStdString();
}

} // namespace quillet::test

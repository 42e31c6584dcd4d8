#include "settings/ini_file.h"

#include "settings/ini_document.h"
#include "util/strings.h"
#include "util/text_convert.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace quillet {

TIniFile::TIniFile(std::string FileName) : FFileName(std::move(FileName)) {}

TIniFile::~TIniFile() = default;

void TIniFile::BeginUpdate() {
    auto document = std::make_unique<TIniDocument>();
    if (!Load(*document)) {
        // Never replace a file whose present content could not be read.
        RaiseWriteError();
    }
    FUpdate = std::move(document);
}

void TIniFile::CommitUpdate() {
    if (!FUpdate)
        return;
    const std::unique_ptr<TIniDocument> document = std::move(FUpdate);
    Save(*document);
}

void TIniFile::CancelUpdate() {
    FUpdate.reset();
}

bool TIniFile::Load(TIniDocument& Document) const {
    QFile file(ToQString(FFileName));
    if (!file.exists()) {
        Document = TIniDocument();
        return true;
    }
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    Document = TIniDocument(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return true;
}

void TIniFile::RaiseWriteError() const {
    throw EIniFileError(FromQString(
        QCoreApplication::translate("TIniFile", "Unable to write to %1").arg(ToQString(FFileName))));
}

void TIniFile::Save(const TIniDocument& Document) {
    const QString path = ToQString(FFileName);
    const bool existed = QFileInfo::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        RaiseWriteError();
    if (!existed) {
        // Owner only, set before the file appears under its name. A file system without
        // permissions (a FAT stick) refuses this, and the file is still written.
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    const std::string text = Document.Text();
    if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) ||
        !file.commit())
        RaiseWriteError();
}

std::string TIniFile::ReadString(const std::string& Section, const std::string& Key,
                                 const std::string& Default) const {
    std::string value = Default;
    TIniDocument loaded;
    const TIniDocument* document = FUpdate ? FUpdate.get() : (Load(loaded) ? &loaded : nullptr);
    if (document) {
        if (auto found = document->Find(Section, Key))
            value = std::move(*found);
    }
    if (value.size() > ReadBufferSize - 1)
        value.resize(ReadBufferSize - 1);
    return value;
}

std::int32_t TIniFile::ReadInteger(const std::string& Section, const std::string& Key,
                                   std::int32_t Default) const {
    return ParseIniInteger(ReadString(Section, Key, std::string()), Default);
}

bool TIniFile::ReadBool(const std::string& Section, const std::string& Key, bool Default) const {
    return ReadInteger(Section, Key, Default ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& Section, const std::string& Key, const std::string& Value) {
    if (FUpdate) {
        FUpdate->Set(Section, Key, Value);
        return;
    }
    TIniDocument document;
    if (!Load(document)) {
        // Never replace a file whose present content could not be read.
        RaiseWriteError();
    }
    document.Set(Section, Key, Value);
    Save(document);
}

void TIniFile::WriteInteger(const std::string& Section, const std::string& Key, std::int32_t Value) {
    WriteString(Section, Key, std::to_string(Value));
}

void TIniFile::WriteBool(const std::string& Section, const std::string& Key, bool Value) {
    WriteString(Section, Key, Value ? "1" : "0");
}

std::string AccountSectionName(int Index) {
    return "Account" + PadLeftWith(std::to_string(Index), 2, '0');
}

} // namespace quillet

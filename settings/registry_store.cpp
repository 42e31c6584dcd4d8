#include "settings/registry_store.h"

#include "util/text_convert.h"

#include <QStringList>
#include <QVariant>

namespace quillet {

namespace {

QString KeyOf(const std::string& Section, const std::string& Name) {
    return ToQString(Section) + QLatin1Char('/') + ToQString(Name);
}

} // namespace

TRegistryStore::TRegistryStore()
    : Settings(
          std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, "Harvek", "Quillet")) {}

TRegistryStore::TRegistryStore(const QString& FileName)
    : Settings(std::make_unique<QSettings>(FileName, QSettings::IniFormat)) {}

TRegistryStore::~TRegistryStore() {
    Settings->sync();
}

std::string TRegistryStore::ReadString(const std::string& Section, const std::string& Name,
                                       const std::string& Default) {
    const QVariant value = Settings->value(KeyOf(Section, Name));
    if (!value.isValid())
        return Default;
    // A value written by hand without quotes that holds commas comes back from an INI-format
    // store as a list; the stored text is the items joined again.
    if (value.metaType().id() == QMetaType::QStringList)
        return FromQString(value.toStringList().join(QLatin1Char(',')));
    return FromQString(value.toString());
}

void TRegistryStore::WriteString(const std::string& Section, const std::string& Name,
                                 const std::string& Value) {
    Settings->setValue(KeyOf(Section, Name), ToQString(Value));
}

QByteArray TRegistryStore::ReadToolbarState() {
    return QByteArray::fromHex(Settings->value(QStringLiteral("Toolbars/State")).toString().toLatin1());
}

void TRegistryStore::WriteToolbarState(const QByteArray& State) {
    Settings->setValue(QStringLiteral("Toolbars/State"), QString::fromLatin1(State.toHex()));
}

void TRegistryStore::Sync() {
    Settings->sync();
}

QString TRegistryStore::FileName() const {
    return Settings->fileName();
}

} // namespace quillet

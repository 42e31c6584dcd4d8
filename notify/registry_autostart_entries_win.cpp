// The Run and RunOnce values of the Windows registry.
#include "notify/autostart_entries.h"

#include <QtGlobal>

#ifdef Q_OS_WIN

#include "util/text_convert.h"

#include <QDir>
#include <QSettings>

namespace quillet {

namespace {

QString KeyPath(TAutostartKind Kind, bool Machine) {
    return QString(Machine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER") +
           (Kind == TAutostartKind::NextLogon ? "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce"
                                              : "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
}

class TRegistryAutostartEntries : public TAutostartEntries {
public:
    bool IsSet(TAutostartKind Kind, bool Machine, const std::string& Name) override {
        QSettings key(KeyPath(Kind, Machine), QSettings::NativeFormat);
        return !key.value(ToQString(Name)).toString().isEmpty();
    }
    bool Set(TAutostartKind Kind, bool Machine, const std::string& Name,
             const QString& ProgramPath) override {
        QSettings key(KeyPath(Kind, Machine), QSettings::NativeFormat);
        key.setValue(ToQString(Name),
                     QLatin1Char('"') + QDir::toNativeSeparators(ProgramPath) + QLatin1Char('"'));
        key.sync();
        return key.status() == QSettings::NoError;
    }
    void Remove(TAutostartKind Kind, bool Machine, const std::string& Name) override {
        QSettings key(KeyPath(Kind, Machine), QSettings::NativeFormat);
        key.remove(ToQString(Name));
    }
    bool CanWriteMachine() override {
        QSettings test(QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Brightel\\test"),
                       QSettings::NativeFormat);
        test.setValue(QStringLiteral("probe"), 1);
        test.sync();
        const bool ok = test.status() == QSettings::NoError;
        test.remove(QString());
        return ok;
    }
};

} // namespace

std::unique_ptr<TAutostartEntries> PlatformAutostartEntries() {
    return std::make_unique<TRegistryAutostartEntries>();
}

} // namespace quillet

#endif

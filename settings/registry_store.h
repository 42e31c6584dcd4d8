// The options store of the current user: QSettings in its native form, organisation "Harvek",
// application "Quillet" (the registry key SOFTWARE\Harvek\Quillet on Windows,
// ~/.config/Harvek/Quillet.conf on Linux). Sections are groups ("Options", "Layout", "Sounds",
// "Dialogs"); every value is text. The typed reads and writes are in store_values.h.
#pragma once

#include "util/settings_store.h"

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <memory>

namespace quillet {

class TRegistryStore : public TSettingsStore {
public:
    // The user's own store.
    TRegistryStore();
    // A store kept in an INI-format file of its own (a portable or test set-up).
    explicit TRegistryStore(const QString& FileName);
    ~TRegistryStore() override;

    std::string ReadString(const std::string& Section, const std::string& Name,
                           const std::string& Default) override;
    void WriteString(const std::string& Section, const std::string& Name, const std::string& Value) override;

    // The positions of the dockable toolbars, kept under the "Toolbars" key as hexadecimal text.
    QByteArray ReadToolbarState();
    void WriteToolbarState(const QByteArray& State);

    // Writes pending changes out now (they are also written from the event loop and on destruction).
    void Sync();

    QString FileName() const;

private:
    std::unique_ptr<QSettings> Settings;
};

} // namespace quillet

// The main window's settings as one record, and the settings load and save over the options
// store, the settings file and the accounts. The window fills the record from its widgets
// before a save and applies it after a load; nothing here touches a widget.
#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>
#include <string>

namespace quillet {

class TSettingsStore;
class TIniFile;
class TSoundTable;
class TAccounts;
class TPasswordAsker;
class TKeyringSecrets;

inline constexpr int MailColumnCount = 8;
// Stt, Account, From, To, Subject, Size, Date sent, Date received.
inline constexpr std::array<int, MailColumnCount> DefaultColWidths = {26, 60, 80, 80, 100, 60, 100, 100};
inline constexpr int SizeColumn = 5;

// How the main window was shown when it was saved. Minimized is never stored.
enum class TWindowShow : std::int32_t { Normal = 1, Maximized = 2, Minimized = 3 };

// The "Layout" section.
struct TWindowLayout {
    int FormWidth = 640;
    int FormHeight = 480;
    int FormTop = 0;
    int FormLeft = 0;
    TWindowShow WindowState = TWindowShow::Normal;
    std::array<int, MailColumnCount> ColWidths = DefaultColWidths;
    int GridHeight = 200;
    std::int32_t GridColor = 13365758;      // pale yellow, red in the low byte
    std::int32_t PanelsColor = -2147483633; // the desktop's button face colour
    bool operator==(const TWindowLayout&) const = default;
};

// The "Options" section, the layout and the toolbar positions. The sounds live in the sound
// table.
struct TMainSettings {
    bool FirstRun = true;
    int SortCol = SizeColumn;
    bool SortLargestFirst = true; // stored as "SortAsc"
    int MaxLines = 50;
    int AutoCheckTime = 15; // minutes
    bool CheckingActive = true;
    bool Autostart = false;
    bool UseTray = true;
    bool StartMinimized = false;
    bool CloseMinimizes = false;
    bool NotifyNewMail = true; // a desktop notification for new mail
    TWindowLayout Layout;
    QByteArray ToolbarState; // the window's own layout of its dockable toolbars
    bool operator==(const TMainSettings&) const = default;
};

// What protects the accounts in the settings file, and whether the file may be written.
struct TCredentials {
    std::string MasterPassword; // empty: no master password
    // Set only when the accounts were read from the file; a save writes the file only then,
    // so a refused or failed load never overwrites the accounts it could not read.
    bool AccountsLoaded = false;
};

// The options, the sounds and the layout, in the order they are stored. Column widths missing
// from the store keep the widths Settings holds; every other missing or unreadable value gets
// its default. A sort column outside 0..8 reads as the Size column.
void ReadRegistrySettings(TSettingsStore& Store, TSoundTable& Sounds, TMainSettings& Settings);

enum class TAccountsLoad { Loaded, Refused };

// The accounts part of the load: the header of the settings file, the master password check
// (asking through Asker when the file is protected) and the accounts, appended to Accounts.
// Refused: the master password was not given; nothing was read. A stored value that is not
// hexadecimal raises the conversion error and leaves AccountsLoaded false; accounts read
// before it stay in the list.
TAccountsLoad LoadAccounts(const TIniFile& Ini, TPasswordAsker& Asker, TAccounts& Accounts,
                           TCredentials& Credentials);

// Writes everything in the documented order: toolbar positions, options, layout (geometry only
// for a normal window), the settings file (only when the accounts were loaded), sounds. When
// the settings file cannot be written the sounds are still saved, and the file's error is
// raised afterwards.
void SaveSettings(TSettingsStore& Store, TIniFile& Ini, const TMainSettings& Settings,
                  const TSoundTable& Sounds, const TAccounts& Accounts, const TCredentials& Credentials);
// The same, with the accounts' secrets where Secrets keeps them (the keyring or the file); a
// secret the keyring refused is raised like a file error, after the rest is saved.
void SaveSettings(TSettingsStore& Store, TIniFile& Ini, const TMainSettings& Settings,
                  const TSoundTable& Sounds, TAccounts& Accounts, const TCredentials& Credentials,
                  TKeyringSecrets& Secrets);

// The toolbar positions, kept under the "Toolbars" key.
QByteArray ReadToolbarState(TSettingsStore& Store);
void WriteToolbarState(TSettingsStore& Store, const QByteArray& State);

} // namespace quillet

#include "settings/main_settings.h"

#include "model/account.h"
#include "notify/sound_table.h"
#include "settings/accounts_file.h"
#include "settings/ini_file.h"
#include "settings/keyring_secrets.h"
#include "settings/password_asker.h"
#include "settings/store_values.h"

#include <exception>
#include <functional>

namespace quillet {

namespace {

const std::string kOptions = "Options";
const std::string kLayout = "Layout";
const std::string kSounds = TSoundTable::Section;
const std::string kToolbars = "Toolbars";

std::string ColWidthKey(int Column) {
    return "ColWidth" + std::to_string(Column);
}

void ReadOptions(TSettingsStore& Store, TMainSettings& S) {
    S.FirstRun = ReadBool(Store, kOptions, "FirstRun", true);
    S.SortCol = ReadInteger(Store, kOptions, "SortCol", SizeColumn);
    // The list has the columns 0..7 and the hidden identity 8; any other column reads as Size.
    if (S.SortCol < 0 || S.SortCol > MailColumnCount)
        S.SortCol = SizeColumn;
    S.SortLargestFirst = ReadBool(Store, kOptions, "SortAsc", true); // the stored key keeps its name
    S.MaxLines = ReadInteger(Store, kOptions, "MaxLines", 50);
    S.AutoCheckTime = ReadInteger(Store, kOptions, "AutoCheckTime", 15);
    S.CheckingActive = ReadBool(Store, kOptions, "CheckingActive", true);
    S.Autostart = ReadBool(Store, kOptions, "Autostart", false);
    S.UseTray = ReadBool(Store, kOptions, "UseTray", true);
    S.StartMinimized = ReadBool(Store, kOptions, "StartMinimized", false);
    S.CloseMinimizes = ReadBool(Store, kOptions, "CloseMinimizes", false);
    S.NotifyNewMail = ReadBool(Store, kOptions, "NotifyNewMail", true);
}

void ReadLayout(TSettingsStore& Store, TWindowLayout& L) {
    const TWindowLayout defaults;
    L.FormWidth = ReadInteger(Store, kLayout, "FormWidth", defaults.FormWidth);
    L.FormHeight = ReadInteger(Store, kLayout, "FormHeight", defaults.FormHeight);
    L.FormTop = ReadInteger(Store, kLayout, "FormTop", defaults.FormTop);
    L.FormLeft = ReadInteger(Store, kLayout, "FormLeft", defaults.FormLeft);
    L.WindowState =
        ReadInteger(Store, kLayout, "WindowState", 1) == 2 ? TWindowShow::Maximized : TWindowShow::Normal;
    for (int column = 0; column < MailColumnCount; ++column) {
        int& width = L.ColWidths[static_cast<std::size_t>(column)];
        width = ReadInteger(Store, kLayout, ColWidthKey(column), width);
    }
    L.GridHeight = ReadInteger(Store, kLayout, "GridHeight", defaults.GridHeight);
    L.GridColor = ReadInteger(Store, kLayout, "GridColor", defaults.GridColor);
    L.PanelsColor = ReadInteger(Store, kLayout, "PanelsColor", defaults.PanelsColor);
}

void WriteOptions(TSettingsStore& Store, const TMainSettings& S) {
    WriteBool(Store, kOptions, "FirstRun", false);
    WriteInteger(Store, kOptions, "SortCol", S.SortCol);
    WriteBool(Store, kOptions, "SortAsc", S.SortLargestFirst);
    WriteInteger(Store, kOptions, "MaxLines", S.MaxLines);
    WriteBool(Store, kOptions, "CheckingActive", S.CheckingActive);
    WriteInteger(Store, kOptions, "AutoCheckTime", S.AutoCheckTime);
    WriteBool(Store, kOptions, "Autostart", S.Autostart);
    WriteBool(Store, kOptions, "UseTray", S.UseTray);
    WriteBool(Store, kOptions, "StartMinimized", S.StartMinimized);
    WriteBool(Store, kOptions, "CloseMinimizes", S.CloseMinimizes);
    WriteBool(Store, kOptions, "NotifyNewMail", S.NotifyNewMail);
}

void WriteLayout(TSettingsStore& Store, const TWindowLayout& L) {
    for (int column = 0; column < MailColumnCount; ++column)
        WriteInteger(Store, kLayout, ColWidthKey(column), L.ColWidths[static_cast<std::size_t>(column)]);
    WriteInteger(Store, kLayout, "GridHeight", L.GridHeight);
    WriteInteger(Store, kLayout, "GridColor", L.GridColor);
    WriteInteger(Store, kLayout, "PanelsColor", L.PanelsColor);
    // A maximized window keeps the normal geometry saved before; a minimized one saves none.
    if (L.WindowState == TWindowShow::Minimized)
        return;
    WriteInteger(Store, kLayout, "WindowState", static_cast<std::int32_t>(L.WindowState));
    if (L.WindowState != TWindowShow::Normal)
        return;
    WriteInteger(Store, kLayout, "FormWidth", L.FormWidth);
    WriteInteger(Store, kLayout, "FormHeight", L.FormHeight);
    WriteInteger(Store, kLayout, "FormTop", L.FormTop);
    WriteInteger(Store, kLayout, "FormLeft", L.FormLeft);
}

} // namespace

void ReadRegistrySettings(TSettingsStore& Store, TSoundTable& Sounds, TMainSettings& Settings) {
    ReadOptions(Store, Settings);
    Sounds.SoundOn = ReadBool(Store, kSounds, "SoundOn", true);
    Sounds.LoadSounds(Store);
    ReadLayout(Store, Settings.Layout);
}

TAccountsLoad LoadAccounts(const TIniFile& Ini, TPasswordAsker& Asker, TAccounts& Accounts,
                           TCredentials& Credentials) {
    Credentials.MasterPassword.clear();
    Credentials.AccountsLoaded = false;
    const TAccountsHeader header = ReadAccountsHeader(Ini);
    if (header.UsePassword) {
        std::optional<std::string> password = UnlockAtStart(header.TestPhrase, Asker);
        if (!password)
            return TAccountsLoad::Refused;
        Credentials.MasterPassword = std::move(*password);
    }
    ReadAccounts(Ini, header.Count, Credentials.MasterPassword, Accounts);
    Credentials.AccountsLoaded = true;
    return TAccountsLoad::Loaded;
}

namespace {

void SaveAll(TSettingsStore& Store, const TMainSettings& Settings, const TSoundTable& Sounds,
             const TCredentials& Credentials, const std::function<void()>& WriteFile) {
    WriteToolbarState(Store, Settings.ToolbarState);
    WriteOptions(Store, Settings);
    WriteLayout(Store, Settings.Layout);
    std::exception_ptr fileError;
    if (Credentials.AccountsLoaded) {
        try {
            WriteFile();
        } catch (...) {
            fileError = std::current_exception();
        }
    }
    WriteBool(Store, kSounds, "SoundOn", Sounds.SoundOn);
    Sounds.SaveSounds(Store);
    if (fileError)
        std::rethrow_exception(fileError);
}

} // namespace

void SaveSettings(TSettingsStore& Store, TIniFile& Ini, const TMainSettings& Settings,
                  const TSoundTable& Sounds, const TAccounts& Accounts, const TCredentials& Credentials) {
    SaveAll(Store, Settings, Sounds, Credentials,
            [&] { WriteAccounts(Ini, Credentials.MasterPassword, Accounts); });
}

void SaveSettings(TSettingsStore& Store, TIniFile& Ini, const TMainSettings& Settings,
                  const TSoundTable& Sounds, TAccounts& Accounts, const TCredentials& Credentials,
                  TKeyringSecrets& Secrets) {
    SaveAll(Store, Settings, Sounds, Credentials,
            [&] { Secrets.Save(Ini, Credentials.MasterPassword, Accounts); });
}

QByteArray ReadToolbarState(TSettingsStore& Store) {
    return QByteArray::fromHex(
        QByteArray::fromStdString(Store.ReadString(kToolbars, "State", std::string())));
}

void WriteToolbarState(TSettingsStore& Store, const QByteArray& State) {
    Store.WriteString(kToolbars, "State", State.toHex().toStdString());
}

} // namespace quillet

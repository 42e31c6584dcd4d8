// The window's Setup accounts, Options and About commands: each shows its dialog, made once and
// kept for the life of the window, hands it what the window holds, and applies what it gives
// back. After the accounts dialog the Accounts toolbar is rebuilt; after the accounts and the
// options dialog the settings are saved, whichever button closed it.
#pragma once

#include <QObject>

namespace quillet {

class TAccounts;
class TCheckController;
class TfrmAbout;
class TfrmMain;
class TfrmOptions;
class TfrmSetupAccounts;
struct TAboutValues;
struct TOptionsValues;

class TDialogCommands : public QObject {
    Q_OBJECT
public:
    // Owned by the window; sets the window's three command handlers.
    TDialogCommands(TfrmMain& Window, TAccounts& Accounts, TCheckController& Controller);

    TfrmOptions& Options() const { return *FOptions; }
    TfrmSetupAccounts& SetupAccounts() const { return *FSetupAccounts; }
    TfrmAbout& About() const { return *FAbout; }

    // What the options dialog shows, read from the window and its sound table.
    TOptionsValues OptionsValues() const;
    // Apply: the options into the window and the sound table, then the status refresh; a
    // changed keyring option moves the accounts' secrets, and says so when that fails.
    void ApplyOptions(const TOptionsValues& Values);
    TAboutValues AboutValues() const;

private:
    void optSetupAccountsClick();
    void optOptionsClick();
    void optAboutClick();
    void MoveSecrets(bool ToKeyring);

    TfrmMain& FWindow;
    TCheckController& FController;
    TfrmOptions* FOptions;
    TfrmSetupAccounts* FSetupAccounts;
    TfrmAbout* FAbout;
};

} // namespace quillet

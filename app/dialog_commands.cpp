#include "app/dialog_commands.h"

#include "app/account_menus.h"
#include "app/check_controller.h"
#include "app/main_window.h"
#include "app/pictures.h"
#include "app/stored_color.h"
#include "dialogs/about.h"
#include "dialogs/message_box.h"
#include "dialogs/options.h"
#include "dialogs/setup_accounts.h"
#include "notify/sound_table.h"
#include "settings/keyring_secrets.h"

#include <QPalette>

namespace quillet {

namespace {

// The program's version as the build gives it; empty when the build names none.
const char* BuildVersion() {
#ifdef QUILLET_VERSION
    return QUILLET_VERSION;
#else
    return "";
#endif
}

// A colour the user left alone keeps its stored form, so that a desktop colour stays one and a
// colour never changed keeps following the desktop.
std::int32_t ChosenColor(const QColor& Chosen, std::int32_t Stored, std::int32_t Default) {
    return Chosen == ShownColor(Stored, Default, QPalette()) ? Stored : ColorToStored(Chosen);
}

} // namespace

TDialogCommands::TDialogCommands(TfrmMain& Window, TAccounts& Accounts, TCheckController& Controller)
    : QObject(&Window), FWindow(Window), FController(Controller), FOptions(new TfrmOptions(&Window, &Window)),
      FSetupAccounts(new TfrmSetupAccounts(Accounts, &Window, &Window)),
      FAbout(new TfrmAbout(&Window, &Window)) {
    FOptions->OnApply = [this](const TOptionsValues& Values) { ApplyOptions(Values); };
    FOptions->OnTestSound = [this](const TSoundSetting& Sound) {
        TOneSound& preview = *FWindow.Sounds().Sound(sndPreview);
        preview.IsActive = Sound.IsActive;
        preview.SoundName = Sound.SoundName;
        preview.BuiltIn = Sound.BuiltIn;
        preview.WavePath = Sound.WavePath;
        FWindow.Sounds().Play(sndPreview); // silent while the applied sounds are off
    };
    FWindow.SetCommandHandler(TCommand::SetupAccounts, [this] { optSetupAccountsClick(); });
    FWindow.SetCommandHandler(TCommand::Options, [this] { optOptionsClick(); });
    FWindow.SetCommandHandler(TCommand::About, [this] { optAboutClick(); });
}

TOptionsValues TDialogCommands::OptionsValues() const {
    const TMainSettings& settings = FWindow.Settings().Values();
    TOptionsValues values;
    values.AutoCheckTime = settings.AutoCheckTime;
    values.MaxLines = settings.MaxLines;
    values.StartMinimized = settings.StartMinimized;
    values.Autostart = FWindow.Autostart(); // as the log-on entries say now
    values.UseTray = settings.UseTray;
    values.CloseMinimizes = settings.CloseMinimizes;
    values.NotifyNewMail = settings.NotifyNewMail;
    values.UseKeyring = FWindow.SecretsInKeyring();
    // The swatches show the colours as the window shows them.
    const TWindowLayout defaults;
    values.GridColor = ShownColor(settings.Layout.GridColor, defaults.GridColor, QPalette());
    values.PanelsColor = ShownColor(settings.Layout.PanelsColor, defaults.PanelsColor, QPalette());
    TSoundTable& sounds = FWindow.Sounds();
    values.SoundOn = sounds.SoundOn;
    for (int slot = 0; slot < OptionsSoundSlots; ++slot) {
        const TOneSound& live = *sounds.Sound(slot);
        values.Sounds.at(static_cast<std::size_t>(slot)) = {live.IsActive, live.SoundName, live.BuiltIn,
                                                            live.WavePath};
    }
    return values;
}

void TDialogCommands::ApplyOptions(const TOptionsValues& Values) {
    // The window follows the changed options (the log-on entry is written or removed now).
    FWindow.Settings().Edit([&Values](TMainSettings& S) {
        S.AutoCheckTime = Values.AutoCheckTime;
        S.MaxLines = Values.MaxLines;
        S.Autostart = Values.Autostart;
        S.UseTray = Values.UseTray;
        S.StartMinimized = Values.StartMinimized;
        S.CloseMinimizes = Values.CloseMinimizes;
        S.NotifyNewMail = Values.NotifyNewMail;
        const TWindowLayout defaults;
        S.Layout.GridColor = ChosenColor(Values.GridColor, S.Layout.GridColor, defaults.GridColor);
        S.Layout.PanelsColor = ChosenColor(Values.PanelsColor, S.Layout.PanelsColor, defaults.PanelsColor);
    });
    TSoundTable& sounds = FWindow.Sounds();
    sounds.SoundOn = Values.SoundOn;
    for (int slot = 0; slot < OptionsSoundSlots; ++slot) {
        const TSoundSetting& edited = Values.Sounds.at(static_cast<std::size_t>(slot));
        TOneSound& live = *sounds.Sound(slot);
        live.IsActive = edited.IsActive;
        live.BuiltIn = edited.BuiltIn;
        live.WavePath = edited.WavePath;
    }
    FController.RefreshStatus();
    if (Values.UseKeyring != FWindow.SecretsInKeyring())
        MoveSecrets(Values.UseKeyring);
}

void TDialogCommands::MoveSecrets(bool ToKeyring) {
    // The move waits for the keyring: the dialog takes no second Apply meanwhile.
    FOptions->setEnabled(false);
    const TKeyringMove move = FWindow.MoveSecrets(ToKeyring);
    FOptions->setEnabled(true);
    if (!move.Message.isEmpty())
        ShowMessage(FOptions, FOptions->windowTitle(), move.Message,
                    move.Done ? TMessageIcon::Warning : TMessageIcon::Error);
    FOptions->ShowKeyringInUse(FWindow.SecretsInKeyring());
}

TAboutValues TDialogCommands::AboutValues() const {
    TAboutValues values;
    values.ProgramIcon = AppIcon();
    values.MailPicture = ListPicture(lpEnvelope);
    values.WebPicture = ListPicture(lpPage);
    values.BuildVersion = BuildVersion();
    values.IsBeta = true; // this release is a beta
    return values;
}

void TDialogCommands::optSetupAccountsClick() {
    if (FWindow.Terminating())
        return;
    FSetupAccounts->exec();
    FController.AccountMenus().BuildAccountsToolbar();
    FController.RefreshStatus(); // the empty list says what to do next, with or without accounts
    FWindow.SaveSettings();
}

void TDialogCommands::optOptionsClick() {
    FOptions->Run(OptionsValues());
    FWindow.SaveSettings();
}

void TDialogCommands::optAboutClick() {
    FAbout->Run(AboutValues());
}

} // namespace quillet

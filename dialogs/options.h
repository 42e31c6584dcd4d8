// The options dialog: the program-wide options on four pages (General, Interface, Sounds,
// Confirmations). It loads every control from a value each time it is shown and hands the
// edited value back on Apply and Ok; Cancel only closes, leaving whatever Apply already did.
// The per-event sound settings are edited in working copies: a change reaches the working copy
// only through Save, and the working copies reach the caller only through Apply.
#pragma once

#include <QColor>
#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <string>

namespace Ui {
class frmOptions;
}

namespace quillet {

class TDialogPositions;

// One event's sound setting, as the dialog edits it.
struct TSoundSetting {
    bool IsActive = true;
    std::string SoundName; // the event's built-in sound
    bool BuiltIn = true;   // false: play WavePath
    std::string WavePath;
    bool operator==(const TSoundSetting&) const = default;
};

inline constexpr int OptionsSoundSlots = 6; // 0 none, 1 preview, 2..5 the four events

struct TOptionsValues {
    int AutoCheckTime = 15; // minutes
    int MaxLines = 50;
    bool StartMinimized = false;
    bool Autostart = false;
    bool UseTray = true;
    bool CloseMinimizes = false;
    bool NotifyNewMail = true;
    bool UseKeyring = false; // the accounts' secrets are in the desktop keyring
    QColor GridColor;
    QColor PanelsColor;
    bool SoundOn = true;
    std::array<TSoundSetting, OptionsSoundSlots> Sounds; // by slot
    bool operator==(const TOptionsValues&) const = default;
};

// The sound slot that a row of the event list stands for: rows 0..3 are slots 2..5; any other
// row (no selection) is slot 0, for which the sound buttons do nothing.
int SoundSlotOfRow(int Row);

// The folder part of a path typed by the user: everything before the last "/" or "\"; empty
// when there is none.
std::string FolderOfPath(const std::string& Path);

// What the Test button plays: the event's built-in sound or the file in the field, as the
// controls show them now, saved or not, and active whatever the tick says.
TSoundSetting PreviewSound(const TSoundSetting& WorkingCopy, bool BuiltIn, const std::string& WavePath);

// The outcome of the colour chooser.
struct TColorChoice {
    enum class TResult { Chosen, Cancelled, Failed };
    TResult Result = TResult::Cancelled;
    QColor Color;
};

class TfrmOptions : public QDialog {
    Q_OBJECT
public:
    // Positions may be null: the dialog then opens centred on its parent every time.
    explicit TfrmOptions(TDialogPositions* Positions, QWidget* Parent = nullptr);
    ~TfrmOptions() override;

    // Fills every control and the working copies from Values, with the first event selected.
    void Load(const TOptionsValues& Values);
    // The controls and the working copies as they stand: what Apply hands on.
    TOptionsValues Store() const;
    // Load, then show modally.
    void Run(const TOptionsValues& Values);
    // The keyring option as it stands after Apply (a move that failed leaves it as it was).
    void ShowKeyringInUse(bool InUse);

    const TSoundSetting& WorkingCopy(int Slot) const { return FWorking.at(static_cast<std::size_t>(Slot)); }

    // Apply and Ok call this with Store().
    std::function<void(const TOptionsValues&)> OnApply;
    // Test calls this with the preview sound; the caller plays it under the applied master switch.
    std::function<void(const TSoundSetting&)> OnTestSound;
    // Runs the colour chooser preset with a colour. The default shows QColorDialog.
    std::function<TColorChoice(const QColor&)> ChooseColor;
    // Asks for a .wav file, starting in a folder; an empty answer means none was chosen. The
    // default shows the file-open dialog.
    std::function<QString(const QString& Folder)> ChooseWaveFile;

protected:
    void showEvent(QShowEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;

private:
    void btnApplyClick();
    void btnOkClick();
    void btnCancelClick();
    void pnlCloGridClick();
    void pnlCloPanelsClick();
    void lisSoundsClick();
    void lisSoundsDblClick();
    void btnSoundTestClick();
    void btnSoundSaveClick();
    void btnSoundWavePathClick();

    void PickColor(QColor& Color);
    void ShowSwatches();
    int SelectedSlot() const;

    std::unique_ptr<Ui::frmOptions> FUi;
    TDialogPositions* FPositions;
    QColor FGridColor;
    QColor FPanelsColor;
    std::array<TSoundSetting, OptionsSoundSlots> FWorking;
    // The event whose sound the controls show (0: none yet); its edits stay with it.
    int FShownSlot = 0;
    // Takes the controls' sound into the working copy of the event they show.
    void KeepShownEdits();
};

} // namespace quillet

// The options dialog: what Apply, Ok and Cancel hand on, the working copies of the sounds and
// their edits kept per event and Test, the colour swatches and the .wav chooser.
#include "dialogs/message_box.h"
#include "dialogs/options.h"
#include "tests/dialogs/dialog_test_steps.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <gtest/gtest.h>

namespace quillet::test {
namespace {

TOptionsValues SampleValues() {
    TOptionsValues values;
    values.AutoCheckTime = 7;
    values.MaxLines = 120;
    values.StartMinimized = true;
    values.Autostart = true;
    values.UseTray = false;
    values.CloseMinimizes = true;
    values.UseKeyring = true;
    values.GridColor = QColor(254, 241, 203);
    values.PanelsColor = QColor(10, 20, 30);
    values.SoundOn = false;
    const char* names[] = {"", "", "SND_NEWMAIL", "SND_NOMAIL", "SND_DELETE", "SND_UNDELETE"};
    for (int slot = 0; slot < OptionsSoundSlots; ++slot)
        values.Sounds[static_cast<std::size_t>(slot)].SoundName = names[slot];
    values.Sounds[3] = {false, "SND_NOMAIL", false, "/home/user/sounds/none.wav"};
    return values;
}

struct TSoundControls {
    explicit TSoundControls(const TfrmOptions& D)
        : List(Child<QListWidget>(&D, "lisSounds")), Active(Child<QCheckBox>(&D, "chkOneSoundActive")),
          BuiltIn(Child<QRadioButton>(&D, "rdiSoundBuiltIn")),
          WaveFile(Child<QRadioButton>(&D, "rdiSoundWaveFile")),
          Path(Child<QLineEdit>(&D, "fldSoundWavePath")), Save(Child<QPushButton>(&D, "btnSoundSave")),
          Test(Child<QPushButton>(&D, "btnSoundTest")) {}
    QListWidget* List;
    QCheckBox* Active;
    QRadioButton* BuiltIn;
    QRadioButton* WaveFile;
    QLineEdit* Path;
    QPushButton* Save;
    QPushButton* Test;
};

} // namespace

TEST(OptionsRules, SoundSlotOfRowAndFolderOfPath) {
    const std::pair<int, int> slots[] = {{-1, 0}, {0, 2}, {1, 3}, {2, 4}, {3, 5}, {4, 0}};
    for (const auto& [row, slot] : slots)
        EXPECT_EQ(SoundSlotOfRow(row), slot) << row;
    const std::pair<const char*, const char*> folders[] = {
        {"", ""},
        {"ding.wav", ""},
        {"/usr/share/sounds/ding.wav", "/usr/share/sounds"},
        {"C:\\Media\\ding.wav", "C:\\Media"},
        {"/ding.wav", ""}};
    for (const auto& [path, folder] : folders)
        EXPECT_EQ(FolderOfPath(path), folder) << path;
}

TEST(Options, LoadThenStoreGivesTheSameValues) {
    TfrmOptions dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Options");
    const TOptionsValues values = SampleValues();
    dialog.Load(values);
    EXPECT_EQ(dialog.Store(), values);
    const TSoundControls sound(dialog);
    ASSERT_EQ(sound.List->count(), 4);
    EXPECT_EQ(sound.List->item(0)->text(), "New mail arrived!");
    EXPECT_EQ(sound.List->item(3)->text(), "Unmark mail marked for deleting");
    EXPECT_EQ(sound.List->currentRow(), 0);
}

TEST(Options, CancelAfterApplyKeepsWhatApplyDid) {
    TfrmOptions dialog(nullptr);
    std::vector<TOptionsValues> applied;
    dialog.OnApply = [&](const TOptionsValues& V) { applied.push_back(V); };
    OnNextModal([](QWidget* D) {
        Child<QSpinBox>(D, "spnMaxLines")->setValue(20);
        Child<QPushButton>(D, "btnApply")->click();
        Child<QSpinBox>(D, "spnMaxLines")->setValue(30);
        Child<QCheckBox>(D, "chkUseTray")->setChecked(true);
        Child<QPushButton>(D, "btnCancel")->click();
    });
    dialog.Run(SampleValues());
    ASSERT_EQ(applied.size(), 1U);
    EXPECT_EQ(applied[0].MaxLines, 20);
    EXPECT_FALSE(applied[0].UseTray);
    EXPECT_FALSE(dialog.isVisible());

    // Ok applies what the controls show, then closes.
    OnNextModal([](QWidget* D) {
        Child<QSpinBox>(D, "spnMaxLines")->setValue(30);
        Child<QPushButton>(D, "btnOk")->click();
    });
    dialog.Run(SampleValues());
    ASSERT_EQ(applied.size(), 2U);
    EXPECT_EQ(applied[1].MaxLines, 30);
}

// An edited event keeps its edits when another one is selected, saved or not: nothing typed is
// dropped silently.
TEST(Options, SoundEditsStayWithTheirEvent) {
    for (const bool save : {false, true}) {
        TfrmOptions dialog(nullptr);
        dialog.Load(SampleValues());
        const TSoundControls sound(dialog);
        sound.Active->setChecked(false);
        sound.WaveFile->setChecked(true);
        sound.Path->setText("/tmp/new mail.wav");
        if (save)
            sound.Save->click();
        sound.List->setCurrentRow(1); // another event: its own working copy shows
        EXPECT_FALSE(sound.Active->isChecked());
        EXPECT_EQ(sound.Path->text(), "/home/user/sounds/none.wav");
        sound.List->setCurrentRow(0);
        EXPECT_FALSE(sound.Active->isChecked()) << save;
        EXPECT_FALSE(sound.BuiltIn->isChecked()) << save;
        EXPECT_EQ(dialog.Store().Sounds[2], (TSoundSetting{false, "SND_NEWMAIL", false, "/tmp/new mail.wav"}))
            << save;
    }
}

TEST(Options, TestPlaysWhatTheControlsShowAndChosenFilesNeedNoSave) {
    TfrmOptions dialog(nullptr);
    std::vector<TSoundSetting> played;
    QString askedFolder;
    dialog.OnTestSound = [&](const TSoundSetting& S) { played.push_back(S); };
    dialog.ChooseWaveFile = [&](const QString& Folder) {
        askedFolder = Folder;
        return QStringLiteral("/tmp/chosen.wav");
    };
    dialog.Load(SampleValues());
    const TSoundControls sound(dialog);
    sound.List->setCurrentRow(1); // inactive, its file set
    sound.Test->click();
    Child<QToolButton>(&dialog, "btnSoundWavePath")->click();
    EXPECT_EQ(askedFolder, "/home/user/sounds");
    EXPECT_EQ(sound.Path->text(), "/tmp/chosen.wav");
    sound.Test->click();
    sound.BuiltIn->setChecked(true);
    Child<QListWidget>(&dialog, "lisSounds")->itemDoubleClicked(sound.List->item(1));
    // The preview is active whatever the tick says; the working copy is untouched.
    const std::vector<TSoundSetting> expected = {{true, "SND_NOMAIL", false, "/home/user/sounds/none.wav"},
                                                 {true, "SND_NOMAIL", false, "/tmp/chosen.wav"},
                                                 {true, "SND_NOMAIL", true, "/tmp/chosen.wav"}};
    EXPECT_EQ(played, expected);
    EXPECT_EQ(dialog.Store().Sounds[3], SampleValues().Sounds[3]);

    // With no event selected Test plays nothing; the edits stay with the event they were made for.
    sound.List->clearSelection();
    sound.Test->click();
    sound.Save->click();
    EXPECT_EQ(played.size(), 3U);
    std::array<TSoundSetting, OptionsSoundSlots> kept = SampleValues().Sounds;
    kept[3] = {false, "SND_NOMAIL", true, "/tmp/chosen.wav"};
    EXPECT_EQ(dialog.Store().Sounds, kept);
}

TEST(Options, ColourSwatches) {
    struct Row {
        const char* swatch;
        TColorChoice choice;
        QColor grid, panels;
        int messages;
    };
    const QColor red(200, 0, 0);
    const Row rows[] = {
        {"pnlCloGrid", {TColorChoice::TResult::Chosen, red}, red, QColor(10, 20, 30), 0},
        {"pnlCloPanels", {TColorChoice::TResult::Chosen, red}, QColor(254, 241, 203), red, 0},
        {"pnlCloGrid", {TColorChoice::TResult::Cancelled, red}, QColor(254, 241, 203), QColor(10, 20, 30), 0},
        {"pnlCloGrid", {TColorChoice::TResult::Failed, red}, QColor(254, 241, 203), QColor(10, 20, 30), 1},
    };
    for (const Row& row : rows) {
        TMessageBoxScript script;
        TfrmOptions dialog(nullptr);
        int applies = 0;
        QColor preset;
        dialog.OnApply = [&](const TOptionsValues&) { ++applies; };
        dialog.ChooseColor = [&](const QColor& Initial) {
            preset = Initial;
            return row.choice;
        };
        dialog.Load(SampleValues());
        Child<QPushButton>(&dialog, row.swatch)->click();
        EXPECT_EQ(preset,
                  std::string(row.swatch) == "pnlCloGrid" ? QColor(254, 241, 203) : QColor(10, 20, 30));
        EXPECT_EQ(dialog.Store().GridColor, row.grid) << row.swatch;
        EXPECT_EQ(dialog.Store().PanelsColor, row.panels) << row.swatch;
        EXPECT_EQ(applies, 0); // the window changes only on Apply
        ASSERT_EQ(static_cast<int>(script.Shown().size()), row.messages);
        for (const TShownMessage& message : script.Shown())
            EXPECT_EQ(message.Text, "Color selection dialog failed to load");
    }
}

} // namespace quillet::test

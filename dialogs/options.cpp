#include "dialogs/options.h"

#include "dialogs/dialog_positions.h"
#include "dialogs/message_box.h"
#include "dialogs/platform_texts.h"
#include "ui_options.h"
#include "util/text_convert.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QPainter>
#include <exception>

namespace quillet {

namespace {

// The four events of the list, in slot order 2..5.
// The events of the sound slots, translated where they are shown.
const char* const EventTexts[] = {
    QT_TRANSLATE_NOOP("quillet::TfrmOptions", "New mail arrived!"),
    QT_TRANSLATE_NOOP("quillet::TfrmOptions", "No new mail"),
    QT_TRANSLATE_NOOP("quillet::TfrmOptions", "Mark mail for deleting"),
    QT_TRANSLATE_NOOP("quillet::TfrmOptions", "Unmark mail marked for deleting")};

constexpr QSize SwatchSize(56, 18);

// A swatch: the colour in a sunken frame, drawn at the screen's pixel density.
QIcon SwatchIcon(const QColor& Color, const QPalette& Palette, qreal PixelRatio) {
    QPixmap pixmap(SwatchSize * PixelRatio);
    pixmap.setDevicePixelRatio(PixelRatio);
    pixmap.fill(Color);
    QPainter painter(&pixmap);
    const QRectF frame(0.5, 0.5, SwatchSize.width() - 1.0, SwatchSize.height() - 1.0);
    painter.setPen(QPen(Palette.color(QPalette::Dark), 1.0));
    painter.drawLine(frame.topLeft(), frame.topRight());
    painter.drawLine(frame.topLeft(), frame.bottomLeft());
    painter.setPen(QPen(Palette.color(QPalette::Light), 1.0));
    painter.drawLine(frame.bottomLeft(), frame.bottomRight());
    painter.drawLine(frame.topRight(), frame.bottomRight());
    painter.end();
    return QIcon(pixmap);
}

TColorChoice RunColorDialog(QWidget* Parent, const QColor& Initial) {
    try {
        QColorDialog dialog(Initial, Parent);
        if (dialog.exec() != QDialog::Accepted)
            return {TColorChoice::TResult::Cancelled, Initial};
        return {TColorChoice::TResult::Chosen, dialog.selectedColor()};
    } catch (const std::exception&) {
        return {TColorChoice::TResult::Failed, Initial};
    }
}

} // namespace

int SoundSlotOfRow(int Row) {
    return Row >= 0 && Row <= 3 ? Row + 2 : 0;
}

std::string FolderOfPath(const std::string& Path) {
    const std::size_t last = Path.find_last_of("/\\");
    return last == std::string::npos ? std::string() : Path.substr(0, last);
}

TSoundSetting PreviewSound(const TSoundSetting& WorkingCopy, bool BuiltIn, const std::string& WavePath) {
    return {true, WorkingCopy.SoundName, BuiltIn, WavePath};
}

TfrmOptions::TfrmOptions(TDialogPositions* Positions, QWidget* Parent)
    : QDialog(Parent), FUi(std::make_unique<Ui::frmOptions>()), FPositions(Positions) {
    FUi->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // The number fields are the edit parts of their spin boxes.
    FUi->spnAutoCheckTime->findChild<QLineEdit*>()->setObjectName(QStringLiteral("fldAutoCheckTime"));
    FUi->spnMaxLines->findChild<QLineEdit*>()->setObjectName(QStringLiteral("fldMaxLines"));
    FUi->spnAutoCheckTime->setAccessibleName(tr("Automatic check interval in minutes"));
    FUi->spnMaxLines->setAccessibleName(tr("Lines retrieved of each mail"));
    for (QPushButton* swatch : {FUi->pnlCloGrid, FUi->pnlCloPanels})
        swatch->setIconSize(SwatchSize);
    FUi->chkAutostart->setText(AutostartCaption());
    FUi->chkUseKeyring->setText(KeyringCaption());
    // A page with nothing to set is not shown.
    FUi->pgcOptions->removeTab(FUi->pgcOptions->indexOf(FUi->tabConfirmations));

    ChooseColor = [this](const QColor& Initial) { return RunColorDialog(this, Initial); };
    ChooseWaveFile = [this](const QString& Folder) {
        return QFileDialog::getOpenFileName(this, tr("Select your .wav file"), Folder,
                                            tr("Sound files (*.wav)"));
    };

    connect(FUi->btnOk, &QPushButton::clicked, this, &TfrmOptions::btnOkClick);
    connect(FUi->btnApply, &QPushButton::clicked, this, &TfrmOptions::btnApplyClick);
    connect(FUi->btnCancel, &QPushButton::clicked, this, &TfrmOptions::btnCancelClick);
    connect(FUi->pnlCloGrid, &QPushButton::clicked, this, &TfrmOptions::pnlCloGridClick);
    connect(FUi->pnlCloPanels, &QPushButton::clicked, this, &TfrmOptions::pnlCloPanelsClick);
    connect(FUi->lisSounds, &QListWidget::itemSelectionChanged, this, &TfrmOptions::lisSoundsClick);
    connect(FUi->lisSounds, &QListWidget::itemDoubleClicked, this, &TfrmOptions::lisSoundsDblClick);
    connect(FUi->btnSoundTest, &QPushButton::clicked, this, &TfrmOptions::btnSoundTestClick);
    connect(FUi->btnSoundSave, &QPushButton::clicked, this, &TfrmOptions::btnSoundSaveClick);
    connect(FUi->btnSoundWavePath, &QToolButton::clicked, this, &TfrmOptions::btnSoundWavePathClick);
    if (FPositions != nullptr)
        FPositions->LoadDialogPosition(this, false);
}

TfrmOptions::~TfrmOptions() = default;

void TfrmOptions::Load(const TOptionsValues& Values) {
    FUi->spnAutoCheckTime->setValue(Values.AutoCheckTime);
    FUi->spnMaxLines->setValue(Values.MaxLines);
    FUi->chkAutostart->setChecked(Values.Autostart);
    FUi->chkUseTray->setChecked(Values.UseTray);
    FUi->chkStartMinimized->setChecked(Values.StartMinimized);
    FUi->chkCloseMinimizes->setChecked(Values.CloseMinimizes);
    FUi->chkNotifyNewMail->setChecked(Values.NotifyNewMail);
    FUi->chkUseKeyring->setChecked(Values.UseKeyring);
    FGridColor = Values.GridColor;
    FPanelsColor = Values.PanelsColor;
    ShowSwatches();
    FUi->chkSoundOn->setChecked(Values.SoundOn);
    FShownSlot = 0; // the controls show nothing that belongs to the new values yet
    FWorking = Values.Sounds;
    FUi->lisSounds->clear();
    for (const char* text : EventTexts)
        FUi->lisSounds->addItem(tr(text));
    FUi->lisSounds->setCurrentRow(0);
    lisSoundsClick();
    FUi->pgcOptions->setCurrentIndex(0);
}

TOptionsValues TfrmOptions::Store() const {
    TOptionsValues values;
    values.AutoCheckTime = FUi->spnAutoCheckTime->value();
    values.MaxLines = FUi->spnMaxLines->value();
    values.Autostart = FUi->chkAutostart->isChecked();
    values.UseTray = FUi->chkUseTray->isChecked();
    values.StartMinimized = FUi->chkStartMinimized->isChecked();
    values.CloseMinimizes = FUi->chkCloseMinimizes->isChecked();
    values.NotifyNewMail = FUi->chkNotifyNewMail->isChecked();
    values.UseKeyring = FUi->chkUseKeyring->isChecked();
    values.GridColor = FGridColor;
    values.PanelsColor = FPanelsColor;
    values.SoundOn = FUi->chkSoundOn->isChecked();
    values.Sounds = FWorking;
    return values;
}

void TfrmOptions::Run(const TOptionsValues& Values) {
    Load(Values);
    exec();
}

void TfrmOptions::ShowKeyringInUse(bool InUse) {
    FUi->chkUseKeyring->setChecked(InUse);
}

void TfrmOptions::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    // The pages' controls take their final style only as the dialog shows: the fixed size is
    // worked out again from their real size hints, so that no caption is cut.
    for (QWidget* page : FUi->pgcOptions->findChildren<QWidget*>())
        if (page->layout() != nullptr)
            page->layout()->invalidate();
    FUi->pgcOptions->updateGeometry();
    layout()->activate();
}

void TfrmOptions::hideEvent(QHideEvent* Event) {
    if (FPositions != nullptr)
        FPositions->SaveDialogPosition(this, false);
    QDialog::hideEvent(Event);
}

void TfrmOptions::btnApplyClick() {
    KeepShownEdits();
    // A number half typed counts as it reads now.
    FUi->spnAutoCheckTime->interpretText();
    FUi->spnMaxLines->interpretText();
    if (OnApply)
        OnApply(Store());
}

void TfrmOptions::btnOkClick() {
    btnApplyClick();
    accept();
}

void TfrmOptions::btnCancelClick() {
    reject();
}

void TfrmOptions::pnlCloGridClick() {
    PickColor(FGridColor);
}

void TfrmOptions::pnlCloPanelsClick() {
    PickColor(FPanelsColor);
}

void TfrmOptions::PickColor(QColor& Color) {
    const TColorChoice choice = ChooseColor ? ChooseColor(Color) : TColorChoice{};
    if (choice.Result == TColorChoice::TResult::Failed) {
        ShowMessage(this, windowTitle(), tr("Color selection dialog failed to load"), TMessageIcon::Error);
        return;
    }
    if (choice.Result == TColorChoice::TResult::Chosen && choice.Color.isValid())
        Color = choice.Color;
    ShowSwatches();
}

void TfrmOptions::ShowSwatches() {
    const qreal ratio = devicePixelRatioF();
    FUi->pnlCloGrid->setIcon(SwatchIcon(FGridColor, palette(), ratio));
    FUi->pnlCloPanels->setIcon(SwatchIcon(FPanelsColor, palette(), ratio));
}

int TfrmOptions::SelectedSlot() const {
    const QList<QListWidgetItem*> selected = FUi->lisSounds->selectedItems();
    return selected.isEmpty() ? SoundSlotOfRow(-1) : SoundSlotOfRow(FUi->lisSounds->row(selected.first()));
}

// Shows the working copy of the selected event; the edits of the event shown before stay with it.
void TfrmOptions::lisSoundsClick() {
    KeepShownEdits();
    const int slot = SelectedSlot();
    if (slot == 0)
        return;
    const TSoundSetting& sound = WorkingCopy(slot);
    FUi->chkOneSoundActive->setChecked(sound.IsActive);
    FUi->rdiSoundBuiltIn->setChecked(sound.BuiltIn);
    FUi->rdiSoundWaveFile->setChecked(!sound.BuiltIn);
    FUi->fldSoundWavePath->setText(ToQString(sound.WavePath));
    FShownSlot = slot;
}

void TfrmOptions::KeepShownEdits() {
    if (FShownSlot == 0)
        return;
    TSoundSetting& sound = FWorking.at(static_cast<std::size_t>(FShownSlot));
    sound.IsActive = FUi->chkOneSoundActive->isChecked();
    sound.BuiltIn = FUi->rdiSoundBuiltIn->isChecked();
    sound.WavePath = FromQString(FUi->fldSoundWavePath->text());
}

void TfrmOptions::lisSoundsDblClick() {
    btnSoundTestClick();
}

void TfrmOptions::btnSoundTestClick() {
    const int slot = SelectedSlot();
    if (slot == 0 || !OnTestSound)
        return;
    OnTestSound(PreviewSound(WorkingCopy(slot), FUi->rdiSoundBuiltIn->isChecked(),
                             FromQString(FUi->fldSoundWavePath->text())));
}

void TfrmOptions::btnSoundSaveClick() {
    KeepShownEdits();
}

// The chosen file goes into the field, and the file choice is ticked, so that Test plays it.
void TfrmOptions::btnSoundWavePathClick() {
    if (!ChooseWaveFile)
        return;
    const QString chosen =
        ChooseWaveFile(ToQString(FolderOfPath(FromQString(FUi->fldSoundWavePath->text()))));
    if (chosen.isEmpty())
        return;
    FUi->fldSoundWavePath->setText(chosen);
    FUi->rdiSoundWaveFile->setChecked(true);
}

} // namespace quillet

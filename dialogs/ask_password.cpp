#include "dialogs/ask_password.h"

#include "dialogs/dialog_positions.h"
#include "ui_ask_password.h"
#include "util/text_convert.h"

namespace quillet {

TfrmAskPassword::TfrmAskPassword(TDialogPositions* Positions, QWidget* Parent)
    : QDialog(Parent), FUi(std::make_unique<Ui::frmAskPassword>()), FPositions(Positions) {
    FUi->setupUi(this);
    // Every typed character shows as "*", whatever the style's own password character is.
    FUi->fldPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    FUi->fldPassword->setAccessibleName(tr("Password"));
    // A fixed frame: the dialog takes the size its texts need and cannot be resized.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    connect(FUi->btnOK, &QPushButton::clicked, this, &TfrmAskPassword::btnOKClick);
    connect(FUi->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    if (FPositions != nullptr)
        FPositions->LoadDialogPosition(this, false);
    Prompt.clear();
}

TfrmAskPassword::~TfrmAskPassword() {
    if (FPositions != nullptr)
        FPositions->SaveDialogPosition(this, false);
}

bool TfrmAskPassword::Ask(const std::string& PromptText) {
    Prompt = PromptText;
    exec();
    return !Cancelled;
}

void TfrmAskPassword::showEvent(QShowEvent* Event) {
    // Every showing starts afresh: nothing typed, nothing entered, and cancelled unless OK is
    // pressed (Escape and the close box leave it so).
    EnteredPassword.clear();
    FUi->outlblPrompt->setText(ToQString(Prompt));
    FUi->fldPassword->clear();
    FUi->fldPassword->setFocus();
    Cancelled = true;
    QDialog::showEvent(Event);
}

void TfrmAskPassword::hideEvent(QHideEvent* Event) {
    // The typed text does not stay behind in the reused dialog.
    FUi->fldPassword->clear();
    QDialog::hideEvent(Event);
}

void TfrmAskPassword::btnOKClick() {
    EnteredPassword = FromQString(FUi->fldPassword->text());
    Cancelled = false;
    accept();
}

} // namespace quillet

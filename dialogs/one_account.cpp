#include "dialogs/one_account.h"

#include "dialogs/dialog_positions.h"
#include "model/account.h"
#include "ui_one_account.h"
#include "util/text_convert.h"

#include <QLineEdit>

namespace quillet {

TAccountFields FieldsOf(const TAccount& Account) {
    return {Account.Label, Account.UserName, Account.Host, Account.Password, Account.Port(), Account.Active};
}

void CopyFields(const TAccountFields& Fields, TAccount& Account) {
    Account.Label = Fields.Label;
    Account.UserName = Fields.UserName;
    Account.Host = Fields.Host;
    Account.Password = Fields.Password;
    Account.SetPort(Fields.Port);
    Account.Active = Fields.Active;
}

TfrmOneAccount::TfrmOneAccount(TDialogPositions* Positions, QWidget* Parent)
    : QDialog(Parent), FUi(std::make_unique<Ui::frmOneAccount>()), FPositions(Positions) {
    FUi->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // Every typed character shows as "*", whatever the style's own password character is.
    FUi->fldPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    // The port field is the edit part of its spin box, which holds every port from 1 to 65535.
    FUi->spnPort->findChild<QLineEdit*>()->setObjectName(QStringLiteral("fldPort"));
    // The examples under the fields are in maroon; on a dark desktop a lighter red stays readable.
    const bool dark = palette().color(QPalette::Window).lightness() < 128;
    const QString hintStyle = dark ? QStringLiteral("color: #e08080;") : QStringLiteral("color: #800000;");
    for (QLabel* hint : {FUi->lblAccLabelHint, FUi->lblUserNameHint, FUi->lblHostHint, FUi->lblPasswordHint,
                         FUi->lblPortHint})
        hint->setStyleSheet(hintStyle);
    connect(FUi->btnAccept, &QPushButton::clicked, this, &TfrmOneAccount::btnAcceptClick);
    connect(FUi->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    if (FPositions != nullptr)
        FPositions->LoadDialogPosition(this, false);
}

TfrmOneAccount::~TfrmOneAccount() = default;

bool TfrmOneAccount::Edit(const TAccountFields& Fields) {
    Buffer = Fields;
    exec();
    return Accepted;
}

// Every showing starts from the buffer and counts as cancelled until Accept is pressed.
void TfrmOneAccount::showEvent(QShowEvent* Event) {
    Accepted = false;
    FUi->fldAccLabel->setText(ToQString(Buffer.Label));
    FUi->fldUserName->setText(ToQString(Buffer.UserName));
    FUi->fldHost->setText(ToQString(Buffer.Host));
    FUi->fldPassword->setText(ToQString(Buffer.Password));
    FUi->spnPort->setValue(Buffer.Port);
    FUi->chkActive->setChecked(Buffer.Active);
    FUi->fldAccLabel->setFocus();
    FUi->fldAccLabel->selectAll();
    QDialog::showEvent(Event);
}

void TfrmOneAccount::hideEvent(QHideEvent* Event) {
    // The password does not stay behind in the reused dialog.
    FUi->fldPassword->clear();
    if (FPositions != nullptr)
        FPositions->SaveDialogPosition(this, false);
    QDialog::hideEvent(Event);
}

void TfrmOneAccount::btnAcceptClick() {
    FUi->spnPort->interpretText();
    Buffer.Label = FromQString(FUi->fldAccLabel->text());
    Buffer.UserName = FromQString(FUi->fldUserName->text());
    Buffer.Host = FromQString(FUi->fldHost->text());
    Buffer.Password = FromQString(FUi->fldPassword->text());
    Buffer.Port = FUi->spnPort->value();
    Buffer.Active = FUi->chkActive->isChecked();
    Accepted = true;
    accept();
}

} // namespace quillet

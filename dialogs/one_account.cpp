#include "dialogs/one_account.h"

#include "dialogs/dialog_positions.h"
#include "dialogs/message_box.h"
#include "model/account.h"
#include "ui_one_account.h"
#include "util/strings.h"
#include "util/text_convert.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace quillet {

TAccountFields FieldsOf(const TAccount& Account) {
    return {Account.Label,          Account.UserName,    Account.Host,
            Account.Password,       Account.Port(),      Account.Active,
            Account.Security,       Account.TrustedCert, Account.RefusedCertFingerprint,
            Account.RefusedCertText};
}

std::string MissingAccountField(const TAccountFields& Fields) {
    const std::pair<const std::string*, const char*> required[] = {
        {&Fields.Label, QT_TRANSLATE_NOOP("quillet::TfrmOneAccount", "Short description")},
        {&Fields.Host, QT_TRANSLATE_NOOP("quillet::TfrmOneAccount", "Host")},
        {&Fields.UserName, QT_TRANSLATE_NOOP("quillet::TfrmOneAccount", "User name")}};
    for (const auto& [value, name] : required)
        if (TrimSpace(*value).empty())
            return name;
    return {};
}

int PortForSecurity(TSecurity From, TSecurity To, int Port) {
    if (To == TSecurity::Tls && From != TSecurity::Tls && Port == 110)
        return 995;
    if (From == TSecurity::Tls && To != TSecurity::Tls && Port == 995)
        return 110;
    return Port;
}

void CopyFields(const TAccountFields& Fields, TAccount& Account) {
    Account.Label = Fields.Label;
    Account.UserName = Fields.UserName;
    Account.Host = Fields.Host;
    Account.Password = Fields.Password;
    Account.SetPort(Fields.Port);
    Account.Active = Fields.Active;
    Account.Security = Fields.Security;
    Account.TrustedCert = Fields.TrustedCert;
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
    // The examples beside the fields are hints, in the desktop's hint colour; only the warning
    // about a readable password stands out, in a red that stays readable on a dark desktop too.
    for (QLabel* hint : {FUi->lblAccLabelHint, FUi->lblUserNameHint, FUi->lblHostHint, FUi->lblPortHint,
                         FUi->lblSecurityHint})
        hint->setForegroundRole(QPalette::PlaceholderText);
    FUi->lblPasswordHint->hide(); // no example password: it would only invite a weak one
    const bool dark = palette().color(QPalette::Window).lightness() < 128;
    FUi->lblSecurityWarning->setStyleSheet(dark ? QStringLiteral("color: #e08080;")
                                                : QStringLiteral("color: #800000;"));
    connect(FUi->btnAccept, &QPushButton::clicked, this, &TfrmOneAccount::btnAcceptClick);
    connect(FUi->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(FUi->cmbSecurity, &QComboBox::currentIndexChanged, this, &TfrmOneAccount::SecurityChanged);
    connect(FUi->btnTrustCert, &QPushButton::clicked, this, &TfrmOneAccount::btnTrustCertClick);
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
    FSecurity = Buffer.Security;
    {
        const QSignalBlocker quiet(FUi->cmbSecurity); // showing the stored value moves no port
        FUi->cmbSecurity->setCurrentIndex(static_cast<int>(Buffer.Security));
    }
    FUi->lblSecurityWarning->setVisible(Buffer.Security == TSecurity::None);
    FUi->lblPortHint->setText(Buffer.Security == TSecurity::Tls ? tr("(usu. 995)") : tr("(usu. 110)"));
    ShowCertificate();
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
    TAccountFields typed = Buffer;
    typed.Label = FromQString(FUi->fldAccLabel->text());
    typed.UserName = FromQString(FUi->fldUserName->text());
    typed.Host = FromQString(FUi->fldHost->text());
    typed.Password = FromQString(FUi->fldPassword->text());
    typed.Port = FUi->spnPort->value();
    typed.Active = FUi->chkActive->isChecked();
    typed.Security = SecurityFromNumber(FUi->cmbSecurity->currentIndex());
    // An account without a description, host or user name cannot be checked: the form stays
    // open on the missing field.
    if (const std::string missing = MissingAccountField(typed); !missing.empty()) {
        ShowMessage(this, windowTitle(), tr("Please fill in \"%1\".").arg(tr(missing.c_str())),
                    TMessageIcon::Warning);
        QLineEdit* field = missing == "Host"        ? FUi->fldHost
                           : missing == "User name" ? FUi->fldUserName
                                                    : FUi->fldAccLabel;
        field->setFocus();
        return;
    }
    Buffer = typed;
    Accepted = true;
    accept();
}

void TfrmOneAccount::SecurityChanged(int Index) {
    const TSecurity to = SecurityFromNumber(Index);
    FUi->spnPort->interpretText();
    FUi->spnPort->setValue(PortForSecurity(FSecurity, to, FUi->spnPort->value()));
    FSecurity = to;
    FUi->lblSecurityWarning->setVisible(to == TSecurity::None);
    FUi->lblPortHint->setText(to == TSecurity::Tls ? tr("(usu. 995)") : tr("(usu. 110)"));
}

// The certificate part: the one trusted for this account, or the one the last check refused,
// which the user may choose to trust (and then only that exact certificate is accepted).
void TfrmOneAccount::ShowCertificate() {
    const bool trusted = !Buffer.TrustedCert.empty();
    const bool refused =
        !Buffer.RefusedCertFingerprint.empty() && Buffer.RefusedCertFingerprint != Buffer.TrustedCert;
    FUi->lblCertificate->setVisible(trusted || refused);
    FUi->lblCertificateText->setVisible(trusted || refused);
    FUi->btnTrustCert->setVisible(trusted || refused);
    if (refused) {
        FUi->lblCertificateText->setText(
            trusted ? tr("Refused at the last check: %1\nTrusted now: %2")
                          .arg(ToQString(Buffer.RefusedCertText), ToQString(Buffer.TrustedCert))
                    : tr("Refused at the last check: %1").arg(ToQString(Buffer.RefusedCertText)));
        FUi->btnTrustCert->setText(tr("&Trust this certificate"));
    } else if (trusted) {
        FUi->lblCertificateText->setText(tr("Trusted (SHA-256): %1").arg(ToQString(Buffer.TrustedCert)));
        FUi->btnTrustCert->setText(tr("&Forget the trusted certificate"));
    }
}

void TfrmOneAccount::btnTrustCertClick() {
    const bool refused =
        !Buffer.RefusedCertFingerprint.empty() && Buffer.RefusedCertFingerprint != Buffer.TrustedCert;
    Buffer.TrustedCert = refused ? Buffer.RefusedCertFingerprint : std::string();
    ShowCertificate();
}

} // namespace quillet

#include "dialogs/one_account.h"

#include "auth/authorization_request.h"
#include "dialogs/dialog_positions.h"
#include "dialogs/message_box.h"
#include "dialogs/oauth_presets.h"
#include "model/account.h"
#include "ui_one_account.h"
#include "util/strings.h"
#include "util/text_convert.h"

#include <QComboBox>
#include <QDateTime>
#include <QDesktopServices>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QUrl>
#include <algorithm>

namespace quillet {

TAccountFields FieldsOf(const TAccount& Account) {
    TAccountFields fields;
    fields.Label = Account.Label;
    fields.UserName = Account.UserName;
    fields.Host = Account.Host;
    fields.Password = Account.Password;
    fields.Port = Account.Port();
    fields.Active = Account.Active;
    fields.Security = Account.Security;
    fields.TrustedCert = Account.TrustedCert;
    fields.RefusedCertFingerprint = Account.RefusedCertFingerprint;
    fields.RefusedCertText = Account.RefusedCertText;
    fields.SignIn = Account.SignIn;
    fields.OAuth = Account.OAuth;
    fields.Tokens = Account.Tokens;
    return fields;
}

std::string MissingAccountField(const TAccountFields& Fields) {
    const std::pair<const std::string*, const char*> required[] = {
        {&Fields.Label, QT_TRANSLATE_NOOP("quillet::TfrmOneAccount", "Short description")},
        {&Fields.Host, QT_TRANSLATE_NOOP("quillet::TfrmOneAccount", "Host")},
        {&Fields.UserName, QT_TRANSLATE_NOOP("quillet::TfrmOneAccount", "User name")}};
    for (const auto& [value, name] : required)
        if (TrimSpace(*value).empty())
            return name;
    if (Fields.SignIn != TSignIn::OAuth2)
        return {};
    const std::pair<const std::string*, const char*> oauth[] = {
        {&Fields.OAuth.AuthorizeUrl, QT_TRANSLATE_NOOP("quillet::TfrmOneAccount", "Authorization URL")},
        {&Fields.OAuth.TokenUrl, QT_TRANSLATE_NOOP("quillet::TfrmOneAccount", "Token URL")},
        {&Fields.OAuth.ClientId, QT_TRANSLATE_NOOP("quillet::TfrmOneAccount", "Client ID")}};
    for (const auto& [value, name] : oauth)
        if (TrimSpace(*value).empty())
            return name;
    return {};
}

TSignInProblem SignInProblem(const TAccountFields& Fields) {
    if (Fields.SignIn != TSignIn::OAuth2)
        return {};
    if (Fields.Security == TSecurity::None)
        return {"Security",
                FromQString(QCoreApplication::translate(
                    "quillet::TfrmOneAccount",
                    "OAuth 2.0 sign-in needs SSL/TLS or STARTTLS: the access token would otherwise "
                    "travel readable, and whoever reads it can read the mailbox."))};
    if (const std::string problem = EndpointProblem(Fields.OAuth.AuthorizeUrl); !problem.empty())
        return {"Authorization URL",
                FromQString(QCoreApplication::translate("quillet::TfrmOneAccount",
                                                        "The authorization URL cannot be used: %1.")
                                .arg(ToQString(problem)))};
    if (const std::string problem = EndpointProblem(Fields.OAuth.TokenUrl); !problem.empty())
        return {"Token URL", FromQString(QCoreApplication::translate("quillet::TfrmOneAccount",
                                                                     "The token URL cannot be used: %1.")
                                             .arg(ToQString(problem)))};
    return {};
}

void ApplyPreset(TAccountFields& Fields, int Preset) {
    const std::vector<TOAuthPreset> presets = OAuthPresets();
    if (Preset < 0 || Preset >= static_cast<int>(presets.size()))
        return;
    const TOAuthPreset& preset = presets[static_cast<std::size_t>(Preset)];
    Fields.OAuth.AuthorizeUrl = preset.AuthorizeUrl;
    Fields.OAuth.TokenUrl = preset.TokenUrl;
    Fields.OAuth.Scope = preset.Scope;
    const std::string host = TrimSpace(Fields.Host);
    const bool presetHost =
        std::ranges::any_of(presets, [&](const TOAuthPreset& Other) { return host == Other.Host; });
    if (host.empty() || presetHost) {
        Fields.Host = preset.Host;
        Fields.Port = 995;
        Fields.Security = TSecurity::Tls;
    }
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
    Account.SignIn = Fields.SignIn;
    Account.OAuth = Fields.OAuth;
    if (Fields.SignIn != TSignIn::OAuth2)
        Account.Tokens = {}; // a password account keeps no tokens
    else if (Fields.SignedIn)
        Account.Tokens = Fields.Tokens;
}

TfrmOneAccount::TfrmOneAccount(TDialogPositions* Positions, QWidget* Parent)
    : QDialog(Parent), FUi(std::make_unique<Ui::frmOneAccount>()), FPositions(Positions),
      FFlow(new TSignInFlow(this)) {
    FUi->setupUi(this);
    OpenBrowser = [](const std::string& Url) {
        return QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(Url)));
    };
    for (const TOAuthPreset& preset : OAuthPresets())
        FUi->cmbProvider->addItem(ToQString(preset.Name));
    FUi->cmbProvider->addItem(tr("Other"));
    FFlow->OnFinished = [this](const TTokenReply& Reply) { SignInFinished(Reply); };
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // Every typed character shows as "*", whatever the style's own password character is.
    FUi->fldPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    // The port field is the edit part of its spin box, which holds every port from 1 to 65535.
    FUi->spnPort->findChild<QLineEdit*>()->setObjectName(QStringLiteral("fldPort"));
    // The examples beside the fields are hints, in the desktop's hint colour; only the warning
    // about a readable password stands out, in a red that stays readable on a dark desktop too.
    for (QLabel* hint : {FUi->lblAccLabelHint, FUi->lblUserNameHint, FUi->lblHostHint, FUi->lblPortHint,
                         FUi->lblSecurityHint, FUi->lblClientIdHint, FUi->lblClientSecretHint})
        hint->setForegroundRole(QPalette::PlaceholderText);
    FUi->lblPasswordHint->hide(); // no example password: it would only invite a weak one
    const bool dark = palette().color(QPalette::Window).lightness() < 128;
    FUi->lblSecurityWarning->setStyleSheet(dark ? QStringLiteral("color: #e08080;")
                                                : QStringLiteral("color: #800000;"));
    connect(FUi->btnAccept, &QPushButton::clicked, this, &TfrmOneAccount::btnAcceptClick);
    connect(FUi->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(FUi->cmbSecurity, &QComboBox::currentIndexChanged, this, &TfrmOneAccount::SecurityChanged);
    connect(FUi->btnTrustCert, &QPushButton::clicked, this, &TfrmOneAccount::btnTrustCertClick);
    connect(FUi->cmbSignIn, &QComboBox::currentIndexChanged, this, &TfrmOneAccount::SignInChanged);
    connect(FUi->cmbProvider, &QComboBox::activated, this, &TfrmOneAccount::ProviderChanged);
    connect(FUi->btnSignIn, &QPushButton::clicked, this, &TfrmOneAccount::btnSignInClick);
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
    FUi->lblPortHint->setText(Buffer.Security == TSecurity::Tls ? tr("(usu. 995)") : tr("(usu. 110)"));
    {
        const QSignalBlocker quiet(FUi->cmbSignIn);
        FUi->cmbSignIn->setCurrentIndex(Buffer.SignIn == TSignIn::OAuth2 ? 1 : 0);
    }
    const int preset = PresetIndexOf(Buffer.OAuth);
    FUi->cmbProvider->setCurrentIndex(preset >= 0 ? preset : FUi->cmbProvider->count() - 1);
    FUi->fldAuthorizeUrl->setText(ToQString(Buffer.OAuth.AuthorizeUrl));
    FUi->fldTokenUrl->setText(ToQString(Buffer.OAuth.TokenUrl));
    FUi->fldScope->setText(ToQString(Buffer.OAuth.Scope));
    FUi->fldClientId->setText(ToQString(Buffer.OAuth.ClientId));
    FUi->fldClientSecret->setText(ToQString(Buffer.OAuth.ClientSecret));
    ShowUrlStarts();
    FUi->btnSignIn->setEnabled(true);
    ShowSignInState(Buffer.Tokens.RefreshToken.empty() && Buffer.Tokens.AccessToken.empty()
                        ? tr("Not signed in: choose Sign in.")
                        : tr("Signed in."));
    ShowSignInMode();
    ShowCertificate();
    FUi->fldAccLabel->setFocus();
    FUi->fldAccLabel->selectAll();
    QDialog::showEvent(Event);
}

void TfrmOneAccount::hideEvent(QHideEvent* Event) {
    // The password does not stay behind in the reused dialog, nor does a sign-in go on.
    FUi->fldPassword->clear();
    FFlow->Cancel();
    if (FPositions != nullptr)
        FPositions->SaveDialogPosition(this, false);
    QDialog::hideEvent(Event);
}

TAccountFields TfrmOneAccount::TypedFields() const {
    FUi->spnPort->interpretText();
    TAccountFields typed = Buffer;
    typed.Label = FromQString(FUi->fldAccLabel->text());
    typed.UserName = FromQString(FUi->fldUserName->text());
    typed.Host = FromQString(FUi->fldHost->text());
    typed.Password = FromQString(FUi->fldPassword->text());
    typed.Port = FUi->spnPort->value();
    typed.Active = FUi->chkActive->isChecked();
    typed.Security = SecurityFromNumber(FUi->cmbSecurity->currentIndex());
    typed.SignIn = FUi->cmbSignIn->currentIndex() == 1 ? TSignIn::OAuth2 : TSignIn::Password;
    // Addresses and ids are taken without the blanks a paste brings along.
    typed.OAuth.AuthorizeUrl = FromQString(FUi->fldAuthorizeUrl->text().trimmed());
    typed.OAuth.TokenUrl = FromQString(FUi->fldTokenUrl->text().trimmed());
    typed.OAuth.Scope = FromQString(FUi->fldScope->text().trimmed());
    typed.OAuth.ClientId = FromQString(FUi->fldClientId->text().trimmed());
    typed.OAuth.ClientSecret = FromQString(FUi->fldClientSecret->text().trimmed());
    return typed;
}

void TfrmOneAccount::FocusField(const std::string& Field) {
    const std::pair<const char*, QWidget*> fields[] = {
        {"Host", FUi->fldHost},          {"User name", FUi->fldUserName},
        {"Security", FUi->cmbSecurity},  {"Authorization URL", FUi->fldAuthorizeUrl},
        {"Token URL", FUi->fldTokenUrl}, {"Client ID", FUi->fldClientId},
    };
    for (const auto& [name, widget] : fields)
        if (Field == name) {
            widget->setFocus();
            return;
        }
    FUi->fldAccLabel->setFocus();
}

// Names the empty field an account cannot do without and goes to it; false when none is empty.
bool TfrmOneAccount::RefuseMissing(const std::string& Missing) {
    if (Missing.empty())
        return false;
    ShowMessage(this, windowTitle(), tr("Please fill in \"%1\".").arg(tr(Missing.c_str())),
                TMessageIcon::Warning);
    FocusField(Missing);
    return true;
}

void TfrmOneAccount::btnAcceptClick() {
    const TAccountFields typed = TypedFields();
    // An account without a description, host or user name (or, signing in with OAuth, without
    // its endpoints and client id) cannot be checked: the form stays open on the missing field.
    if (RefuseMissing(MissingAccountField(typed)))
        return;
    if (const TSignInProblem problem = SignInProblem(typed); !problem.Text.empty()) {
        ShowMessage(this, windowTitle(), ToQString(problem.Text), TMessageIcon::Warning);
        FocusField(problem.Field);
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
    ShowSignInMode();
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

// ---- Sign-in

void TfrmOneAccount::ShowSignInMode() {
    const bool oauth = FUi->cmbSignIn->currentIndex() == 1;
    FUi->lblPassword->setVisible(!oauth);
    FUi->fldPassword->setVisible(!oauth);
    FUi->grpOAuth->setVisible(oauth);
    FUi->lblSecurityWarning->setText(oauth
                                         ? tr("OAuth 2.0 sign-in needs SSL/TLS or STARTTLS.")
                                         : tr("Without SSL/TLS or STARTTLS the password travels readable."));
    FUi->lblSecurityWarning->setVisible(SecurityFromNumber(FUi->cmbSecurity->currentIndex()) ==
                                        TSecurity::None);
}

// Long addresses show their start (the provider's host), not their end.
void TfrmOneAccount::ShowUrlStarts() {
    for (QLineEdit* field : {FUi->fldAuthorizeUrl, FUi->fldTokenUrl, FUi->fldScope})
        field->setCursorPosition(0);
}

void TfrmOneAccount::SignInChanged(int) {
    ShowSignInMode();
}

void TfrmOneAccount::ProviderChanged(int Index) {
    TAccountFields typed = TypedFields();
    ApplyPreset(typed, Index);
    FUi->fldAuthorizeUrl->setText(ToQString(typed.OAuth.AuthorizeUrl));
    FUi->fldTokenUrl->setText(ToQString(typed.OAuth.TokenUrl));
    FUi->fldScope->setText(ToQString(typed.OAuth.Scope));
    ShowUrlStarts();
    FUi->fldHost->setText(ToQString(typed.Host));
    {
        const QSignalBlocker quiet(FUi->cmbSecurity); // the preset sets the port itself
        FUi->cmbSecurity->setCurrentIndex(static_cast<int>(typed.Security));
    }
    FSecurity = typed.Security;
    FUi->spnPort->setValue(typed.Port);
    FUi->lblPortHint->setText(typed.Security == TSecurity::Tls ? tr("(usu. 995)") : tr("(usu. 110)"));
    ShowSignInMode();
}

void TfrmOneAccount::ShowSignInState(const QString& Text) {
    FUi->lblSignInState->setText(Text);
}

void TfrmOneAccount::btnSignInClick() {
    const TAccountFields typed = TypedFields();
    // The sign-in needs the endpoints and the client id; the user name is the account to sign
    // in with.
    TAccountFields needed = typed;
    needed.Label = needed.Label.empty() ? std::string("-") : needed.Label;
    if (RefuseMissing(MissingAccountField(needed)))
        return;
    const TOAuthClient client{typed.OAuth.AuthorizeUrl, typed.OAuth.TokenUrl, typed.OAuth.ClientId,
                              typed.OAuth.ClientSecret, typed.OAuth.Scope};
    std::string why;
    if (!FFlow->Start(client, typed.UserName, OpenBrowser, why)) {
        ShowSignInState(tr("Sign-in failed: %1.").arg(ToQString(why)));
        return;
    }
    FUi->btnSignIn->setEnabled(false);
    ShowSignInState(tr("Waiting for the browser: sign in there, then come back here."));
}

void TfrmOneAccount::SignInFinished(const TTokenReply& Reply) {
    FUi->btnSignIn->setEnabled(true);
    if (Reply.Outcome != TTokenOutcome::Granted) {
        ShowSignInState(
            (Reply.Outcome == TTokenOutcome::Refused ? tr("Sign-in refused: %1.") : tr("Sign-in failed: %1."))
                .arg(ToQString(Reply.Why)));
        return;
    }
    // A new sign-in: its tokens replace whatever the account had.
    const std::int64_t now = QDateTime::currentMSecsSinceEpoch();
    Buffer.Tokens = {Reply.AccessToken, Reply.RefreshToken,
                     Reply.ExpiresIn >= 0 ? now + Reply.ExpiresIn * 1000 : 0};
    Buffer.SignedIn = true;
    ShowSignInState(Reply.RefreshToken.empty()
                        ? tr("Signed in, but without a refresh token: sign in again when "
                             "the access token has expired.")
                        : tr("Signed in."));
    // Back from the browser.
    raise();
    activateWindow();
}

} // namespace quillet

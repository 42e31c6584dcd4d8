// The editor of one account. The caller puts the account's fields into Buffer, shows the dialog
// modally and, when Accepted, takes the fields back from Buffer. Nothing is trimmed: every field
// is kept exactly as typed. An account signs in with its password or with OAuth 2.0; for OAuth
// the editor fills a known provider's endpoints and runs the sign-in in the system browser.
#pragma once

#include "auth/sign_in_flow.h"
#include "mail/security.h"
#include "model/account.h"

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class frmOneAccount;
}

namespace quillet {

class TAccount;
class TDialogPositions;

// The fields of an account that the editor changes. A new account starts on implicit TLS,
// port 995, as nearly every public mailbox wants today.
struct TAccountFields {
    std::string Label;
    std::string UserName;
    std::string Host;
    std::string Password;
    int Port = 995;
    bool Active = true;
    TSecurity Security = TSecurity::Tls;
    std::string TrustedCert;
    // The certificate the last check refused (shown with "Trust this certificate"); not edited.
    std::string RefusedCertFingerprint;
    std::string RefusedCertText;
    TSignIn SignIn = TSignIn::Password;
    TOAuthSettings OAuth = {};
    TOAuthTokens Tokens = {}; // what the last sign-in gave (not shown)
    // Sign in gave Tokens while the editor was open. Otherwise the account's own tokens stay when
    // the fields are copied back: a check may have renewed them meanwhile.
    bool SignedIn = false;
    bool operator==(const TAccountFields&) const = default;
};

// The port after the security setting changed from From to To: SSL/TLS moves the usual plain
// port 110 to 995, and leaving SSL/TLS moves 995 back to 110; any other port stays.
int PortForSecurity(TSecurity From, TSecurity To, int Port);

// The first field an account cannot do without that is empty (blanks count as empty), as the
// editor names it: "Short description", "Host" or "User name", and for OAuth sign-in
// "Authorization URL", "Token URL" or "Client ID"; empty when none is missing.
std::string MissingAccountField(const TAccountFields& Fields);

// What keeps an OAuth account from being accepted as it is, beyond empty fields: no SSL/TLS or
// STARTTLS (the access token would travel readable), or an endpoint that cannot be used (see
// EndpointProblem). Field names the control to go to ("Security", "Authorization URL", "Token
// URL"); both are empty for a password account or when nothing is wrong.
struct TSignInProblem {
    std::string Field;
    std::string Text;
};
TSignInProblem SignInProblem(const TAccountFields& Fields);

// Fills the endpoints and scope of OAuthPresets()[Preset]; the provider's POP3 server (port 995,
// SSL/TLS) too when no host is given yet or the host is another preset's. -1 ("Other") changes
// nothing.
void ApplyPreset(TAccountFields& Fields, int Preset);

TAccountFields FieldsOf(const TAccount& Account);
// Writes the fields into the account; the port goes through SetPort, which keeps it in 1..65535.
// Tokens are taken only from a sign-in in the editor (SignedIn); a password account keeps none.
void CopyFields(const TAccountFields& Fields, TAccount& Account);

class TfrmOneAccount : public QDialog {
    Q_OBJECT
public:
    // Positions may be null: the dialog then opens centred on its parent every time.
    explicit TfrmOneAccount(TDialogPositions* Positions, QWidget* Parent = nullptr);
    ~TfrmOneAccount() override;

    TAccountFields Buffer; // the edit buffer: filled before showing, read after Accept
    bool Accepted = false; // true only when Accept closed the dialog
    // Opens the sign-in page in the system browser (tests put a scripted browser here).
    TSignInFlow::TOpenBrowser OpenBrowser;

    // Puts Fields into Buffer, shows the dialog modally and returns Accepted.
    bool Edit(const TAccountFields& Fields);

protected:
    void showEvent(QShowEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;

private:
    void btnAcceptClick();
    void SecurityChanged(int Index);
    void btnTrustCertClick();
    void ShowCertificate();
    // The fields as the controls hold them now, on top of the buffer.
    TAccountFields TypedFields() const;
    void SignInChanged(int Index);
    void ProviderChanged(int Index);
    void btnSignInClick();
    void SignInFinished(const TTokenReply& Reply);
    // The password row for password accounts, the OAuth group for OAuth ones; the warning under
    // Security says what travels readable without TLS.
    void ShowSignInMode();
    void ShowSignInState(const QString& Text);
    void ShowUrlStarts();
    // Goes to the control the editor names Field ("Host", "Client ID", "Security", ...).
    void FocusField(const std::string& Field);
    // Names the empty field an account cannot do without and goes to it; false when none is.
    bool RefuseMissing(const std::string& Missing);

    std::unique_ptr<Ui::frmOneAccount> FUi;
    TDialogPositions* FPositions;
    TSecurity FSecurity = TSecurity::None; // what the security box showed before its last change
    TSignInFlow* FFlow;
};

} // namespace quillet

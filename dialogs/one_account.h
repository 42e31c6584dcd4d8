// The editor of one account. The caller puts the account's fields into Buffer, shows the dialog
// modally and, when Accepted, takes the fields back from Buffer. Nothing is checked or trimmed:
// every field is kept exactly as typed.
#pragma once

#include "mail/security.h"

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
    bool operator==(const TAccountFields&) const = default;
};

// The port after the security setting changed from From to To: SSL/TLS moves the usual plain
// port 110 to 995, and leaving SSL/TLS moves 995 back to 110; any other port stays.
int PortForSecurity(TSecurity From, TSecurity To, int Port);

// The first field an account cannot do without that is empty (blanks count as empty), as the
// editor names it: "Short description", "Host" or "User name"; empty when none is missing.
std::string MissingAccountField(const TAccountFields& Fields);

TAccountFields FieldsOf(const TAccount& Account);
// Writes the fields into the account; the port goes through SetPort, which keeps it in 1..65535.
void CopyFields(const TAccountFields& Fields, TAccount& Account);

class TfrmOneAccount : public QDialog {
    Q_OBJECT
public:
    // Positions may be null: the dialog then opens centred on its parent every time.
    explicit TfrmOneAccount(TDialogPositions* Positions, QWidget* Parent = nullptr);
    ~TfrmOneAccount() override;

    TAccountFields Buffer; // the edit buffer: filled before showing, read after Accept
    bool Accepted = false; // true only when Accept closed the dialog

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

    std::unique_ptr<Ui::frmOneAccount> FUi;
    TDialogPositions* FPositions;
    TSecurity FSecurity = TSecurity::None; // what the security box showed before its last change
};

} // namespace quillet

// The editor of one account. The caller puts the account's fields into Buffer, shows the dialog
// modally and, when Accepted, takes the fields back from Buffer. Nothing is checked or trimmed:
// every field is kept exactly as typed.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class frmOneAccount;
}

namespace quillet {

class TAccount;
class TDialogPositions;

// The fields of an account that the editor changes.
struct TAccountFields {
    std::string Label;
    std::string UserName;
    std::string Host;
    std::string Password;
    int Port = 110;
    bool Active = true;
    bool operator==(const TAccountFields&) const = default;
};

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

    std::unique_ptr<Ui::frmOneAccount> FUi;
    TDialogPositions* FPositions;
};

} // namespace quillet

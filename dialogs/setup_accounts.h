// The accounts setup dialog: the labels of the accounts in list order, with Add new, Edit,
// Delete and Close. It works on the live account list: a change takes effect at once, and the
// caller saves the settings after the dialog closes.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class frmSetupAccounts;
}

namespace quillet {

class TAccounts;
class TDialogPositions;
class TfrmOneAccount;

// The row selected after the list is refilled with a wanted row: that row while it exists
// (-1 selects nothing), otherwise the last one (-1 for an empty list).
int RefillSelection(int Wanted, int RowCount);

// The question asked before an account is removed.
std::string DeleteQuestion(const std::string& Label);
// The message shown when the account cannot be removed because it is being checked.
std::string DeleteRefusal(const std::string& Label);

class TfrmSetupAccounts : public QDialog {
    Q_OBJECT
public:
    // Positions may be null: the dialogs then open centred on their parents every time.
    TfrmSetupAccounts(TAccounts& Accounts, TDialogPositions* Positions, QWidget* Parent = nullptr);
    ~TfrmSetupAccounts() override;

    // The editor that Add new and Edit show.
    TfrmOneAccount& Editor() const { return *FEditor; }

protected:
    void showEvent(QShowEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;

private:
    void Refill(int Wanted);
    void UpdateButtons();
    int SelectedRow() const;

    void lisAccountsClick();
    void lisAccountsDblClick();
    void btnAddClick();
    void btnEditClick();
    void btnDeleteClick();
    void btnCloseClick();

    std::unique_ptr<Ui::frmSetupAccounts> FUi;
    TAccounts& FAccounts;
    TDialogPositions* FPositions;
    TfrmOneAccount* FEditor;
};

} // namespace quillet

#include "dialogs/setup_accounts.h"

#include "dialogs/dialog_positions.h"
#include "dialogs/message_box.h"
#include "dialogs/one_account.h"
#include "model/account.h"
#include "ui_setup_accounts.h"
#include "util/text_convert.h"

#include <QCoreApplication>

namespace quillet {

int RefillSelection(int Wanted, int RowCount) {
    return Wanted < RowCount ? Wanted : RowCount - 1;
}

std::string DeleteQuestion(const std::string& Label) {
    return FromQString(QCoreApplication::translate("quillet::TfrmSetupAccounts",
                                                   "Are you sure you want to remove account \"%1\"?")
                           .arg(ToQString(Label)));
}

std::string DeleteRefusal(const std::string& Label) {
    return FromQString(
        QCoreApplication::translate("quillet::TfrmSetupAccounts",
                                    "The account \"%1\" is being checked right now and cannot be removed. "
                                    "Try again when the check has ended.")
            .arg(ToQString(Label)));
}

TfrmSetupAccounts::TfrmSetupAccounts(TAccounts& Accounts, TDialogPositions* Positions, QWidget* Parent)
    : QDialog(Parent), FUi(std::make_unique<Ui::frmSetupAccounts>()), FAccounts(Accounts),
      FPositions(Positions), FEditor(new TfrmOneAccount(Positions, this)) {
    FUi->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connect(FUi->lisAccounts, &QListWidget::itemSelectionChanged, this, &TfrmSetupAccounts::lisAccountsClick);
    connect(FUi->lisAccounts, &QListWidget::itemDoubleClicked, this, &TfrmSetupAccounts::lisAccountsDblClick);
    connect(FUi->btnAdd, &QPushButton::clicked, this, &TfrmSetupAccounts::btnAddClick);
    connect(FUi->btnEdit, &QPushButton::clicked, this, &TfrmSetupAccounts::btnEditClick);
    connect(FUi->btnDelete, &QPushButton::clicked, this, &TfrmSetupAccounts::btnDeleteClick);
    connect(FUi->btnClose, &QPushButton::clicked, this, &TfrmSetupAccounts::btnCloseClick);
    if (FPositions != nullptr)
        FPositions->LoadDialogPosition(this, false);
}

TfrmSetupAccounts::~TfrmSetupAccounts() = default;

// Every showing lists the accounts afresh, with no row selected.
void TfrmSetupAccounts::showEvent(QShowEvent* Event) {
    Refill(-1);
    FUi->lisAccounts->setFocus();
    QDialog::showEvent(Event);
}

void TfrmSetupAccounts::hideEvent(QHideEvent* Event) {
    if (FPositions != nullptr)
        FPositions->SaveDialogPosition(this, false);
    QDialog::hideEvent(Event);
}

void TfrmSetupAccounts::Refill(int Wanted) {
    QListWidget* list = FUi->lisAccounts;
    list->clear();
    for (int i = 0; i < FAccounts.Count(); ++i)
        list->addItem(ToQString(FAccounts[i].Label));
    const int row = RefillSelection(Wanted, list->count());
    if (row >= 0) {
        list->setCurrentRow(row);
    } else {
        list->clearSelection();
        list->setCurrentRow(-1);
    }
    UpdateButtons();
}

void TfrmSetupAccounts::UpdateButtons() {
    const bool selected = SelectedRow() >= 0;
    FUi->btnEdit->setEnabled(selected);
    FUi->btnDelete->setEnabled(FUi->btnEdit->isEnabled());
}

int TfrmSetupAccounts::SelectedRow() const {
    const QList<QListWidgetItem*> selected = FUi->lisAccounts->selectedItems();
    return selected.isEmpty() ? -1 : FUi->lisAccounts->row(selected.first());
}

void TfrmSetupAccounts::lisAccountsClick() {
    UpdateButtons();
}

void TfrmSetupAccounts::lisAccountsDblClick() {
    btnEditClick();
}

void TfrmSetupAccounts::btnAddClick() {
    if (!FEditor->Edit(TAccountFields{}))
        return;
    auto account = std::make_unique<TAccount>();
    CopyFields(FEditor->Buffer, *account);
    FAccounts.Add(std::move(account));
    Refill(-1);
}

// The same account object takes the edited fields, so its mails and connection stay with it.
void TfrmSetupAccounts::btnEditClick() {
    const int row = SelectedRow();
    if (row < 0 || row >= FAccounts.Count())
        return;
    if (!FEditor->Edit(FieldsOf(FAccounts[row])))
        return;
    CopyFields(FEditor->Buffer, FAccounts[row]);
    Refill(row);
}

void TfrmSetupAccounts::btnDeleteClick() {
    const int row = SelectedRow();
    if (row < 0 || row >= FAccounts.Count())
        return;
    const std::string label = FAccounts[row].Label;
    if (AskYesNoCancel(this, tr("Deleting"), ToQString(DeleteQuestion(label))) != TMessageAnswer::Yes)
        return;
    // An account whose check is waiting for its server cannot go.
    if (!FAccounts.Delete(row)) {
        ShowMessage(this, tr("Deleting"), ToQString(DeleteRefusal(label)), TMessageIcon::Warning);
        return;
    }
    Refill(row);
}

void TfrmSetupAccounts::btnCloseClick() {
    accept();
}

} // namespace quillet

// The one modal password prompt: the caller sets Prompt, shows the dialog modally and reads
// Cancelled and, when it is false, EnteredPassword. Created once and reused; it remembers where
// the user left it (position only).
#pragma once

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class frmAskPassword;
}

namespace quillet {

class TDialogPositions;

class TfrmAskPassword : public QDialog {
    Q_OBJECT
public:
    // Positions may be null: the dialog then opens centred on its parent every time.
    explicit TfrmAskPassword(TDialogPositions* Positions, QWidget* Parent = nullptr);
    ~TfrmAskPassword() override;

    std::string Prompt;          // shown above the field; set before every showing
    std::string EnteredPassword; // the text typed, when OK was pressed
    bool Cancelled = true;       // false only when OK closed the dialog

    // Sets Prompt, shows the dialog modally and returns whether OK closed it.
    bool Ask(const std::string& PromptText);

protected:
    void showEvent(QShowEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;

private:
    void btnOKClick();

    std::unique_ptr<Ui::frmAskPassword> FUi;
    TDialogPositions* FPositions;
};

} // namespace quillet

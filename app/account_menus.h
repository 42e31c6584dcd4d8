// The places where the user reaches one account: the Accounts toolbar (a button per account),
// the drop-down of the check button, the tray's "Check this one" submenu, and the drop-down of
// the auto-check button, which switches whether an account takes part in Check all. Every item
// carries the account's position; the menus are built anew each time they open, the toolbar
// whenever the accounts change.
#pragma once

#include <QObject>
#include <functional>
#include <string>

class QMenu;
class QToolBar;

namespace quillet {

class TAccounts;

// Caption of an account's toolbar button: the first 10 characters of its label.
std::string AccountButtonCaption(const std::string& Label);
// Picture of an account's button: 8 while it is being checked, 6 when active, 7 when not.
int AccountButtonPicture(bool Checking, bool Active);

class TAccountMenus : public QObject {
    Q_OBJECT
public:
    // CheckOne is called with an account's position when one of its check items is chosen.
    TAccountMenus(TAccounts& Accounts, QToolBar* Toolbar, QMenu* CheckMenu, QMenu* TrayCheckOneMenu,
                  QMenu* AutoCheckMenu, std::function<void(int)> CheckOne, QObject* Parent = nullptr);

    // Removes every button of the Accounts toolbar and makes one per account.
    void BuildAccountsToolbar();
    // Sets the picture of account Position's button; nothing for a negative position.
    void UpdateAccountButton(int Position);
    // UpdateAccountButton for the first account labelled Label (case-sensitive), if any.
    void UpdateAccountButtonByLabel(const std::string& Label);

    // Menu building, as done when each menu opens.
    void BuildCheckMenu();
    void BuildTrayCheckOneMenu();
    void BuildAutoCheckMenu();

private:
    void AddCheckItems(QMenu* Menu);
    void ToggleActive(int Position);
    void SetAllActive(bool Active);

    TAccounts& FAccounts;
    QToolBar* FToolbar;
    QMenu* FCheckMenu;
    QMenu* FTrayCheckOneMenu;
    QMenu* FAutoCheckMenu;
    std::function<void(int)> FCheckOne;
};

} // namespace quillet

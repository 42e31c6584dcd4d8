#include "app/account_menus.h"

#include "app/pictures.h"
#include "check/account_health.h"
#include "model/account.h"
#include "util/strings.h"
#include "util/text_convert.h"

#include <QAction>
#include <QDateTime>
#include <QFontMetrics>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace quillet {

std::string AccountButtonCaption(const std::string& Label) {
    // Ten characters, not ten bytes: a label in any language is never cut inside a character.
    return FromQString(ToQString(Label).left(10));
}

int AccountButtonPicture(bool Checking, bool Active) {
    return Checking ? bpAccountChecking : Active ? bpAccountActive : bpAccountInactive;
}

TAccountMenus::TAccountMenus(TAccounts& Accounts, QToolBar* Toolbar, QMenu* CheckMenu,
                             QMenu* TrayCheckOneMenu, QMenu* AutoCheckMenu, std::function<void(int)> CheckOne,
                             QObject* Parent)
    : QObject(Parent), FAccounts(Accounts), FToolbar(Toolbar), FCheckMenu(CheckMenu),
      FTrayCheckOneMenu(TrayCheckOneMenu), FAutoCheckMenu(AutoCheckMenu), FCheckOne(std::move(CheckOne)) {
    connect(FCheckMenu, &QMenu::aboutToShow, this, &TAccountMenus::BuildCheckMenu);
    for (QMenu* menu : {FCheckMenu, FTrayCheckOneMenu})
        menu->setToolTipsVisible(true);
    connect(FTrayCheckOneMenu, &QMenu::aboutToShow, this, &TAccountMenus::BuildTrayCheckOneMenu);
    connect(FAutoCheckMenu, &QMenu::aboutToShow, this, &TAccountMenus::BuildAutoCheckMenu);
}

void TAccountMenus::BuildAccountsToolbar() {
    FToolbar->clear();
    for (int i = 0; i < FAccounts.Count(); ++i) {
        const TAccount& account = FAccounts[i];
        QAction* action = FToolbar->addAction(ToQString(AccountButtonCaption(account.Label)));
        action->setData(i);
        action->setToolTip(ToQString(account.Label));
        action->setIcon(ButtonPicture(AccountButtonPicture(false, account.Active)));
        connect(action, &QAction::triggered, this, [this, i] { FCheckOne(i); });
        if (auto* button = qobject_cast<QToolButton*>(FToolbar->widgetForAction(action))) {
            button->setObjectName(QStringLiteral("tbtnAccount%1").arg(i));
            button->setAccessibleName(tr("Check %1").arg(ToQString(account.Label)));
        }
    }
    for (int i = 0; i < FAccounts.Count(); ++i)
        UpdateAccountButtonByLabel(FAccounts[i].Label);
}

void TAccountMenus::UpdateAccountButton(int Position) {
    if (Position < 0 || Position >= FAccounts.Count())
        return;
    const QList<QAction*> actions = FToolbar->actions();
    if (Position >= actions.size())
        return;
    const TAccount& account = FAccounts[Position];
    QAction* action = actions[Position];
    const QIcon picture = ButtonPicture(AccountButtonPicture(account.Checking, account.Active));
    // An account whose checks keep failing carries a warning badge, and its tooltip says why.
    action->setIcon(ShowsHealthBadge(account) && !account.Checking ? WithWarningBadge(picture) : picture);
    action->setToolTip(ToQString(HealthTooltip(account, QDateTime::currentMSecsSinceEpoch())));
}

void TAccountMenus::UpdateAccountButtonByLabel(const std::string& Label) {
    for (int i = 0; i < FAccounts.Count(); ++i) {
        if (FAccounts[i].Label == Label) {
            UpdateAccountButton(i);
            return;
        }
    }
}

void TAccountMenus::AddCheckItems(QMenu* Menu) {
    for (int i = 0; i < FAccounts.Count(); ++i) {
        QAction* item = Menu->addAction(ButtonPicture(bpTelephone), ToQString(FAccounts[i].Label));
        item->setData(i);
        // How the account's checks go, where the menu shows tooltips.
        item->setToolTip(ToQString(HealthTooltip(FAccounts[i], QDateTime::currentMSecsSinceEpoch())));
        // The check runs once the menu has closed and the click has returned.
        connect(item, &QAction::triggered, this, [this, i] { FCheckOne(i); });
    }
}

void TAccountMenus::BuildCheckMenu() {
    FCheckMenu->clear();
    AddCheckItems(FCheckMenu);
}

void TAccountMenus::BuildTrayCheckOneMenu() {
    FTrayCheckOneMenu->clear();
    AddCheckItems(FTrayCheckOneMenu);
}

void TAccountMenus::BuildAutoCheckMenu() {
    FAutoCheckMenu->clear();
    for (int i = 0; i < FAccounts.Count(); ++i) {
        const TAccount& account = FAccounts[i];
        QAction* item = FAutoCheckMenu->addAction(
            ButtonPicture(account.Active ? bpAccountActive : bpAccountInactive),
            (account.Active ? tr("%1 is active") : tr("%1 is NOT active")).arg(ToQString(account.Label)));
        item->setData(i);
        connect(item, &QAction::triggered, this, [this, i] { ToggleActive(i); });
    }
    FAutoCheckMenu->addSeparator();
    connect(FAutoCheckMenu->addAction(ButtonPicture(bpAccountActive), tr("All active")), &QAction::triggered,
            this, [this] { SetAllActive(true); });
    connect(FAutoCheckMenu->addAction(ButtonPicture(bpAccountInactive), tr("All inactive")),
            &QAction::triggered, this, [this] { SetAllActive(false); });
}

void TAccountMenus::ToggleActive(int Position) {
    if (Position < 0 || Position >= FAccounts.Count())
        return;
    FAccounts[Position].Active = !FAccounts[Position].Active;
    UpdateAccountButton(Position);
}

void TAccountMenus::SetAllActive(bool Active) {
    for (int i = 0; i < FAccounts.Count(); ++i) {
        FAccounts[i].Active = Active;
        UpdateAccountButton(i);
    }
}

} // namespace quillet

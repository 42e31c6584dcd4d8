#include "app/main_actions.h"

#include "app/pictures.h"

#include <QAction>
#include <QCoreApplication>

namespace quillet {

namespace {

// Every command of the main window, in the order of TCommand.
const std::array<TCommandInfo, CommandCount> Commands = {{
    {TCommand::SetMasterPassword, "optSetMasterPassword",
     QT_TRANSLATE_NOOP("TMainActions", "Set password..."), "", -1, ""},
    {TCommand::Exit, "optExit", QT_TRANSLATE_NOOP("TMainActions", "E&xit"), "", 11,
     QT_TRANSLATE_NOOP("TMainActions", "Exit")},
    {TCommand::ViewMainToolbar, "optViewMainToolbar", QT_TRANSLATE_NOOP("TMainActions", "&Main toolbar"),
     "Ctrl+T", -1, ""},
    {TCommand::ViewAccountsToolbar, "optViewAccountsToolbar",
     QT_TRANSLATE_NOOP("TMainActions", "&Accounts toolbar"), "Ctrl+A", -1, ""},
    {TCommand::ViewStatusBar, "optViewStatusBar", QT_TRANSLATE_NOOP("TMainActions", "&Status bar"), "Ctrl+S",
     -1, ""},
    {TCommand::HideAll, "optViewHideAll", QT_TRANSLATE_NOOP("TMainActions", "Hide all"), "Ctrl+Alt+H", -1,
     ""},
    {TCommand::ShowAll, "optViewShowAll", QT_TRANSLATE_NOOP("TMainActions", "Show all"), "Ctrl+Alt+S", -1,
     ""},
    {TCommand::CheckAll, "optCheckAll", QT_TRANSLATE_NOOP("TMainActions", "&Check all accounts now"), "F5", 0,
     QT_TRANSLATE_NOOP("TMainActions", "Check all accounts now")},
    {TCommand::AbortChecking, "optAbortChecking", QT_TRANSLATE_NOOP("TMainActions", "A&bort checking"), "F6",
     1, QT_TRANSLATE_NOOP("TMainActions", "Abort checking")},
    {TCommand::AutoCheck, "optAutoCheck", QT_TRANSLATE_NOOP("TMainActions", "&Auto checking"), "F7", 4, ""},
    {TCommand::MailDelete, "optMailDelete", QT_TRANSLATE_NOOP("TMainActions", "Mark for &deleting/unmark"),
     "Del", 3, QT_TRANSLATE_NOOP("TMainActions", "Mark/unmark mail for deleting")},
    {TCommand::MailProperties, "optMailProperties",
     QT_TRANSLATE_NOOP("TMainActions", "&Show e-mail properties"), "F12", 2,
     QT_TRANSLATE_NOOP("TMainActions", "Show mail properties")},
    {TCommand::SetupAccounts, "optSetupAccounts", QT_TRANSLATE_NOOP("TMainActions", "Setup &accounts"), "F8",
     10, QT_TRANSLATE_NOOP("TMainActions", "Setup accounts")},
    {TCommand::Options, "optOptions", QT_TRANSLATE_NOOP("TMainActions", "&Options"), "F9", 9,
     QT_TRANSLATE_NOOP("TMainActions", "Program options")},
    {TCommand::DumpIDs, "optDumpIDs", QT_TRANSLATE_NOOP("TMainActions", "Dump IDs"), "", -1, ""},
    {TCommand::About, "optAbout", QT_TRANSLATE_NOOP("TMainActions", "&About..."), "F1", -1, ""},
    {TCommand::Restore, "popoptRestore", QT_TRANSLATE_NOOP("TMainActions", "&Restore"), "", -1, ""},
}};

bool IsViewToggle(TCommand Command) {
    return Command == TCommand::ViewMainToolbar || Command == TCommand::ViewAccountsToolbar ||
           Command == TCommand::ViewStatusBar;
}

} // namespace

const TCommandInfo& CommandInfo(TCommand Command) {
    return Commands[static_cast<std::size_t>(Command)];
}

bool CommandEnabled(TCommand Command, bool HasHandler, const TCommandState& State) {
    if (!HasHandler)
        return false;
    switch (Command) {
    case TCommand::AbortChecking:
        return State.Checking;
    case TCommand::SetupAccounts:
    case TCommand::Options:
    case TCommand::Exit:
        return !State.Checking;
    case TCommand::MailDelete:
    case TCommand::MailProperties:
        return State.HasSelection;
    default:
        return true;
    }
}

TMainActions::TMainActions(QObject* Parent) {
    for (const TCommandInfo& info : Commands) {
        auto* action = new QAction(QCoreApplication::translate("TMainActions", info.Caption), Parent);
        action->setObjectName(QString::fromLatin1(info.Name));
        if (info.Keys[0] != '\0')
            action->setShortcut(QKeySequence(QString::fromLatin1(info.Keys), QKeySequence::PortableText));
        if (info.Picture >= 0)
            action->setIcon(ButtonPicture(info.Picture));
        if (info.Hint[0] != '\0')
            action->setToolTip(QCoreApplication::translate("TMainActions", info.Hint));
        action->setCheckable(IsViewToggle(info.Command));
        action->setEnabled(false);
        FActions[static_cast<std::size_t>(info.Command)] = action;
    }
}

} // namespace quillet

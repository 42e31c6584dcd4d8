#include "app/main_actions.h"

#include "app/pictures.h"

#include <QAction>

namespace quillet {

namespace {

// Every command of the main window, in the order of TCommand.
const std::array<TCommandInfo, CommandCount> Commands = {{
    {TCommand::SetMasterPassword, "optSetMasterPassword", "Set password...", "", -1, ""},
    {TCommand::Exit, "optExit", "E&xit", "", 11, "Exit"},
    {TCommand::ViewMainToolbar, "optViewMainToolbar", "&Main toolbar", "Ctrl+T", -1, ""},
    {TCommand::ViewAccountsToolbar, "optViewAccountsToolbar", "&Accounts toolbar", "Ctrl+A", -1, ""},
    {TCommand::ViewStatusBar, "optViewStatusBar", "&Status bar", "Ctrl+S", -1, ""},
    {TCommand::HideAll, "optViewHideAll", "Hide all", "Ctrl+Alt+H", -1, ""},
    {TCommand::ShowAll, "optViewShowAll", "Show all", "Ctrl+Alt+S", -1, ""},
    {TCommand::CheckAll, "optCheckAll", "&Check all accounts now", "F5", 0, "Check all accounts now"},
    {TCommand::AbortChecking, "optAbortChecking", "A&bort checking", "F6", 1, "Abort checking"},
    {TCommand::AutoCheck, "optAutoCheck", "&Auto checking", "F7", 4, ""},
    {TCommand::MailDelete, "optMailDelete", "Mark for &deleting/unmark", "Del", 3,
     "Mark/unmark mail for deleting"},
    {TCommand::MailProperties, "optMailProperties", "&Show e-mail properties", "F12", 2,
     "Show mail properties"},
    {TCommand::SetupAccounts, "optSetupAccounts", "Setup &accounts", "F8", 10, "Setup accounts"},
    {TCommand::Options, "optOptions", "&Options", "F9", 9, "Program options"},
    {TCommand::DumpIDs, "optDumpIDs", "Dump IDs", "", -1, ""},
    {TCommand::About, "optAbout", "&About...", "F1", -1, ""},
    {TCommand::Restore, "popoptRestore", "&Restore", "", -1, ""},
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
        auto* action = new QAction(QString::fromUtf8(info.Caption), Parent);
        action->setObjectName(QString::fromLatin1(info.Name));
        if (info.Keys[0] != '\0')
            action->setShortcut(QKeySequence(QString::fromLatin1(info.Keys), QKeySequence::PortableText));
        if (info.Picture >= 0)
            action->setIcon(ButtonPicture(info.Picture));
        if (info.Hint[0] != '\0')
            action->setToolTip(QString::fromUtf8(info.Hint));
        action->setCheckable(IsViewToggle(info.Command));
        action->setEnabled(false);
        FActions[static_cast<std::size_t>(info.Command)] = action;
    }
}

} // namespace quillet

// The commands of the main window: one QAction each, created once and shared by the menus, the
// toolbar and the tray menu, so that caption, picture and enabled state follow from one place.
#pragma once

#include <array>

class QAction;
class QObject;

namespace quillet {

enum class TCommand {
    SetMasterPassword,
    Exit,
    ViewMainToolbar,
    ViewAccountsToolbar,
    ViewStatusBar,
    HideAll,
    ShowAll,
    CheckAll,
    AbortChecking,
    AutoCheck,
    MailDelete,
    MailProperties,
    SetupAccounts,
    Options,
    DumpIDs,
    About,
    Restore,
};
inline constexpr int CommandCount = static_cast<int>(TCommand::Restore) + 1;

struct TCommandInfo {
    TCommand Command;
    const char* Name; // the action's object name
    const char* Caption;
    const char* Keys; // portable text of the shortcut; empty: none
    int Picture;      // in the button picture list; -1: none
    const char* Hint; // toolbar tooltip; empty: the caption without its mnemonic
};

const TCommandInfo& CommandInfo(TCommand Command);

// What the enabled state of the commands depends on.
struct TCommandState {
    bool Checking = false;     // a check is running
    bool HasSelection = false; // the mail list has a selected row
};

// A command without a handler is disabled. Abort needs a running check; the accounts, options
// and exit commands are refused during one; the two mail commands need a selected mail.
bool CommandEnabled(TCommand Command, bool HasHandler, const TCommandState& State);

class TMainActions {
public:
    explicit TMainActions(QObject* Parent);
    QAction* operator[](TCommand Command) const { return FActions[static_cast<std::size_t>(Command)]; }

private:
    std::array<QAction*, CommandCount> FActions{};
};

} // namespace quillet

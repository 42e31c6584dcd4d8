// What the check cycle needs from the window: status output, the rows of the mail list, the
// account buttons, the commands, sounds and the window itself. The window implements it; tests
// record what the cycle asks for.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace quillet {

class TMail;

// The two sounds a check ends with.
enum class TCheckSound { NewMail, NoMail };

class TCheckHost {
public:
    virtual ~TCheckHost() = default;
    // The status bar's message panel.
    virtual void SetStatusText(const std::string& Text) = 0;
    // Appends Line at the end of the System pane (a text with line breaks becomes several lines).
    virtual void AppendSystemLine(const std::string& Line) = 0;
    // Appends a new entry to the mail list, with its row at its sorted place.
    virtual void AddMail(std::unique_ptr<TMail> Mail) = 0;
    // The entry at MailIndex changed its state or mark: its row shows it.
    virtual void UpdateMail(int MailIndex) = 0;
    // Removes the entry at MailIndex and its row.
    virtual void RemoveMail(int MailIndex) = 0;
    // Mail count, last full check, title, tray hint, command states.
    virtual void RefreshStatus() = 0;
    virtual void UpdateAccountButton(int Position) = 0;
    // Off while any check runs: "Setup accounts", "Options" and Exit off, "Abort checking" on.
    virtual void SetCommandsEnabled(bool Enabled) = 0;
    // After a check command: when no row is selected and the list has rows, select the first.
    virtual void SelectFirstRowIfNone() = 0;
    virtual void PlaySound(TCheckSound Sound) = 0;
    // Restores the window (from the tray too) and brings it to the front.
    virtual void RestoreAndRaise() = 0;
    // A check command found new mail: the keys of the mails it added, in order.
    virtual void AnnounceNewMail(const std::vector<std::string>& Keys) = 0;
    // An account's sign-in tokens changed during a check (renewed, or dropped as refused): the
    // accounts are written to the settings file now, as a renewed refresh token may be the only
    // one that still works.
    virtual void SaveAccounts() {}
};

} // namespace quillet

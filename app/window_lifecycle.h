// The main window's life: the one-time start sequence and the rule that decides whether a
// close request closes the window or minimizes it.
#pragma once

namespace quillet {

// A close goes through when the program already sits in the tray, when Exit asked for it, or
// when closing is not set to minimize; otherwise the window is minimized instead.
inline bool CloseAllowed(bool IconShown, bool ExitRequested, bool CloseMinimizes) {
    return IconShown || ExitRequested || !CloseMinimizes;
}

// What the start sequence asks of the window.
class TStartHost {
public:
    virtual ~TStartHost() = default;
    // Loads the settings; false when the program is ending (the master password was refused).
    virtual bool LoadSettings() = 0;
    virtual bool StartMinimized() const = 0;
    virtual void MinimizeApp() = 0;
    virtual bool HasAccounts() const = 0;
    virtual void SetupAccounts() = 0;
    virtual void CheckAll() = 0;
};

// Runs once, on the first activation of the window: settings, minimize when so configured, the
// accounts dialog when there is no account, then the first check. A program that is ending stops
// after the load. An error raised by the load stops the sequence there.
class TStartSequence {
public:
    bool Done() const { return FDone; }
    void Activated(TStartHost& Host);

private:
    bool FDone = false;
};

} // namespace quillet

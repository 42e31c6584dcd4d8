// Helpers for tests of the main window: a window on temporary stores and an answerer for the
// modal password prompt (the silent sound player and AddAccount come with the settings tests' helpers).
#pragma once

#include "app/main_window.h"
#include "model/account.h"
#include "model/mails.h"
#include "tests/settings/settings_test_support.h"
#include "tests/support/temp_settings.h"

#include <QTimer>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillet::test {

// Everything a window needs, kept apart from the user's own settings; several windows may be
// made in turn on the same stores, as successive runs of the program.
class TWindowBench {
public:
    TWindowBench();
    ~TWindowBench();

    // A new window on the stores; TrayAvailable tells what the desktop offers.
    std::unique_ptr<TfrmMain> MakeWindow(bool TrayAvailable = false);
    // Shows the window as the program does and waits until its start sequence has run.
    static void Start(TfrmMain& Window);
    // A program run: a new window, started, then destroyed (which saves the settings).
    void RunOnce();

    TTempSettingsStore Store;
    TTempAppDir Dir;
    TTempAppDir AutostartDir;
    TSilentPlayer Player;
    TAccounts Accounts;
    TMails Mails;
};

// Answers the password prompt each time it opens, in order: text to type and OK, or nothing
// for Cancel. Records every prompt shown.
class TPromptAnswerer {
public:
    explicit TPromptAnswerer(std::vector<std::optional<std::string>> Answers);
    std::vector<std::string> Prompts;
    int Unanswered() const { return static_cast<int>(FAnswers.size()); }

private:
    void Poll();
    std::deque<std::optional<std::string>> FAnswers;
    QTimer FTimer;
};

} // namespace quillet::test

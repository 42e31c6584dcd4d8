// Helpers shared by the settings tests and the main window tests: a sound player that plays
// nothing, and an account added to a list in one call.
#pragma once

#include "model/account.h"
#include "notify/sound_player.h"

#include <memory>
#include <string>

namespace quillet::test {

class TSilentPlayer : public TSoundPlayer {
public:
    void PlayResource(const QString&) override {}
    void PlayFileToEnd(const QString&) override {}
};

inline void AddAccount(TAccounts& Accounts, const std::string& Label, const std::string& User,
                       const std::string& Host, const std::string& Password, int Port, bool Active) {
    auto account = std::make_unique<TAccount>();
    account->Label = Label;
    account->UserName = User;
    account->Host = Host;
    account->Password = Password;
    account->SetPort(Port);
    account->Active = Active;
    Accounts.Add(std::move(account));
}

} // namespace quillet::test

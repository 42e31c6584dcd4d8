#include "model/seen_mail.h"

#include "model/account.h"
#include "model/mail.h"

#include <algorithm>

namespace quillet {

TSeenAccount SeenAccountOf(const TAccount& Account) {
    return {Account.Label, Account.Host, Account.UserName};
}

std::string SeenMailId(const TMail& Mail) {
    return Mail.Uid.empty() ? Mail.MatchKey() : Mail.Uid;
}

bool TSeenMail::Contains(const TSeenAccount& Account, const std::string& Id) const {
    const auto found = FAccounts.find(Account);
    return found != FAccounts.end() && found->second.contains(Id);
}

bool TSeenMail::Add(const TSeenAccount& Account, const std::vector<std::string>& Ids) {
    bool added = false;
    for (const std::string& id : Ids)
        if (!id.empty())
            added |= FAccounts[Account].insert(id).second;
    return added;
}

bool TSeenMail::Keep(const TSeenAccount& Account, const std::vector<std::string>& Ids) {
    TIds kept;
    for (const std::string& id : Ids)
        if (!id.empty())
            kept.insert(id);
    const auto found = FAccounts.find(Account);
    const bool changed = found == FAccounts.end() ? !kept.empty() : found->second != kept;
    // An account with an empty mailbox holds no set at all.
    if (kept.empty())
        FAccounts.erase(Account);
    else
        FAccounts[Account] = std::move(kept);
    return changed;
}

void TSeenMail::KeepOnly(const std::vector<TSeenAccount>& Accounts) {
    std::erase_if(FAccounts, [&Accounts](const auto& Entry) {
        return std::find(Accounts.begin(), Accounts.end(), Entry.first) == Accounts.end();
    });
}

} // namespace quillet

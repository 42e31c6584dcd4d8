// The mails already announced, per account, kept across restarts so that a mail is announced
// (sound, restored window, notification) once only. A mail is remembered by the server's unique
// id (UIDL) where it gives one, otherwise by its key. An account is known by its label, server
// and user name: editing any of them starts the account afresh.
#pragma once

#include <compare>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

namespace quillet {

class TAccount;
class TMail;

// Which account a set of announced mails belongs to.
struct TSeenAccount {
    std::string Label;
    std::string Host;
    std::string UserName;
    auto operator<=>(const TSeenAccount&) const = default;
};

TSeenAccount SeenAccountOf(const TAccount& Account);

// What a mail is remembered by: its unique id (UIDL) where the server gave one, else its key.
std::string SeenMailId(const TMail& Mail);

class TSeenMail {
public:
    using TIds = std::unordered_set<std::string>;

    // Whether the mail remembered by Id was announced on Account before.
    bool Contains(const TSeenAccount& Account, const std::string& Id) const;
    // Adds Ids to what Account announced. Returns whether anything was added.
    bool Add(const TSeenAccount& Account, const std::vector<std::string>& Ids);
    // After a check that met every message on the server: Ids are all that Account keeps, so that
    // mail gone from the server is forgotten. Returns whether anything changed.
    bool Keep(const TSeenAccount& Account, const std::vector<std::string>& Ids);
    // Forgets the accounts that Accounts no longer holds (deleted, or edited to another label,
    // server or user name).
    void KeepOnly(const std::vector<TSeenAccount>& Accounts);

    // Every account that announced mail still kept, with its ids (never an empty set).
    const std::map<TSeenAccount, TIds>& Accounts() const { return FAccounts; }
    bool operator==(const TSeenMail&) const = default;

private:
    std::map<TSeenAccount, TIds> FAccounts;
};

} // namespace quillet

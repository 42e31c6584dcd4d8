// A POP3 account with its own protocol clients, and the owning list of accounts.
#pragma once

#include "mail/pop3_text.h"
#include "mail/security.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillet {

class TPop3Client;
class TSmtpClient;
class TMailMessage;

// How an account signs in: with its password (USER/PASS), or with an OAuth 2.0 access token
// through SASL. Stored in the settings file as "Auth" = "password" / "oauth2".
enum class TSignIn : std::uint8_t { Password = 0, OAuth2 = 1 };

// Where an OAuth 2.0 account gets its tokens: the provider's endpoints, the user's own client id
// and the scope asked for. Not secret. ClientSecret is the one some providers (Google) issue to a
// desktop client and want with every token request; it identifies the program, not the user,
// and is no secret there. Empty for public clients (Microsoft), which must send none.
struct TOAuthSettings {
    std::string AuthorizeUrl;
    std::string TokenUrl;
    std::string ClientId;
    std::string Scope;
    // Defaulted, so that braced lists of the four fields above still initialize every field.
    std::string ClientSecret = {};
    bool operator==(const TOAuthSettings&) const = default;
};

// What an OAuth 2.0 sign-in gave: secrets, kept like the password.
struct TOAuthTokens {
    std::string AccessToken;
    std::string RefreshToken;
    std::int64_t AccessExpiresMs = 0; // milliseconds since the epoch; 0: unknown
    bool operator==(const TOAuthTokens&) const = default;
};

class TAccount {
public:
    TAccount();
    ~TAccount();
    TAccount(const TAccount&) = delete;
    TAccount& operator=(const TAccount&) = delete;

    bool Checking = false;
    std::string Label;
    std::string UserName;
    std::string Host;
    std::string Password;
    TSignIn SignIn = TSignIn::Password;
    TOAuthSettings OAuth;
    TOAuthTokens Tokens;
    // Names this account's entries in the desktop keyring, so that a reorder or a deletion of
    // accounts never hands one account another's secrets; random, given when first needed.
    std::string KeyringId;
    bool Active = true;
    TSecurity Security = TSecurity::None;
    // SHA-256 fingerprint of the one certificate this account trusts; empty: the usual checks.
    std::string TrustedCert;
    // The certificate the last check refused (fingerprint and description), for the account
    // editor's "Trust this certificate"; kept for this run only.
    std::string RefusedCertFingerprint;
    std::string RefusedCertText;
    // Which unique id (UIDL) gave which mail key on this account, for checks that match known
    // messages without fetching their headers again; kept for this run only.
    std::unordered_map<std::string, std::string> UidlIdentities;
    // The unique ids of the last complete check (by message number): with LastListing, what
    // tells an unchanged mailbox. Empty without UIDL.
    TUniqueIds LastUniqueIds;
    // How this account's checks go, kept across runs in the options store (times in
    // milliseconds since the epoch, 0: none). LastFailure is why the last check failed
    // ("Failed on login", ...); a good check empties it and clears its time and count.
    std::string LastFailure;
    std::int64_t LastFailureMs = 0;   // when that check failed
    std::int64_t LastGoodCheckMs = 0; // when a check last succeeded
    std::int32_t FailuresInRow = 0;   // checks failed since the last good one
    // The last log-in (milliseconds since the epoch, 0: none in this run) and the seconds the
    // server wants between log-ins (CAPA LOGIN-DELAY; -1: it said nothing).
    std::int64_t LastLoginMs = 0;
    std::int32_t LoginDelay = -1;
    std::vector<std::string> LastListing; // status line removed, "." line kept

    TPop3Client* Pop() const { return FPop.get(); }
    TSmtpClient* Smtp() const { return FSmtp.get(); }
    TMailMessage* MailMessage() const { return FMessage.get(); }

    // Always within 1..65535: SetPort keeps it there.
    std::int32_t Port() const { return FPort; }
    void SetPort(std::int32_t Value);
    // Stores the lines of a LIST reply without its "+" status line; empty text empties the
    // listing, so that the next check fetches every header again.
    void StoreListing(const std::string& Text);
    // True when a LIST reply (status line aside) is the stored listing, byte for byte.
    bool SameListing(const std::string& Text) const;
    // Size of message N from the stored listing, by line position; -1 when there is no such
    // line or it holds no space, 0 when the size is not a number.
    std::int32_t ListedSize(std::int32_t N) const;
    // Closes open connections at once, without QUIT, also one still being opened.
    void DropSessions();
    // Notes how a check of this account ended at AtMs: Failure is why it failed, empty for a
    // good check (which clears the failure and its count).
    void RecordCheck(const std::string& Failure, std::int64_t AtMs);

private:
    std::int32_t FPort = 110;
    std::unique_ptr<TMailMessage> FMessage;
    std::unique_ptr<TPop3Client> FPop;
    std::unique_ptr<TSmtpClient> FSmtp;
};

class TAccounts {
public:
    TAccounts() = default;
    TAccounts(const TAccounts&) = delete;
    TAccounts& operator=(const TAccounts&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    TAccount& operator[](int Index) { return *FItems.at(static_cast<std::size_t>(Index)); }
    const TAccount& operator[](int Index) const { return *FItems.at(static_cast<std::size_t>(Index)); }
    TAccount* Item(int Index) const;
    // Appends and takes ownership; returns the account's number (its index).
    int Add(std::unique_ptr<TAccount> Account);
    // Removes and destroys the account at Index. Refused (false) while it is being checked:
    // a wait for its server may still be running on the call stack.
    bool Delete(int Index);
    void Clear();
    void DropAllSessions();

private:
    std::vector<std::unique_ptr<TAccount>> FItems;
};

} // namespace quillet

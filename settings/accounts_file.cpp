#include "settings/accounts_file.h"

#include "crypto/master_password.h"
#include "crypto/protected_text.h"
#include "model/account.h"
#include "settings/ini_file.h"

#include <algorithm>
#include <exception>
#include <memory>

namespace quillet {

namespace {

const std::string kAccounts = "Accounts";
const std::string kOAuth2 = "oauth2";

void ReadSignIn(const TIniFile& Ini, const std::string& Section, const std::string& MasterPassword,
                TAccount& Account) {
    // Files from before OAuth have no "Auth" key: password accounts, as they always were.
    if (Ini.ReadString(Section, "Auth", "") != kOAuth2)
        return;
    Account.SignIn = TSignIn::OAuth2;
    Account.OAuth.AuthorizeUrl = Ini.ReadString(Section, "AuthorizeUrl", "");
    Account.OAuth.TokenUrl = Ini.ReadString(Section, "TokenUrl", "");
    Account.OAuth.ClientId = Ini.ReadString(Section, "ClientId", "");
    Account.OAuth.Scope = Ini.ReadString(Section, "Scope", "");
    Account.OAuth.ClientSecret = Ini.ReadString(Section, "ClientSecret", "");
    Account.Tokens.AccessToken = UnprotectText(Ini.ReadString(Section, "AccessToken", ""), MasterPassword);
    Account.Tokens.RefreshToken = UnprotectText(Ini.ReadString(Section, "RefreshToken", ""), MasterPassword);
    try {
        Account.Tokens.AccessExpiresMs = std::stoll(Ini.ReadString(Section, "TokenExpires", "0"));
    } catch (const std::exception&) {
        Account.Tokens.AccessExpiresMs = 0; // unknown: the token is refreshed before it is used
    }
}

// A secret as the file keeps it: protected, or nothing when the keyring keeps it.
std::string StoredSecret(const std::string& Secret, const std::string& MasterPassword, bool InKeyring) {
    return InKeyring ? std::string() : ProtectText(Secret, MasterPassword);
}

void WriteSignIn(TIniFile& Ini, const std::string& Section, const std::string& MasterPassword,
                 const TAccount& Account, bool InKeyring) {
    // A password account's section stays as it always was, unless it once signed in with OAuth:
    // then its keys are emptied so that no token outlives the choice.
    const bool oauth = Account.SignIn == TSignIn::OAuth2;
    if (!oauth && Ini.ReadString(Section, "Auth", "").empty())
        return;
    Ini.WriteString(Section, "Auth", oauth ? kOAuth2 : "password");
    Ini.WriteString(Section, "AuthorizeUrl", oauth ? Account.OAuth.AuthorizeUrl : "");
    Ini.WriteString(Section, "TokenUrl", oauth ? Account.OAuth.TokenUrl : "");
    Ini.WriteString(Section, "ClientId", oauth ? Account.OAuth.ClientId : "");
    Ini.WriteString(Section, "Scope", oauth ? Account.OAuth.Scope : "");
    Ini.WriteString(Section, "ClientSecret", oauth ? Account.OAuth.ClientSecret : "");
    Ini.WriteString(Section, "AccessToken",
                    oauth ? StoredSecret(Account.Tokens.AccessToken, MasterPassword, InKeyring) : "");
    Ini.WriteString(Section, "RefreshToken",
                    oauth ? StoredSecret(Account.Tokens.RefreshToken, MasterPassword, InKeyring) : "");
    Ini.WriteString(Section, "TokenExpires", oauth ? std::to_string(Account.Tokens.AccessExpiresMs) : "0");
}

} // namespace

TAccountsHeader ReadAccountsHeader(const TIniFile& Ini) {
    TAccountsHeader header;
    header.Count = Ini.ReadInteger(kAccounts, "Count", 0);
    header.UsePassword = Ini.ReadBool(kAccounts, "UsePassword", false);
    header.TestPhrase = Ini.ReadString(kAccounts, "TestPhrase", "");
    header.Keyring = Ini.ReadBool(kAccounts, "Keyring", false);
    return header;
}

void ReadAccounts(const TIniFile& Ini, int Count, const std::string& MasterPassword, TAccounts& Accounts) {
    // Every account owns two clients and a message object: a damaged or hand-edited "Count"
    // must not make the load build accounts until memory runs out.
    Count = std::min(Count, MaxStoredAccounts);
    for (int n = 0; n < Count; ++n) {
        const std::string section = AccountSectionName(n);
        auto account = std::make_unique<TAccount>();
        account->Label = Ini.ReadString(section, "Label", "");
        account->UserName = UnprotectText(Ini.ReadString(section, "UserName", ""), MasterPassword);
        account->Host = UnprotectText(Ini.ReadString(section, "Host", ""), MasterPassword);
        account->Password = UnprotectText(Ini.ReadString(section, "Password", ""), MasterPassword);
        account->SetPort(Ini.ReadInteger(section, "Port", 110));
        account->Active = Ini.ReadBool(section, "Active", true);
        // Files from before TLS have neither key: plain POP3, as they always had.
        account->Security = SecurityFromNumber(Ini.ReadInteger(section, "Security", 0));
        account->TrustedCert = Ini.ReadString(section, "TrustedCert", "");
        account->KeyringId = Ini.ReadString(section, "KeyringId", "");
        ReadSignIn(Ini, section, MasterPassword, *account);
        Accounts.Add(std::move(account));
    }
}

void WriteAccounts(TIniFile& Ini, const std::string& MasterPassword, const TAccounts& Accounts,
                   bool SecretsInKeyring) {
    TIniUpdate update(Ini);
    Ini.WriteInteger(kAccounts, "Count", Accounts.Count());
    Ini.WriteBool(kAccounts, "UsePassword", !MasterPassword.empty());
    Ini.WriteString(kAccounts, "TestPhrase", MakeTestPhrase(MasterPassword));
    // Files that never used the keyring stay as they were.
    if (SecretsInKeyring || Ini.ReadBool(kAccounts, "Keyring", false))
        Ini.WriteBool(kAccounts, "Keyring", SecretsInKeyring);
    for (int n = 0; n < Accounts.Count(); ++n) {
        const TAccount& account = Accounts[n];
        const std::string section = AccountSectionName(n);
        Ini.WriteString(section, "Label", account.Label);
        Ini.WriteString(section, "UserName", ProtectText(account.UserName, MasterPassword));
        Ini.WriteString(section, "Host", ProtectText(account.Host, MasterPassword));
        Ini.WriteString(section, "Password",
                        StoredSecret(account.Password, MasterPassword, SecretsInKeyring));
        Ini.WriteInteger(section, "Port", account.Port());
        Ini.WriteBool(section, "Active", account.Active);
        Ini.WriteInteger(section, "Security", static_cast<int>(account.Security));
        Ini.WriteString(section, "TrustedCert", account.TrustedCert);
        // Written also when empty over a section that had one: a section now holding another
        // account must not keep the keyring entries of the account it held before.
        if (!account.KeyringId.empty() || !Ini.ReadString(section, "KeyringId", "").empty())
            Ini.WriteString(section, "KeyringId", account.KeyringId);
        WriteSignIn(Ini, section, MasterPassword, account, SecretsInKeyring);
    }
    update.Commit();
}

} // namespace quillet

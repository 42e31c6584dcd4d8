// The accounts in the settings file: the "Accounts" section (count, master-password marker and
// test value) and one numbered section per account, credentials in protected form.
#pragma once

#include <string>

namespace quillet {

class TIniFile;
class TAccounts;

// What the "Accounts" section says before any account is read.
struct TAccountsHeader {
    int Count = 0;
    bool UsePassword = false;
    std::string TestPhrase;
    bool Keyring = false; // the accounts' secrets are in the desktop keyring, not in the file
};

TAccountsHeader ReadAccountsHeader(const TIniFile& Ini);

// Most accounts a load reads, whatever "Count" says; far more than anyone keeps.
inline constexpr int MaxStoredAccounts = 1000;

// Reads Count (at most MaxStoredAccounts) accounts in order and appends each to Accounts, credentials undone
// with MasterPassword (scrambled when it is empty). A stored credential that is not valid hexadecimal raises
// the conversion error; accounts appended before it stay in the list.
void ReadAccounts(const TIniFile& Ini, int Count, const std::string& MasterPassword, TAccounts& Accounts);

// Writes "Count", "UsePassword", "TestPhrase" and one section per account in list order, all in
// one atomic replace of the file. Sections numbered at or above the new count are left as they
// are. A file that cannot be written raises "Unable to write to <file>" and keeps its old text.
// SecretsInKeyring: the file says so ("Keyring" = 1) and keeps no password or token; otherwise
// it keeps them, and says "Keyring" = 0 only when it said otherwise before.
void WriteAccounts(TIniFile& Ini, const std::string& MasterPassword, const TAccounts& Accounts,
                   bool SecretsInKeyring = false);

} // namespace quillet

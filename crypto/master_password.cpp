#include "crypto/master_password.h"

#include "crypto/blowfish.h"
#include "crypto/hex_text.h"

namespace quillet {

std::string MakeTestPhrase(std::string_view MasterPassword) {
    return StringToHex(EncryptString(VerificationText, MasterPassword));
}

bool PasswordOpensTestPhrase(std::string_view StoredTestPhrase, std::string_view Typed) {
    const std::string Stored = HexToString(StoredTestPhrase);
    // An empty entry is keyed like the one-letter stand-in for an empty pass phrase, so it
    // would open a file protected by that letter (or repetitions of it) and then leave the
    // program reading encrypted credentials as if no master password were set.
    if (Typed.empty())
        return false;
    return DecryptString(Stored, Typed) == VerificationText;
}

} // namespace quillet

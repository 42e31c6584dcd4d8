#include "crypto/protected_text.h"

#include "crypto/blowfish.h"
#include "crypto/hex_text.h"
#include "crypto/scramble.h"

namespace quillet {

std::string ProtectText(std::string_view Value, std::string_view MasterPassword) {
    if (MasterPassword.empty())
        return StringToHex(ScrambleString(Value));
    return StringToHex(EncryptString(Value, MasterPassword));
}

std::string UnprotectText(std::string_view Stored, std::string_view MasterPassword) {
    if (MasterPassword.empty())
        return UnscrambleString(HexToString(Stored));
    return DecryptString(HexToString(Stored), MasterPassword);
}

} // namespace quillet

// What the files of the POP3 client share on the wire: line ends and the exchange codes as the
// socket conversation carries them.
#pragma once

#include "mail/pop3_client.h"

#include <cstdint>
#include <string>

namespace quillet::pop3_wire {

inline const std::string kLineEnd = "\r\n";
inline const std::string kListEnd = "\r\n.\r\n";

inline std::uint8_t CodeOf(TPop3Exchange Code) {
    return static_cast<std::uint8_t>(Code);
}

} // namespace quillet::pop3_wire

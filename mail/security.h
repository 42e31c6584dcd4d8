// How an account's connection is protected: not at all, TLS from the first byte (POP3S, usually
// port 995), or TLS started with STLS on the plain port (required once chosen: a server that
// does not offer it gets no user name or password). Stored in the settings file as 0, 1, 2.
#pragma once

#include <cstdint>

namespace quillet {

enum class TSecurity : std::uint8_t { None = 0, Tls = 1, StartTls = 2 };

// The stored number as a security setting; anything unknown is None, as in files from before.
inline TSecurity SecurityFromNumber(int Value) {
    return Value == 1 ? TSecurity::Tls : Value == 2 ? TSecurity::StartTls : TSecurity::None;
}

} // namespace quillet

// One command line of a POP3 client, as the demo mailbox server reads it (RFC 1939 and the CAPA
// command of RFC 2449). Pure: the line is classified and its arguments checked here; whether the
// command is allowed now, and whether a message number exists, is the session's business.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

enum class TDemoVerb : std::uint8_t {
    Unknown,
    User,
    Pass,
    Stat,
    List,
    Uidl,
    Top,
    Retr,
    Dele,
    Rset,
    Noop,
    Quit,
    Capa,
};

struct TDemoCommand {
    TDemoVerb Verb = TDemoVerb::Unknown;
    // USER: the name; PASS: everything after "PASS ", spaces included (a password may hold them).
    std::string Argument;
    // LIST, UIDL, TOP, RETR, DELE: the message number; 0 when LIST or UIDL were given none.
    std::int32_t Message = 0;
    // TOP: how many body lines to send.
    std::int32_t Lines = 0;
    // Why the line cannot be carried out as it stands, in words for the "-ERR" reply; empty
    // when it is well formed.
    std::string Error;
};

// Reads one client line (without its CR LF). The keyword is matched without regard to case;
// arguments are separated by one or more spaces; a number is decimal digits within 32 bits.
TDemoCommand ParseDemoCommand(std::string_view Line);

} // namespace quillet

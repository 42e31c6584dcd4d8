// One POP3 conversation with the demo mailbox (RFC 1939, CAPA from RFC 2449), without the
// socket: each client line goes in, the reply bytes come out. The session sees the mailbox as it
// was at log-in; deletions are only marked until QUIT, which then removes them from the mailbox
// (by unique id, so messages delivered in the meantime stay untouched). A session that ends any
// other way leaves the mailbox as it was.
#pragma once

#include "demo/demo_mailbox.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

struct TDemoCommand;

class TDemoPop3Session {
public:
    TDemoPop3Session(TDemoMailbox& Mailbox, std::string UserName, std::string Password);

    static std::string Greeting();
    // The reply to one client line (without its CR LF), CR LF included; multi-line replies are
    // byte-stuffed and end with "." on a line of its own.
    std::string Reply(std::string_view Line);
    // True after QUIT: the caller closes the connection once the reply has gone out.
    bool Ended() const { return FState == TState::Ended; }

private:
    enum class TState { Authorization, Transaction, Ended };

    std::string Authorize(const TDemoCommand& Command);
    std::string Transact(const TDemoCommand& Command);
    // Message Number of the snapshot when it exists and is not marked deleted; else nullptr.
    const TDemoMessage* Find(std::int32_t Number) const;
    bool IsDeleted(std::int32_t Number) const;
    // Count and size of the messages not marked deleted.
    void Totals(std::size_t& Count, std::size_t& Octets) const;
    // "n messages (m octets)" over the messages not marked deleted.
    std::string Summary() const;

    TDemoMailbox& FMailbox;
    const std::string FUserName;
    const std::string FPassword;
    TState FState = TState::Authorization;
    std::string FGivenUser; // the name of an accepted USER, waiting for PASS
    bool FUserGiven = false;
    std::vector<TDemoMessage> FSnapshot;
    std::vector<bool> FDeleted;
};

// Lines of Text (CR LF after each) with a dot put in front of every line that starts with one,
// so that no line of the message can end the reply early.
std::string ByteStuffed(std::string_view Text);

} // namespace quillet

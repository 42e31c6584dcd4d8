#include "demo/demo_pop3_session.h"

#include "demo/demo_command.h"

namespace quillet {

namespace {

const std::string CrLf = "\r\n";

std::string Ok(std::string_view Text) {
    return (Text.empty() ? "+OK" : "+OK " + std::string(Text)) + CrLf;
}

std::string Err(std::string_view Text) {
    return "-ERR " + std::string(Text) + CrLf;
}

// The header, the empty line and the first Lines body lines of a message.
std::string_view TopOf(std::string_view Text, std::int32_t Lines) {
    const std::size_t blank = Text.find("\r\n\r\n");
    if (blank == std::string_view::npos)
        return Text;
    std::size_t end = blank + 4;
    for (std::int32_t n = 0; n < Lines && end < Text.size(); ++n) {
        const std::size_t next = Text.find("\r\n", end);
        end = next == std::string_view::npos ? Text.size() : next + 2;
    }
    return Text.substr(0, end);
}

} // namespace

std::string ByteStuffed(std::string_view Text) {
    std::string out;
    out.reserve(Text.size() + Text.size() / 64);
    bool lineStart = true;
    for (char c : Text) {
        if (lineStart && c == '.')
            out += '.';
        out += c;
        lineStart = c == '\n';
    }
    if (!out.empty() && !lineStart)
        out += CrLf;
    return out;
}

TDemoPop3Session::TDemoPop3Session(TDemoMailbox& Mailbox, std::string UserName, std::string Password)
    : FMailbox(Mailbox), FUserName(std::move(UserName)), FPassword(std::move(Password)) {}

std::string TDemoPop3Session::Greeting() {
    return Ok("Quillet demo mailbox ready");
}

std::string TDemoPop3Session::Reply(std::string_view Line) {
    if (FState == TState::Ended)
        return {};
    const TDemoCommand command = ParseDemoCommand(Line);
    if (!command.Error.empty())
        return Err(command.Error);
    if (command.Verb == TDemoVerb::Capa)
        return "+OK capability list follows\r\nTOP\r\nUIDL\r\nUSER\r\nPIPELINING\r\n"
               "IMPLEMENTATION Quillet-demo\r\n.\r\n";
    return FState == TState::Authorization ? Authorize(command) : Transact(command);
}

std::string TDemoPop3Session::Authorize(const TDemoCommand& Command) {
    switch (Command.Verb) {
    case TDemoVerb::User:
        // Every name is accepted here and checked with the password, so that a wrong name and a
        // wrong password look alike.
        FGivenUser = Command.Argument;
        FUserGiven = true;
        return Ok("send your password");
    case TDemoVerb::Pass: {
        if (!FUserGiven)
            return Err("send USER first");
        FUserGiven = false;
        if (FGivenUser != FUserName || Command.Argument != FPassword)
            return Err("invalid user name or password");
        FSnapshot = FMailbox.Messages();
        FDeleted.assign(FSnapshot.size(), false);
        FState = TState::Transaction;
        return Ok("logged in, mailbox has " + Summary());
    }
    case TDemoVerb::Quit:
        FState = TState::Ended;
        return Ok("Quillet demo mailbox signing off");
    default:
        return Err("log in first");
    }
}

std::string TDemoPop3Session::Transact(const TDemoCommand& Command) {
    const TDemoMessage* message = nullptr;
    switch (Command.Verb) {
    case TDemoVerb::List:
    case TDemoVerb::Uidl:
    case TDemoVerb::Top:
    case TDemoVerb::Retr:
    case TDemoVerb::Dele:
        if (Command.Message != 0 || (Command.Verb != TDemoVerb::List && Command.Verb != TDemoVerb::Uidl)) {
            if (IsDeleted(Command.Message))
                return Err("message " + std::to_string(Command.Message) + " already deleted");
            message = Find(Command.Message);
            if (!message)
                return Err("no such message");
        }
        break;
    default:
        break;
    }

    const auto index = static_cast<std::size_t>(Command.Message) - 1;
    switch (Command.Verb) {
    case TDemoVerb::Stat: {
        std::size_t count = 0, octets = 0;
        Totals(count, octets);
        return Ok(std::to_string(count) + " " + std::to_string(octets));
    }
    case TDemoVerb::List:
    case TDemoVerb::Uidl: {
        const bool sizes = Command.Verb == TDemoVerb::List;
        auto entry = [sizes](std::size_t Number, const TDemoMessage& Message) {
            return std::to_string(Number) + " " +
                   (sizes ? std::to_string(Message.Text.size()) : Message.UniqueId);
        };
        if (message)
            return Ok(entry(index + 1, *message));
        std::string reply = Ok(sizes ? Summary() : "unique-id listing follows");
        for (std::size_t i = 0; i < FSnapshot.size(); ++i) {
            if (!FDeleted[i])
                reply += entry(i + 1, FSnapshot[i]) + CrLf;
        }
        return reply + "." + CrLf;
    }
    case TDemoVerb::Top:
        return Ok("top of message follows") + ByteStuffed(TopOf(message->Text, Command.Lines)) + "." + CrLf;
    case TDemoVerb::Retr:
        return Ok(std::to_string(message->Text.size()) + " octets") + ByteStuffed(message->Text) + "." + CrLf;
    case TDemoVerb::Dele:
        FDeleted[index] = true;
        return Ok("message " + std::to_string(Command.Message) + " deleted");
    case TDemoVerb::Rset:
        FDeleted.assign(FSnapshot.size(), false);
        return Ok("mailbox has " + Summary());
    case TDemoVerb::Noop:
        return Ok("");
    case TDemoVerb::Quit: {
        std::vector<std::string> gone;
        for (std::size_t i = 0; i < FSnapshot.size(); ++i) {
            if (FDeleted[i])
                gone.push_back(FSnapshot[i].UniqueId);
        }
        FMailbox.Remove(gone);
        FState = TState::Ended;
        return Ok("Quillet demo mailbox signing off (" + std::to_string(FMailbox.Messages().size()) +
                  " messages left)");
    }
    case TDemoVerb::User:
    case TDemoVerb::Pass:
        return Err("already logged in");
    default:
        return Err("unknown command");
    }
}

const TDemoMessage* TDemoPop3Session::Find(std::int32_t Number) const {
    if (Number < 1 || static_cast<std::size_t>(Number) > FSnapshot.size())
        return nullptr;
    const auto index = static_cast<std::size_t>(Number) - 1;
    return FDeleted[index] ? nullptr : &FSnapshot[index];
}

bool TDemoPop3Session::IsDeleted(std::int32_t Number) const {
    return Number >= 1 && static_cast<std::size_t>(Number) <= FSnapshot.size() &&
           FDeleted[static_cast<std::size_t>(Number) - 1];
}

void TDemoPop3Session::Totals(std::size_t& Count, std::size_t& Octets) const {
    Count = Octets = 0;
    for (std::size_t i = 0; i < FSnapshot.size(); ++i) {
        if (!FDeleted[i]) {
            ++Count;
            Octets += FSnapshot[i].Text.size();
        }
    }
}

std::string TDemoPop3Session::Summary() const {
    std::size_t count = 0, octets = 0;
    Totals(count, octets);
    return std::to_string(count) + " messages (" + std::to_string(octets) + " octets)";
}

} // namespace quillet

#include "demo/demo_command.h"

#include "util/strings.h"

#include <array>
#include <utility>
#include <vector>

namespace quillet {

namespace {

// Most arguments any command takes (TOP: message and line count).
constexpr std::size_t MaxArguments = 2;

const std::array<std::pair<std::string_view, TDemoVerb>, 12> Keywords = {{
    {"USER", TDemoVerb::User},
    {"PASS", TDemoVerb::Pass},
    {"STAT", TDemoVerb::Stat},
    {"LIST", TDemoVerb::List},
    {"UIDL", TDemoVerb::Uidl},
    {"TOP", TDemoVerb::Top},
    {"RETR", TDemoVerb::Retr},
    {"DELE", TDemoVerb::Dele},
    {"RSET", TDemoVerb::Rset},
    {"NOOP", TDemoVerb::Noop},
    {"QUIT", TDemoVerb::Quit},
    {"CAPA", TDemoVerb::Capa},
}};

// The space-separated words of Text; an extra word past the limit is kept so that the caller
// can tell that there were too many.
std::vector<std::string_view> Words(std::string_view Text) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < Text.size() && words.size() <= MaxArguments) {
        while (i < Text.size() && Text[i] == ' ')
            ++i;
        const std::size_t start = i;
        while (i < Text.size() && Text[i] != ' ')
            ++i;
        if (i > start)
            words.push_back(Text.substr(start, i - start));
    }
    return words;
}

// Decimal digits only, no sign, within 32 bits.
bool ReadNumber(std::string_view Word, std::int32_t& Value) {
    if (Word.empty() || Word.size() > 10)
        return false;
    std::int64_t value = 0;
    for (char c : Word) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    if (value > INT32_MAX)
        return false;
    Value = static_cast<std::int32_t>(value);
    return true;
}

} // namespace

TDemoCommand ParseDemoCommand(std::string_view Line) {
    TDemoCommand command;
    const std::size_t space = Line.find(' ');
    const std::string_view keyword = Line.substr(0, space);
    const std::string_view rest =
        space == std::string_view::npos ? std::string_view() : Line.substr(space + 1);
    for (const auto& [name, verb] : Keywords) {
        if (SameTextAscii(keyword, name))
            command.Verb = verb;
    }

    switch (command.Verb) {
    case TDemoVerb::Unknown:
        command.Error = "unknown command";
        return command;
    case TDemoVerb::Pass:
        // Taken as it stands: a password may begin, end or be made of spaces.
        command.Argument = std::string(rest);
        if (command.Argument.empty())
            command.Error = "password expected";
        return command;
    default:
        break;
    }

    const std::vector<std::string_view> words = Words(rest);
    std::size_t least = 0, most = 0;
    switch (command.Verb) {
    case TDemoVerb::User:
    case TDemoVerb::Retr:
    case TDemoVerb::Dele:
        least = most = 1;
        break;
    case TDemoVerb::List:
    case TDemoVerb::Uidl:
        most = 1;
        break;
    case TDemoVerb::Top:
        least = most = 2;
        break;
    default:
        break;
    }
    if (words.size() > most) {
        command.Error = most == 0 ? "no arguments expected" : "too many arguments";
        return command;
    }
    if (words.size() < least) {
        command.Error = command.Verb == TDemoVerb::User  ? "user name expected"
                        : command.Verb == TDemoVerb::Top ? "message number and line count expected"
                                                         : "message number expected";
        return command;
    }

    if (command.Verb == TDemoVerb::User) {
        command.Argument = std::string(words[0]);
        return command;
    }
    if (!words.empty() && !ReadNumber(words[0], command.Message)) {
        command.Error = "invalid message number";
        return command;
    }
    if (command.Verb == TDemoVerb::Top && !ReadNumber(words[1], command.Lines))
        command.Error = "invalid line count";
    return command;
}

} // namespace quillet

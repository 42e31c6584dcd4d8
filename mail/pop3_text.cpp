#include "mail/pop3_text.h"

#include "util/strings.h"
#include "util/text_convert.h"

#include <QCoreApplication>
#include <algorithm>
#include <unordered_map>

namespace quillet {

namespace {

// The text before the first space; empty when there is none.
std::string_view FirstWord(std::string_view S) {
    const auto space = S.find(' ');
    return space == std::string_view::npos ? std::string_view{} : S.substr(0, space);
}

} // namespace

std::size_t Pop3ReplyLength(std::string_view Received, bool MultiLine, std::size_t SearchFrom) {
    if (!MultiLine || Received.starts_with("-ERR"))
        return TerminatedLength(Received, "\r\n", SearchFrom);
    return TerminatedLength(Received, "\r\n.\r\n", SearchFrom);
}

std::vector<std::string_view> ReplyLines(std::string_view Reply) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < Reply.size()) {
        const auto end = Reply.find('\n', start);
        if (end == std::string_view::npos) {
            lines.push_back(Reply.substr(start));
            break;
        }
        // CR LF (or a bare LF) ends a line; a CR anywhere else is data of its line.
        const std::size_t stop = end > start && Reply[end - 1] == '\r' ? end - 1 : end;
        lines.push_back(Reply.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> ServerTextLines(std::string_view Text) {
    std::vector<std::string> lines;
    for (const std::string_view line : ReplyLines(Text))
        lines.emplace_back(line);
    return lines;
}

TResponseCode ResponseCodeOf(std::string_view Reply) {
    if (!Reply.starts_with("-ERR ["))
        return TResponseCode::None;
    const std::string_view rest = Reply.substr(6);
    const auto close = rest.find(']');
    if (close == std::string_view::npos)
        return TResponseCode::None;
    const std::string_view code = rest.substr(0, close);
    const std::pair<std::string_view, TResponseCode> known[] = {
        {"IN-USE", TResponseCode::InUse},     {"LOGIN-DELAY", TResponseCode::LoginDelay},
        {"SYS/TEMP", TResponseCode::SysTemp}, {"SYS/PERM", TResponseCode::SysPerm},
        {"AUTH", TResponseCode::Auth},
    };
    for (const auto& [text, value] : known)
        if (SameTextAscii(code, text))
            return value;
    return TResponseCode::Other;
}

std::int32_t CapabilityNumber(std::string_view Reply, std::string_view Name) {
    if (!Reply.starts_with("+OK"))
        return -1;
    const std::vector<std::string_view> lines = ReplyLines(Reply);
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::string_view line = TrimSpaces(lines[i]);
        const auto space = line.find(' ');
        if (space != std::string_view::npos && SameTextAscii(line.substr(0, space), Name))
            return ParseSpaceLedDecimal(TrimSpaces(line.substr(space + 1))).value_or(-1);
    }
    return -1;
}

void ParseListing(std::string_view Reply, std::int32_t& MessageCount,
                  std::vector<std::int32_t>& MessageSizes) {
    const std::vector<std::string_view> lines = ReplyLines(Reply);
    if (lines.size() < 3) {
        MessageCount = 0;
        MessageSizes.clear();
        return;
    }
    MessageCount = ParseSpaceLedDecimal(FirstWord(TrimSpaces(lines[lines.size() - 2]))).value_or(-1);
    if (MessageCount <= 0)
        return;

    // Every listed line sets the table's length to n + 1 and then writes entry n.
    struct TListed {
        std::int32_t n;
        std::int32_t size;
    };
    std::vector<TListed> listed;
    listed.reserve(lines.size() - 2);
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::string_view word = FirstWord(TrimSpaces(line));
        // A number outside 0..MaxMessageNumber would size the table absurdly (or negatively):
        // it is a malformed listing like any other word that is not a message number.
        const std::int32_t n = ParseSpaceLedDecimal(word).value_or(-1);
        if (n < 0 || n > MaxMessageNumber)
            throw EConvertError(std::string(word));
        std::int32_t size = 0;
        if (n > 0) {
            const auto space = line.find(' ');
            if (space != std::string_view::npos)
                size = ParseSpaceLedDecimal(line.substr(space + 1, 99)).value_or(0);
        }
        listed.push_back({n, size});
    }

    // Applied line by line, numbers that jump up and down would cut and refill millions of
    // entries per line. The same table comes from the lengths alone: an entry written by a line
    // survives when no later line cut the table below it, and entries already in the table
    // survive below the shortest length of all.
    std::vector<std::int32_t> shortestFrom(listed.size());
    std::int32_t shortest = MaxMessageNumber + 1;
    for (std::size_t k = listed.size(); k-- > 0;) {
        shortest = std::min(shortest, listed[k].n + 1);
        shortestFrom[k] = shortest;
    }
    MessageSizes.resize(std::min(MessageSizes.size(), static_cast<std::size_t>(shortest)));
    MessageSizes.resize(static_cast<std::size_t>(listed.back().n) + 1, 0);
    for (std::size_t k = 0; k < listed.size(); ++k)
        if (listed[k].n > 0 && listed[k].n < shortestFrom[k])
            MessageSizes[static_cast<std::size_t>(listed[k].n)] = listed[k].size;
    MessageSizes[0] = 0;
}

std::string ListingNumbersProblem(std::string_view Reply) {
    const std::vector<std::string_view> lines = ReplyLines(Reply);
    std::int64_t expected = 1;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i, ++expected) {
        const std::string_view word = FirstWord(TrimSpaces(lines[i]));
        if (ParseSpaceLedDecimal(word).value_or(-1) != expected)
            return QCoreApplication::translate("Pop3Text", "the listing names message %1 where %2 was due")
                .arg(ToQString(word.substr(0, 20)), QString::number(expected))
                .toStdString();
    }
    return {};
}

std::string TopTextFromReply(std::string_view Reply) {
    const std::vector<std::string_view> lines = ReplyLines(Reply);
    std::string text;
    if (lines.size() < 3)
        return text;
    text.reserve(Reply.size() + lines.size());
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::string_view line = lines[i];
        text += line.starts_with('.') ? line.substr(1) : line;
        text += "\r\n";
    }
    return text;
}

std::vector<std::string> ParseCapabilities(std::string_view Reply) {
    std::vector<std::string> capabilities;
    if (!Reply.starts_with("+OK"))
        return capabilities;
    const std::vector<std::string_view> lines = ReplyLines(Reply);
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::string_view line = TrimSpaces(lines[i]);
        std::string word(line.substr(0, line.find(' ')));
        for (char& c : word)
            c = AsciiUpper(c);
        if (!word.empty())
            capabilities.push_back(std::move(word));
    }
    return capabilities;
}

TUniqueIds ParseUidlListing(std::string_view Reply) {
    TUniqueIds ids;
    if (!Reply.starts_with("+OK"))
        return ids;
    const std::vector<std::string_view> lines = ReplyLines(Reply);
    std::unordered_map<std::string_view, int> seen;
    std::vector<std::pair<std::int32_t, std::string_view>> listed;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::string_view line = TrimSpaces(lines[i]);
        const auto space = line.find(' ');
        if (space == std::string_view::npos)
            continue;
        const std::int32_t n = ParseSignedDecimal(line.substr(0, space)).value_or(0);
        const std::string_view id = TrimSpaces(line.substr(space + 1));
        // RFC 1939: 1 to 70 characters from 0x21 to 0x7E; anything else is no usable id.
        if (n < 1 || n > MaxMessageNumber || id.empty() || id.size() > 70 ||
            std::any_of(id.begin(), id.end(), [](char c) { return c < 0x21 || c > 0x7E; }))
            continue;
        listed.emplace_back(n, id);
        ++seen[id];
    }
    for (const auto& [n, id] : listed)
        if (seen[id] == 1)
            ids[n] = std::string(id);
    return ids;
}

bool IsNumericHost(std::string_view Host) {
    std::size_t start = 0;
    while (true) {
        const auto dot = Host.find('.', start);
        const std::string_view piece =
            Host.substr(start, dot == std::string_view::npos ? Host.npos : dot - start);
        if (piece.empty())
            return false;
        for (const char c : piece)
            if (c < '0' || c > '9')
                return false;
        if (!ParseSignedDecimal(piece))
            return false;
        if (dot == std::string_view::npos)
            return true;
        start = dot + 1;
    }
}

bool IsSafeArgument(std::string_view Arg) {
    return Arg.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

} // namespace quillet

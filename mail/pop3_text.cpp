#include "mail/pop3_text.h"

#include "util/strings.h"

#include <limits>

namespace quillet {

namespace {

std::string_view StripBlanks(std::string_view S) {
    const auto first = S.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = S.find_last_not_of(' ');
    return S.substr(first, last - first + 1);
}

// The text before the first space; empty when there is none.
std::string_view FirstWord(std::string_view S) {
    const auto space = S.find(' ');
    return space == std::string_view::npos ? std::string_view{} : S.substr(0, space);
}

} // namespace

EPop3ListingError::EPop3ListingError(const std::string& Word)
    : std::runtime_error("'" + Word + "' is not a valid integer value") {}

bool ParseDecimal(std::string_view S, std::int32_t& Value) {
    std::size_t i = 0;
    while (i < S.size() && S[i] == ' ')
        ++i;
    bool negative = false;
    if (i < S.size() && (S[i] == '+' || S[i] == '-')) {
        negative = S[i] == '-';
        ++i;
    }
    if (i == S.size())
        return false;
    std::int64_t v = 0;
    for (; i < S.size(); ++i) {
        const char c = S[i];
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
        if (v > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1)
            return false;
    }
    if (negative)
        v = -v;
    if (v > std::numeric_limits<std::int32_t>::max() || v < std::numeric_limits<std::int32_t>::min())
        return false;
    Value = static_cast<std::int32_t>(v);
    return true;
}

std::vector<std::string> ReplyLines(std::string_view Reply) {
    const auto zero = Reply.find('\0');
    if (zero != std::string_view::npos)
        Reply = Reply.substr(0, zero);
    return SplitTextLines(Reply);
}

void ParseListing(std::string_view Reply, std::int32_t& MessageCount,
                  std::vector<std::int32_t>& MessageSizes) {
    const std::vector<std::string> lines = ReplyLines(Reply);
    if (lines.size() < 3) {
        MessageCount = 0;
        MessageSizes.clear();
        return;
    }
    std::int32_t count = -1;
    if (!ParseDecimal(FirstWord(StripBlanks(lines[lines.size() - 2])), count))
        count = -1;
    MessageCount = count;
    if (MessageCount <= 0)
        return;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::string_view word = FirstWord(StripBlanks(line));
        std::int32_t n = 0;
        // A number outside 0..MaxMessageNumber would size the table absurdly (or negatively):
        // it is a malformed listing like any other word that is not a message number.
        if (!ParseDecimal(word, n) || n < 0 || n > MaxMessageNumber)
            throw EPop3ListingError(std::string(word));
        MessageSizes.resize(static_cast<std::size_t>(n) + 1);
        if (n > 0) {
            const auto space = line.find(' ');
            std::int32_t size = 0;
            if (space == std::string_view::npos || !ParseDecimal(line.substr(space + 1, 99), size))
                size = 0;
            MessageSizes[static_cast<std::size_t>(n)] = size;
        }
    }
    if (!MessageSizes.empty())
        MessageSizes[0] = 0;
}

std::string TopTextFromReply(std::string_view Reply) {
    std::vector<std::string> lines = ReplyLines(Reply);
    if (!lines.empty())
        lines.pop_back();
    if (!lines.empty())
        lines.erase(lines.begin());
    return JoinTextLines(lines);
}

bool IsNumericHost(std::string_view Host) {
    std::size_t start = 0;
    while (true) {
        const auto dot = Host.find('.', start);
        const std::string_view piece =
            Host.substr(start, dot == std::string_view::npos ? Host.npos : dot - start);
        if (piece.empty())
            return false;
        for (const char c : piece) {
            if (c < '0' || c > '9')
                return false;
        }
        std::int32_t value = 0;
        if (!ParseDecimal(piece, value))
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

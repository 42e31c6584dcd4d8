#include "model/mail.h"

#include "util/strings.h"

#include <QCryptographicHash>
#include <algorithm>
#include <cstring>
#include <limits>

namespace quillet {

namespace {

std::vector<std::string>::const_iterator FirstEmptyLine(const std::vector<std::string>& Lines) {
    return std::find_if(Lines.begin(), Lines.end(), [](const std::string& l) { return l.empty(); });
}

} // namespace

void TMail::SetServerIdx(std::int32_t N) {
    if (N > 0)
        ServerIdx = N;
}

void TMail::SetLines(const std::vector<std::string>& Lines) {
    const auto separator = FirstEmptyLine(Lines);
    // Exactly the room needed, since the buffers live as long as the entry. A fetched text is
    // far below 4 GiB (server replies are bounded); should one not be, the lines past that
    // point are left out rather than their 32-bit ends wrapped round.
    std::size_t bytes = 0;
    for (const std::string& line : Lines)
        bytes += line.size();
    std::string buffer(std::min<std::size_t>(bytes, std::numeric_limits<std::uint32_t>::max()), '\0');
    std::vector<std::uint32_t> ends;
    ends.reserve(Lines.size() - (separator == Lines.end() ? 0 : 1));
    std::size_t at = 0;
    for (auto line = Lines.begin(); line != Lines.end() && line->size() <= buffer.size() - at; ++line) {
        if (line == separator)
            continue;
        std::memcpy(buffer.data() + at, line->data(), line->size());
        at += line->size();
        ends.push_back(static_cast<std::uint32_t>(at));
    }
    FLineBytes = std::move(buffer);
    FLineEnds = std::move(ends);
    FHeaderLineCount = static_cast<std::uint32_t>(
        std::min(static_cast<std::size_t>(separator - Lines.begin()), FLineEnds.size()));
}

std::string_view TMail::Line(std::size_t I) const {
    const std::size_t begin = I == 0 ? 0 : FLineEnds[I - 1];
    return std::string_view(FLineBytes).substr(begin, FLineEnds[I] - begin);
}

std::vector<std::string> TMail::HeaderLines() const {
    std::vector<std::string> lines;
    lines.reserve(FHeaderLineCount);
    for (int i = 0; i < HeaderLineCount(); ++i)
        lines.emplace_back(HeaderLine(i));
    return lines;
}

std::vector<std::string> TMail::BodyLines() const {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(BodyLineCount()));
    for (int i = 0; i < BodyLineCount(); ++i)
        lines.emplace_back(BodyLine(i));
    return lines;
}

std::string MailIdentity(const std::vector<std::string>& Lines) {
    const auto end = FirstEmptyLine(Lines);
    const auto headerCount = end - Lines.begin();
    if (headerCount < 3)
        return {};
    return LinesChecksum(std::vector<std::string>(Lines.begin(), end), 2);
}

std::string MailKey(const std::string& Account, const std::string& Uid,
                    const std::vector<std::string>& HeaderLines) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const std::string& line : HeaderLines) {
        hash.addData(QByteArrayView(line.data(), static_cast<qsizetype>(line.size())));
        hash.addData(QByteArrayView("\r\n", 2));
    }
    // Each part carries its length, so no label or id can run into the next part.
    return std::to_string(Account.size()) + ":" + Account + std::to_string(Uid.size()) + ":" + Uid +
           hash.result().toHex().toStdString();
}

void SplitHeaderAndBody(const std::vector<std::string>& Lines, std::vector<std::string>& Header,
                        std::vector<std::string>& Body) {
    const auto end = FirstEmptyLine(Lines);
    Header.assign(Lines.begin(), end);
    if (end == Lines.end())
        Body.clear();
    else
        Body.assign(end + 1, Lines.end());
}

} // namespace quillet

#include "model/mail.h"

#include "util/strings.h"

#include <algorithm>

namespace quillet {

void TMail::SetServerIdx(std::int32_t N) {
    if (N > 0)
        ServerIdx = N;
}

namespace {

std::vector<std::string>::const_iterator FirstEmptyLine(const std::vector<std::string>& Lines) {
    return std::find_if(Lines.begin(), Lines.end(), [](const std::string& l) { return l.empty(); });
}

} // namespace

std::string MailIdentity(const std::vector<std::string>& Lines) {
    const auto end = FirstEmptyLine(Lines);
    const auto headerCount = end - Lines.begin();
    if (headerCount < 3)
        return {};
    return LinesChecksum(std::vector<std::string>(Lines.begin(), end), 2);
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

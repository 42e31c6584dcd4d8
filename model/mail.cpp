#include "model/mail.h"

#include "util/strings.h"

#include <QCryptographicHash>
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

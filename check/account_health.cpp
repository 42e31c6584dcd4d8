#include "check/account_health.h"

#include "model/account.h"

#include <QDateTime>

namespace quillet {

namespace {

// A status bar and a tooltip line show one line of a failure's text.
std::string FirstLine(const std::string& Text) {
    return Text.substr(0, Text.find_first_of("\r\n"));
}

bool Failing(const TAccount& Account) {
    return Account.FailuresInRow > 0 || !Account.LastFailure.empty();
}

} // namespace

bool ShowsHealthBadge(const TAccount& Account) {
    return Account.FailuresInRow >= BadgeFailures;
}

std::string HealthTime(std::int64_t AtMs, std::int64_t NowMs) {
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(AtMs);
    const bool today = at.date() == QDateTime::fromMSecsSinceEpoch(NowMs).date();
    return at.toString(today ? QStringLiteral("HH:mm") : QStringLiteral("yyyy-MM-dd HH:mm")).toStdString();
}

std::vector<std::string> HealthLines(const TAccount& Account, std::int64_t NowMs) {
    std::vector<std::string> lines;
    if (Account.LastGoodCheckMs > 0)
        lines.push_back("Last good check: " + HealthTime(Account.LastGoodCheckMs, NowMs));
    else if (Failing(Account))
        lines.push_back("No good check yet");
    if (Failing(Account)) {
        std::string failed = "Last check failed";
        if (Account.LastFailureMs > 0)
            failed += " at " + HealthTime(Account.LastFailureMs, NowMs);
        lines.push_back(failed + ": " + FirstLine(Account.LastFailure));
    }
    if (Account.FailuresInRow >= 2)
        lines.push_back(std::to_string(Account.FailuresInRow) + " failed checks in a row");
    return lines;
}

std::string HealthTooltip(const TAccount& Account, std::int64_t NowMs) {
    std::string text = Account.Label;
    for (const std::string& line : HealthLines(Account, NowMs))
        text += "\n" + line;
    return text;
}

std::string HealthStatusText(const TAccount& Account, std::int64_t NowMs) {
    if (!Failing(Account))
        return {};
    std::string text = Account.Label + ": last check failed";
    if (Account.LastFailureMs > 0)
        text += " at " + HealthTime(Account.LastFailureMs, NowMs);
    text += " (" + FirstLine(Account.LastFailure) + "); ";
    text += Account.LastGoodCheckMs > 0 ? "last good check " + HealthTime(Account.LastGoodCheckMs, NowMs)
                                        : std::string("no good check yet");
    return text;
}

} // namespace quillet

#include "check/account_health.h"

#include "model/account.h"
#include "util/text_convert.h"

#include <QCoreApplication>

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
        lines.push_back(FromQString(QCoreApplication::translate("AccountHealth", "Last good check: %1")
                                        .arg(ToQString(HealthTime(Account.LastGoodCheckMs, NowMs)))));
    else if (Failing(Account))
        lines.push_back(FromQString(QCoreApplication::translate("AccountHealth", "No good check yet")));
    if (Failing(Account)) {
        const QString why = ToQString(FirstLine(Account.LastFailure));
        lines.push_back(FromQString(
            Account.LastFailureMs > 0
                ? QCoreApplication::translate("AccountHealth", "Last check failed at %1: %2")
                      .arg(ToQString(HealthTime(Account.LastFailureMs, NowMs)), why)
                : QCoreApplication::translate("AccountHealth", "Last check failed: %1").arg(why)));
    }
    if (Account.FailuresInRow >= 2)
        lines.push_back(FromQString(QCoreApplication::translate("AccountHealth", "%1 failed checks in a row")
                                        .arg(Account.FailuresInRow)));
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
    // One sentence for each of the four cases, so that a language can order its parts as it needs.
    const QString label = ToQString(Account.Label);
    const QString why = ToQString(FirstLine(Account.LastFailure));
    const QString failedAt = ToQString(HealthTime(Account.LastFailureMs, NowMs));
    const QString goodAt = ToQString(HealthTime(Account.LastGoodCheckMs, NowMs));
    const bool failedKnown = Account.LastFailureMs > 0;
    if (Account.LastGoodCheckMs > 0)
        return FromQString(failedKnown
                               ? QCoreApplication::translate(
                                     "AccountHealth", "%1: last check failed at %2 (%3); last good check %4")
                                     .arg(label, failedAt, why, goodAt)
                               : QCoreApplication::translate("AccountHealth",
                                                             "%1: last check failed (%2); last good check %3")
                                     .arg(label, why, goodAt));
    return FromQString(
        failedKnown
            ? QCoreApplication::translate("AccountHealth",
                                          "%1: last check failed at %2 (%3); no good check yet")
                  .arg(label, failedAt, why)
            : QCoreApplication::translate("AccountHealth", "%1: last check failed (%2); no good check yet")
                  .arg(label, why));
}

} // namespace quillet

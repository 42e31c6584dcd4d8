#include "settings/account_health_store.h"

#include "model/account.h"
#include "settings/store_values.h"
#include "util/strings.h"

#include <QDateTime>
#include <algorithm>

namespace quillet {

namespace {

std::string HealthSection(int Index) {
    return "Health" + PadLeftWith(std::to_string(Index), 2, '0');
}

// Times are stored as UTC date-times in ISO 8601 form with milliseconds; empty: none.
std::string TimeText(std::int64_t Ms) {
    if (Ms <= 0)
        return {};
    return QDateTime::fromMSecsSinceEpoch(Ms, Qt::UTC).toString(Qt::ISODateWithMs).toStdString();
}

std::int64_t ReadTime(TSettingsStore& Store, const std::string& Section, const std::string& Name) {
    const QDateTime at =
        QDateTime::fromString(QString::fromStdString(Store.ReadString(Section, Name, "")), Qt::ISODateWithMs);
    return at.isValid() ? std::max<std::int64_t>(at.toMSecsSinceEpoch(), 0) : 0;
}

} // namespace

void ReadAccountHealth(TSettingsStore& Store, TAccounts& Accounts) {
    for (int n = 0; n < Accounts.Count(); ++n) {
        TAccount& account = Accounts[n];
        const std::string section = HealthSection(n);
        if (account.Label.empty() || Store.ReadString(section, "Label", "") != account.Label)
            continue;
        account.LastGoodCheckMs = ReadTime(Store, section, "LastGoodCheck");
        account.LastFailureMs = ReadTime(Store, section, "LastFailureTime");
        account.LastFailure = Store.ReadString(section, "LastFailure", "");
        account.FailuresInRow = std::max(ReadInteger(Store, section, "FailuresInRow", 0), 0);
    }
}

void WriteAccountHealth(TSettingsStore& Store, const TAccounts& Accounts) {
    for (int n = 0; n < Accounts.Count(); ++n) {
        const TAccount& account = Accounts[n];
        const std::string section = HealthSection(n);
        Store.WriteString(section, "Label", account.Label);
        Store.WriteString(section, "LastGoodCheck", TimeText(account.LastGoodCheckMs));
        Store.WriteString(section, "LastFailureTime", TimeText(account.LastFailureMs));
        Store.WriteString(section, "LastFailure", account.LastFailure);
        WriteInteger(Store, section, "FailuresInRow", account.FailuresInRow);
    }
}

} // namespace quillet

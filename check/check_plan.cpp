#include "check/check_plan.h"

#include "model/mail.h"
#include "util/text_convert.h"

#include <QCoreApplication>

namespace quillet {

TFetchPlan PlanFetch(std::int32_t Count, const TUniqueIds& Ids,
                     const std::unordered_map<std::string, std::string>& UidlKeys,
                     const std::function<bool(const std::string& Key)>& Listed) {
    TFetchPlan plan;
    for (std::int32_t k = 1; k <= Count; ++k) {
        const auto id = Ids.find(k);
        const auto key = id == Ids.end() || id->second.empty() ? UidlKeys.end() : UidlKeys.find(id->second);
        if (key != UidlKeys.end() && Listed(key->second))
            plan.Known.emplace(k, key->second);
        else
            plan.Fetch.push_back(k);
    }
    return plan;
}

std::string DeletionRefusal(const TMail& Mail, const TSessionFacts& Session) {
    if (Mail.State == TMailState::Unseen)
        return FromQString(
            QCoreApplication::translate("CheckPlan", "it was not found on the server in this check"));
    const std::int32_t n = Mail.ServerIdx;
    if (n < 1 || static_cast<std::size_t>(n) >= Session.Sizes.size())
        return FromQString(
            QCoreApplication::translate("CheckPlan", "its message number %1 is not in this listing").arg(n));
    if (!Mail.Uid.empty()) {
        const auto id = Session.Ids.find(n);
        if (id == Session.Ids.end() || id->second != Mail.Uid)
            return FromQString(
                QCoreApplication::translate("CheckPlan", "message %1 on the server has another unique id")
                    .arg(n));
        return {};
    }
    const auto key = Session.Keys.find(n);
    if (key == Session.Keys.end() || key->second != Mail.Key)
        return FromQString(
            QCoreApplication::translate("CheckPlan", "message %1 on the server has another header").arg(n));
    if (Session.Sizes[static_cast<std::size_t>(n)] != Mail.MailSize)
        return FromQString(
            QCoreApplication::translate("CheckPlan", "message %1 on the server has another size").arg(n));
    return {};
}

} // namespace quillet

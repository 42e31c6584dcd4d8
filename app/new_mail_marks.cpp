#include "app/new_mail_marks.h"

#include "model/mails.h"

namespace quillet {

std::vector<int> ClearNewMarks(TMails& Mails) {
    std::vector<int> changed;
    for (int j = 0; j < Mails.Count(); ++j) {
        TMail& mail = Mails[j];
        // A mail being matched by a running check (Unseen) keeps its state for the check.
        if (!mail.NotLookedAt && mail.State != TMailState::New)
            continue;
        mail.NotLookedAt = false;
        if (mail.State == TMailState::New)
            mail.State = TMailState::Old;
        changed.push_back(j);
    }
    return changed;
}

std::vector<int> MailsToAnnounce(const TMails& Mails, const std::vector<std::string>& Keys) {
    std::vector<int> out;
    std::vector<bool> taken(static_cast<std::size_t>(Mails.Count()), false);
    for (const std::string& key : Keys)
        if (const int j = Mails.FindMail(key); j >= 0 && !taken[static_cast<std::size_t>(j)]) {
            taken[static_cast<std::size_t>(j)] = true;
            out.push_back(j);
        }
    for (int j = 0; j < Mails.Count(); ++j)
        if (Mails[j].NotLookedAt && !taken[static_cast<std::size_t>(j)])
            out.push_back(j);
    return out;
}

} // namespace quillet

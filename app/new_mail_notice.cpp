#include "app/new_mail_notice.h"

#include "model/mail.h"

namespace quillet {

namespace {

constexpr std::size_t ShownMails = 3;

std::string Sender(const TMail& Mail) {
    if (!Mail.FromName.empty())
        return Mail.FromName;
    return Mail.FromAddr.empty() ? "(unknown sender)" : Mail.FromAddr;
}

} // namespace

TNewMailNotice NewMailNotice(const std::vector<const TMail*>& NewMails) {
    TNewMailNotice notice;
    if (NewMails.empty())
        return notice;
    notice.Title = NewMails.size() == 1 ? "New mail" : std::to_string(NewMails.size()) + " new mails";
    for (std::size_t i = 0; i < NewMails.size() && i < ShownMails; ++i) {
        const TMail& mail = *NewMails[i];
        if (!notice.Body.empty())
            notice.Body += "\n";
        notice.Body += Sender(mail) + ": " + (mail.Subject.empty() ? "(no subject)" : mail.Subject);
    }
    if (NewMails.size() > ShownMails)
        notice.Body += "\nand " + std::to_string(NewMails.size() - ShownMails) + " more";
    return notice;
}

} // namespace quillet

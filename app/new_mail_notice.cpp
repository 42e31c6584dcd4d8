#include "app/new_mail_notice.h"

#include "model/mail.h"

#include <QCoreApplication>
#include <set>

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
    std::set<std::string> accounts;
    for (const TMail* mail : NewMails)
        accounts.insert(mail->Account);
    if (accounts.size() > 1)
        notice.Title = QCoreApplication::translate("NewMailNotice", "%1 new mails in %2 accounts")
                           .arg(NewMails.size())
                           .arg(accounts.size())
                           .toStdString();
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

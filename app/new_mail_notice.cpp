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
    return Mail.FromAddr.empty()
               ? QCoreApplication::translate("NewMailNotice", "(unknown sender)").toStdString()
               : Mail.FromAddr;
}

} // namespace

TNewMailNotice NewMailNotice(const std::vector<const TMail*>& NewMails) {
    TNewMailNotice notice;
    if (NewMails.empty())
        return notice;
    notice.Title = (NewMails.size() == 1
                        ? QCoreApplication::translate("NewMailNotice", "New mail")
                        : QCoreApplication::translate("NewMailNotice", "%1 new mails").arg(NewMails.size()))
                       .toStdString();
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
        notice.Body +=
            Sender(mail) + ": " +
            (mail.Subject.empty() ? QCoreApplication::translate("NewMailNotice", "(no subject)").toStdString()
                                  : mail.Subject);
    }
    if (NewMails.size() > ShownMails)
        notice.Body += "\n" + QCoreApplication::translate("NewMailNotice", "and %1 more")
                                  .arg(NewMails.size() - ShownMails)
                                  .toStdString();
    return notice;
}

} // namespace quillet

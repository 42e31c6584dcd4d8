#include "check/fetched_mail.h"

#include "mail/mail_format_error.h"
#include "mail/mail_message.h"
#include "mail/pop3_text.h"
#include "util/strings.h"

namespace quillet {

namespace {

template <typename TRead> std::string ReadField(TRead Read, const char* Name, std::string& Problems) {
    try {
        return Read();
    } catch (const EMailFormatError& e) {
        Problems += std::string(Problems.empty() ? "" : "; ") + Name + ": " + e.what();
        return {};
    }
}

void ReadRecipients(const TMailRecipients& List, std::vector<std::string>& Names,
                    std::vector<std::string>& Addresses, std::string& Problems) {
    try {
        for (int i = 0; i < List.Count(); ++i) {
            Names.push_back(List.Names(i));
            Addresses.push_back(List.Addresses(i));
        }
    } catch (const EMailFormatError& e) {
        Names.clear();
        Addresses.clear();
        Problems += std::string(Problems.empty() ? "" : "; ") + List.FieldName + ": " + e.what();
    }
}

} // namespace

TFetchedMail MailFromTop(const std::string& TopText, std::int32_t N, const std::string& Label,
                         std::int32_t ListedSize) {
    TMailMessage message;
    message.Header = ServerTextLines(TopText);
    TFetchedMail fetched{std::make_unique<TMail>(), {}, false};
    TMail& mail = *fetched.Mail;
    std::string& problems = fetched.Problems;
    mail.SetServerIdx(N);
    mail.Account = Label;
    mail.FromName = TrimSpace(ReadField([&] { return message.SenderName(); }, "From", problems));
    mail.FromAddr = TrimSpace(ReadField([&] { return message.SenderAddress(); }, "From", problems));
    ReadRecipients(message.ToRecipients, mail.ToName, mail.ToAddr, problems);
    ReadRecipients(message.CcRecipients, mail.CCName, mail.CCAddr, problems);
    ReadRecipients(message.BccRecipients, mail.BCCName, mail.BCCAddr, problems);
    mail.Subject = TrimSpace(ReadField([&] { return message.SubjectText(); }, "Subject", problems));
    try {
        mail.DateSent = message.SentDate();
    } catch (const EMailFormatError&) {
        fetched.DateError = true;
        mail.DateSent = 0;
    }
    mail.DateRcvd = NowDateTime();
    mail.MailSize = ListedSize;
    mail.SetLines(message.Header);
    mail.UniqueID = MailIdentity(message.Header);
    mail.ServerID = TrimSpace(message.MessageId());
    return fetched;
}

} // namespace quillet

#include "check/fetched_mail.h"

#include "mail/mail_format_error.h"
#include "mail/mail_message.h"
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

std::unique_ptr<TMail> MailFromMessage(const TMailMessage& Message, std::int32_t N, const std::string& Label,
                                       std::int32_t ListedSize, std::string& Problems, bool& DateError) {
    auto mail = std::make_unique<TMail>();
    mail->SetServerIdx(N);
    mail->Account = Label;
    mail->FromName = TrimSpace(ReadField([&] { return Message.SenderName(); }, "From", Problems));
    mail->FromAddr = TrimSpace(ReadField([&] { return Message.SenderAddress(); }, "From", Problems));
    ReadRecipients(Message.ToRecipients, mail->ToName, mail->ToAddr, Problems);
    ReadRecipients(Message.CcRecipients, mail->CCName, mail->CCAddr, Problems);
    ReadRecipients(Message.BccRecipients, mail->BCCName, mail->BCCAddr, Problems);
    mail->Subject = TrimSpace(ReadField([&] { return Message.SubjectText(); }, "Subject", Problems));
    DateError = false;
    try {
        mail->DateSent = Message.SentDate();
    } catch (const EMailFormatError&) {
        DateError = true;
        mail->DateSent = 0;
    }
    mail->DateRcvd = NowDateTime();
    mail->MailSize = ListedSize;
    SplitHeaderAndBody(Message.Header, mail->HeaderLines, mail->BodyLines);
    mail->UniqueID = MailIdentity(Message.Header);
    mail->ServerID = TrimSpace(Message.MessageId());
    return mail;
}

} // namespace quillet

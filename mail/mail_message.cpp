#include "mail/mail_message.h"

#include "mail/encoded_words.h"
#include "mail/field_value.h"
#include "mail/mail_date.h"

namespace quillet {

TMailMessage::TMailMessage(QObject* Owner) : TMailPart(Owner) {
    OwnerMessage = this;
}

void TMailMessage::Reset() {
    DestroySubParts();
    Header.clear();
    Body.clear();
    DecodedBody.clear();
}

std::string TMailMessage::NameAt(std::string_view FieldName, int Index) const {
    return NameInValue(TrimSpace(GetFieldValue(FieldName)), Index);
}

std::string TMailMessage::AddressAt(std::string_view FieldName, int Index) const {
    return AddressInValue(TrimSpace(GetFieldValue(FieldName)), Index);
}

std::string TMailMessage::SubjectText() const {
    return DecodeEncodedWords(GetFieldValue("Subject"));
}

TDateTime TMailMessage::SentDate() const {
    return ParseMailDate(TrimSpace(GetFieldValue("Date")));
}

} // namespace quillet

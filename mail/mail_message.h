// The message object into which the POP3 client loads each fetched text (header lines, the
// empty separator line and the first body lines). Nothing is parsed on loading: every getter
// looks its field up in the stored lines when it is called.
#pragma once

#include "mail/mail_part.h"
#include "mail/mail_recipients.h"
#include "util/date_time.h"

#include <string>
#include <string_view>

namespace quillet {

enum TEncodingType { etBase64, etQuotedPrintable, etNoEncoding, et7Bit };

class TMailMessage : public TMailPart {
public:
    explicit TMailMessage(QObject* Owner = nullptr);

    // Stored only; no decoding consults them.
    std::string Charset = "iso-8859-1";
    TEncodingType TextEncoding = etQuotedPrintable;

    TMailRecipients ToRecipients{this, "To"};
    TMailRecipients CcRecipients{this, "Cc"};
    TMailRecipients BccRecipients{this, "Bcc"};

    // Empties the message: child parts, header lines and bodies. Charset, TextEncoding and the
    // recipient objects stay.
    void Reset();

    // Display name (decoded; empty when the entry has none) and address of entry Index
    // (0-based) of an address field.
    std::string NameAt(std::string_view FieldName, int Index) const;
    std::string AddressAt(std::string_view FieldName, int Index) const;

    std::string SenderName() const { return NameAt("From", 0); }
    std::string SenderAddress() const { return AddressAt("From", 0); }
    // The subject with its encoded words decoded.
    std::string SubjectText() const;
    // The Date field as a local date-time, 0 when it cannot be read. A Date value without a
    // month raises EMailFormatError.
    TDateTime SentDate() const;
    // The Message-ID value as it stands, angle brackets included.
    std::string MessageId() const { return GetFieldValue("Message-ID"); }
};

} // namespace quillet

// The recipients of one address field (To, Cc or Bcc) of a message, and the parsers that read
// names and addresses out of an address field value.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

class TMailMessage;

// The display name of entry Index (0-based) of an address field value, decoded; empty when the
// entry has no address in angle brackets. Entries are separated by commas or semicolons outside
// double quotes.
std::string NameInValue(std::string_view Value, int Index);

// The address of entry Index of an address field value: the text in angle brackets when there
// is one, otherwise the entry with its blanks and quoted parts dropped.
std::string AddressInValue(std::string_view Value, int Index);

// Splits an address field value into the display names (decoded) and the addresses of all its
// entries. An entry without angle brackets has an empty name and its whole text, inner blanks
// kept, as its address.
void ParseRecipientList(std::string_view Value, std::vector<std::string>& Names,
                        std::vector<std::string>& Addresses);

class TMailRecipients {
public:
    TMailRecipients(const TMailMessage* Owner, std::string Field)
        : OwnerMessage(Owner), FieldName(std::move(Field)) {}
    TMailRecipients(const TMailRecipients&) = delete;
    TMailRecipients& operator=(const TMailRecipients&) = delete;

    const TMailMessage* const OwnerMessage;
    // The header field the lists are read from: "To", "Cc" or "Bcc".
    const std::string FieldName;

    // The lists always describe the message's current header: they are rebuilt whenever the
    // field's value differs from the one they were built from. A uuencoded name with a bad
    // character raises EMailFormatError. Index errors raise std::out_of_range.
    int Count() const;
    const std::string& Names(int Index) const;
    const std::string& Addresses(int Index) const;

private:
    void EnsureCurrent() const;

    mutable std::vector<std::string> FNames;
    mutable std::vector<std::string> FAddresses;
    // The field value the lists were built from; none before the first build.
    mutable std::optional<std::string> FBuiltFrom;
};

} // namespace quillet

#include "mail/mail_recipients.h"

#include "mail/encoded_words.h"
#include "mail/field_value.h"
#include "mail/mail_message.h"

namespace quillet {

namespace {

bool IsSeparator(char c) {
    return c == ',' || c == ';';
}

} // namespace

std::string NameInValue(std::string_view Value, int Index) {
    int entry = 0;
    bool inQuotes = false;
    std::string name;
    for (const char c : Value) {
        if (c == '"') {
            inQuotes = !inQuotes;
            continue;
        }
        const bool separator = !inQuotes && IsSeparator(c);
        if (separator)
            ++entry;
        if (entry > Index)
            return {};
        if (entry != Index)
            continue;
        // Only an entry with an address in angle brackets has a display name.
        if (c == '<' && !inQuotes)
            return DecodeEncodedWords(TrimSpace(name));
        if (!separator)
            name += c;
    }
    return {};
}

std::string AddressInValue(std::string_view Value, int Index) {
    int entry = 0;
    bool inQuotes = false;
    std::string address;
    for (const char c : Value) {
        if (c == '"') {
            inQuotes = !inQuotes;
            continue;
        }
        if (!inQuotes && IsSeparator(c))
            ++entry;
        if (entry > Index)
            break;
        if (entry != Index || inQuotes)
            continue;
        if (c == '<')
            address.clear(); // what came before was a display name
        else if (c == '>')
            break;
        else if (c != ' ' && !IsSeparator(c))
            address += c;
    }
    return TrimSpace(address);
}

void ParseRecipientList(std::string_view Value, std::vector<std::string>& Names,
                        std::vector<std::string>& Addresses) {
    Names.clear();
    Addresses.clear();
    std::string name;
    std::string address;
    bool inAddress = false;
    bool inQuotes = false;

    auto endEntry = [&] {
        if (!inAddress) {
            Names.emplace_back();
            Addresses.push_back(TrimSpace(name));
        } else {
            Names.push_back(DecodeEncodedWords(TrimSpace(name)));
            Addresses.push_back(TrimSpace(address));
        }
        name.clear();
        address.clear();
        inAddress = false;
    };

    for (const char c : Value) {
        if (c == '"') {
            inQuotes = !inQuotes;
            continue;
        }
        if (inQuotes) {
            if (!inAddress)
                name += c;
            continue;
        }
        if (IsSeparator(c)) {
            endEntry();
            continue;
        }
        if (c == '<') {
            inAddress = true;
            continue;
        }
        if (c == '>')
            continue; // the address goes on after it
        if (!inAddress)
            name += c;
        else if (c != ' ')
            address += c;
    }
    if (!Value.empty())
        endEntry();
}

void TMailRecipients::EnsureCurrent() const {
    std::string value = TrimSpace(OwnerMessage->GetFieldValue(FieldName));
    if (FBuiltFrom && *FBuiltFrom == value)
        return;
    // Build into fresh lists so that a decoding error leaves the object unbuilt, never half-built.
    FBuiltFrom.reset();
    std::vector<std::string> names;
    std::vector<std::string> addresses;
    ParseRecipientList(value, names, addresses);
    FNames = std::move(names);
    FAddresses = std::move(addresses);
    FBuiltFrom = std::move(value);
}

int TMailRecipients::Count() const {
    EnsureCurrent();
    return static_cast<int>(FAddresses.size());
}

const std::string& TMailRecipients::Names(int Index) const {
    EnsureCurrent();
    return FNames.at(static_cast<std::size_t>(Index));
}

const std::string& TMailRecipients::Addresses(int Index) const {
    EnsureCurrent();
    return FAddresses.at(static_cast<std::size_t>(Index));
}

} // namespace quillet

// A mail entry built from a fetched header: sender, recipients, subject, dates, size, the header
// and body lines and the identity. A field that cannot be decoded (a damaged encoded word) is
// left empty and named in Problems; it never stops the check.
#pragma once

#include "model/mail.h"

#include <cstdint>
#include <memory>
#include <string>

namespace quillet {

class TMailMessage;

// Message: the parser holding message N's header; ListedSize: its size from the listing.
// DateError is set when the Date header could not be read (the entry gets no sent date).
std::unique_ptr<TMail> MailFromMessage(const TMailMessage& Message, std::int32_t N, const std::string& Label,
                                       std::int32_t ListedSize, std::string& Problems, bool& DateError);

} // namespace quillet

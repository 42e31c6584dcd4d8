// A mail entry built from a fetched header: sender, recipients, subject, dates, size, the header
// and body lines and the identity. A field that cannot be decoded (a damaged encoded word) is
// left empty and named in Problems; it never stops the check.
#pragma once

#include "model/mail.h"

#include <cstdint>
#include <memory>
#include <string>

namespace quillet {

struct TFetchedMail {
    std::unique_ptr<TMail> Mail;
    // The fields that could not be decoded, with why ("Subject: ..."); empty when all could.
    std::string Problems;
    // The Date header could not be read: the entry has no sent date.
    bool DateError = false;
};

// TopText: message N's text as TOP fetched it (lines ended by CR LF); ListedSize: its size
// from this connection's listing.
TFetchedMail MailFromTop(const std::string& TopText, std::int32_t N, const std::string& Label,
                         std::int32_t ListedSize);

} // namespace quillet

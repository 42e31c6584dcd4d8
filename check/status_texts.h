// Status texts of a check that depend on what the server said: why a log-in failed, and when a
// mailbox that limits its log-ins may be tried again.
#pragma once

#include "mail/pop3_text.h"

#include <cstdint>
#include <string>

namespace quillet {

// The text after the account label when USER or PASS was refused. A busy or locked mailbox is
// no reason to doubt the password: it is said to be busy and tried again at the next check.
// RetryAt ("hh:mm:ss", may be empty) is when a LOGIN-DELAY server allows the next log-in.
std::string LoginFailureText(TResponseCode Code, const std::string& RetryAt);

// The text for an automatic check held back because the server allows a log-in only every
// DelaySeconds seconds.
std::string LoginDelayText(std::int32_t DelaySeconds, const std::string& RetryAt);

// "done" after a pass, with what it could not do: messages whose header the server refused, and
// marked mails that were not deleted (the System pane says why for each).
std::string DoneText(int NotFetched, int NotDeleted);

// The marked mails whose DELE was accepted but whose session did not end with QUIT accepted:
// the server deletes nothing then, and they stay marked.
std::string DeletionNotDoneText(int Count);

} // namespace quillet

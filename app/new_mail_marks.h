// The "*" and bold of a new mail mean: announced since the user last looked at the window. They
// stay across later checks while the user is away, and go once the user has looked; the new-mail
// notification sums up the same mails.
#pragma once

#include <string>
#include <vector>

namespace quillet {

class TMails;

// The user has looked at the window: no listed mail is new to them any more. Returns the
// indices of the entries whose rows change.
std::vector<int> ClearNewMarks(TMails& Mails);

// What a new-mail notification sums up, as indices into Mails: the mails of Keys (this check's
// new mails) first, then those announced before that the user has not looked at yet. A later
// notification replaces the earlier one, so it tells all the user has not seen.
std::vector<int> MailsToAnnounce(const TMails& Mails, const std::vector<std::string>& Keys);

} // namespace quillet

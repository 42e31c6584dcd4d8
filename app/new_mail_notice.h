// The desktop notification that announces new mail: how many arrived (in how many accounts,
// when more than one), and the sender and subject of up to three of them. One notice sums up a
// whole check, however many mails it found. Pure text; the window shows it.
#pragma once

#include <string>
#include <vector>

namespace quillet {

class TMail;

struct TNewMailNotice {
    std::string Title; // "New mail" for one, "<n> new mails" for more, "<n> new mails in <k> accounts"
    std::string Body;  // one line per mail shown, and "and <k> more" when there are more
};

// The notice for NewMails (in the order they arrived); an empty title when there are none.
TNewMailNotice NewMailNotice(const std::vector<const TMail*>& NewMails);

} // namespace quillet

// The desktop notification that announces new mail: how many arrived, and the sender and
// subject of up to three of them. Pure text; the window shows it.
#pragma once

#include <string>
#include <vector>

namespace quillet {

class TMail;

struct TNewMailNotice {
    std::string Title; // "New mail" for one, "<n> new mails" for more
    std::string Body;  // one line per mail shown, and "and <k> more" when there are more
};

// The notice for NewMails (in the order they arrived); an empty title when there are none.
TNewMailNotice NewMailNotice(const std::vector<const TMail*>& NewMails);

} // namespace quillet

// How the mail list uses the window: the column widths when the columns are fitted to their
// content, and the list's share of the height it shares with the detail panes. No widgets here.
#pragma once

#include "app/mail_row_texts.h"

#include <array>

namespace quillet {

using TColumnWidths = std::array<int, MailListColumns>;

// Whether Widths are the widths of a first start, which the user has not changed since (the
// Subject column, which takes the room the others leave, is not compared).
bool FirstStartColumnWidths(const TColumnWidths& Widths);

// The column widths fitted to the content. Needed[k] is the width that the texts of column k
// and its caption need; Available is the width of the list. Every column but Subject gets what it
// needs, the account and the address columns at most a share of Available (an eighth, a quarter
// for From, a fifth for To), so that one long address does not push the subject away. When
// Subject would get less than three tenths of Available, To, From, Date received, Account and
// Date sent give up width for it in this order, each down to 80 pixels (or what it needs when
// that is less). Subject gets the rest, none
// when the others fill the list.
TColumnWidths FittedColumnWidths(const TColumnWidths& Needed, int Available);

// The list's height in a splitter of Total pixels (both panes together) when it keeps Share of
// them, kept within the heights that leave each side at least MinList and MinPanes.
int ListHeightForShare(int Total, double Share, int MinList, int MinPanes);

} // namespace quillet

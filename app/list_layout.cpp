#include "app/list_layout.h"

#include "settings/main_settings.h"

#include <algorithm>
#include <cmath>

namespace quillet {

bool FirstStartColumnWidths(const TColumnWidths& Widths) {
    for (int column = 0; column < MailListColumns; ++column)
        if (column != colSubject &&
            Widths[static_cast<std::size_t>(column)] != DefaultColWidths[static_cast<std::size_t>(column)])
            return false;
    return true;
}

TColumnWidths FittedColumnWidths(const TColumnWidths& Needed, int Available) {
    const auto at = [](int Column) { return static_cast<std::size_t>(Column); };
    // The widest the account and the address columns may become, as shares of the list.
    TColumnWidths widths = Needed;
    widths[at(colAccount)] = std::min(Needed[at(colAccount)], std::max(Available / 8, 60));
    widths[at(colFrom)] = std::min(Needed[at(colFrom)], std::max(Available / 4, 80));
    widths[at(colTo)] = std::min(Needed[at(colTo)], std::max(Available / 5, 80));
    int others = 0;
    for (int column = 0; column < MailListColumns; ++column)
        if (column != colSubject)
            others += widths[at(column)];
    // Subject keeps at least three tenths of the list: To gives up width first (it is mostly the
    // user), then From, the date received, the account and the date sent, each down to 80 pixels
    // or what it needs when that is less.
    int missing = Available * 3 / 10 - (Available - others);
    for (const int column : {colTo, colFrom, colDateRcvd, colAccount, colDateSent}) {
        const int spare = std::max(0, widths[at(column)] - std::min(Needed[at(column)], 80));
        const int take = std::clamp(missing, 0, spare);
        widths[at(column)] -= take;
        others -= take;
        missing -= take;
    }
    widths[at(colSubject)] = std::max(Available - others, 0);
    return widths;
}

int ListHeightForShare(int Total, double Share, int MinList, int MinPanes) {
    const int wanted = static_cast<int>(std::lround(Share * Total));
    return std::clamp(wanted, std::min(MinList, Total), std::max(std::min(MinList, Total), Total - MinPanes));
}

} // namespace quillet

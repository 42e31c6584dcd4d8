#include "util/decimal_separator.h"

#include <clocale>
#include <locale>

namespace quillet {

void UseDotDecimalSeparator() {
    std::setlocale(LC_NUMERIC, "C");
    // Keep the rest of the global C++ locale, take the numeric facets from the classic one.
    std::locale::global(std::locale(std::locale(), std::locale::classic(), std::locale::numeric));
}

} // namespace quillet

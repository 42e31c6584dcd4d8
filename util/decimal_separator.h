#pragma once

namespace quillet {

// Makes "." the decimal separator for all number formatting and parsing of the process,
// whatever the user's regional settings say. Called once at program start.
void UseDotDecimalSeparator();

} // namespace quillet

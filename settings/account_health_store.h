// Each account's health (last good check, last failure with its time, failures in a row) in the
// options store, so that it is kept across restarts: one section per account number,
// "Health00", "Health01", ... beside the account's label. A section whose label is not the
// account's (the accounts were edited without a save) is not read; a store without these
// sections reads as accounts that were never checked.
#pragma once

#include "util/settings_store.h"

namespace quillet {

class TAccounts;

void ReadAccountHealth(TSettingsStore& Store, TAccounts& Accounts);
void WriteAccountHealth(TSettingsStore& Store, const TAccounts& Accounts);

} // namespace quillet

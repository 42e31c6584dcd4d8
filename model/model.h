// The two process-wide lists: every account and every mail seen in this run.
#pragma once

#include "model/account.h"
#include "model/mails.h"

namespace quillet {

// Created before any window and never replaced. The program entry empties both before the
// application object goes away, so that no socket outlives the event loop.
extern TAccounts Accounts;
extern TMails Mails;

} // namespace quillet

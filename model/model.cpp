#include "model/model.h"

namespace quillet {

TAccounts Accounts;
TMails Mails;

} // namespace quillet

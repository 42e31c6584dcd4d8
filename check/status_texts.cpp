#include "check/status_texts.h"

namespace quillet {

std::string LoginFailureText(TResponseCode Code, const std::string& RetryAt) {
    switch (Code) {
    case TResponseCode::InUse:
        return "Mailbox busy (in use by another session); it will be tried again at the next check";
    case TResponseCode::LoginDelay:
        return "Mailbox busy: the server allows log-ins only now and then" +
               (RetryAt.empty() ? std::string("; it will be tried again at the next check")
                                : "; it may be tried again after " + RetryAt);
    case TResponseCode::SysTemp:
        return "Mailbox busy (a temporary problem on the server); it will be tried again at the next check";
    case TResponseCode::Auth:
        return "Failed on login: the user name or password was refused";
    case TResponseCode::SysPerm:
        return "Failed on login: the server refuses this mailbox (a lasting problem on the server)";
    case TResponseCode::None:
    case TResponseCode::Other:
        break;
    }
    return "Failed on login";
}

std::string LoginDelayText(std::int32_t DelaySeconds, const std::string& RetryAt) {
    return "Not checked yet: the server allows a log-in every " + std::to_string(DelaySeconds) +
           " seconds; next automatic check after " + RetryAt;
}

} // namespace quillet

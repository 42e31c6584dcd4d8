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

std::string DoneText(int NotFetched, int NotDeleted) {
    std::string text = "done";
    if (NotFetched > 0)
        text += "; " + std::to_string(NotFetched) + (NotFetched == 1 ? " message" : " messages") +
                " could not be fetched";
    if (NotDeleted > 0)
        text += "; " + std::to_string(NotDeleted) +
                (NotDeleted == 1 ? " marked mail was" : " marked mails were") + " not deleted";
    if (NotFetched > 0 || NotDeleted > 0)
        text += " (see the System pane)";
    return text;
}

std::string DeletionNotDoneText(int Count) {
    return "The deletion did not take place: the server did not confirm the end of the session, so " +
           std::string(Count == 1 ? "the marked mail stays" : std::to_string(Count) + " marked mails stay") +
           " on the server and marked";
}

} // namespace quillet

#include "check/status_texts.h"

#include "util/text_convert.h"

#include <QCoreApplication>

namespace quillet {

namespace {

std::string Text(const QString& Translated) {
    return FromQString(Translated);
}

} // namespace

std::string LoginFailureText(TResponseCode Code, const std::string& RetryAt) {
    switch (Code) {
    case TResponseCode::InUse:
        return Text(QCoreApplication::translate(
            "StatusTexts",
            "Mailbox busy (in use by another session); it will be tried again at the next check"));
    case TResponseCode::LoginDelay:
        return RetryAt.empty()
                   ? Text(QCoreApplication::translate("StatusTexts",
                                                      "Mailbox busy: the server allows log-ins only now and "
                                                      "then; it will be tried again at the next check"))
                   : Text(QCoreApplication::translate(
                              "StatusTexts",
                              "Mailbox busy: the server allows log-ins only now and then; it may be tried "
                              "again after %1")
                              .arg(ToQString(RetryAt)));
    case TResponseCode::SysTemp:
        return Text(QCoreApplication::translate(
            "StatusTexts",
            "Mailbox busy (a temporary problem on the server); it will be tried again at the next check"));
    case TResponseCode::Auth:
        return Text(QCoreApplication::translate("StatusTexts",
                                                "Failed on login: the user name or password was refused"));
    case TResponseCode::SysPerm:
        return Text(QCoreApplication::translate(
            "StatusTexts",
            "Failed on login: the server refuses this mailbox (a lasting problem on the server)"));
    case TResponseCode::None:
    case TResponseCode::Other:
        break;
    }
    return Text(QCoreApplication::translate("StatusTexts", "Failed on login"));
}

std::string LoginDelayText(std::int32_t DelaySeconds, const std::string& RetryAt) {
    return Text(QCoreApplication::translate("StatusTexts",
                                            "Not checked yet: the server allows a log-in every %1 "
                                            "seconds; next automatic check after %2")
                    .arg(QString::number(DelaySeconds), ToQString(RetryAt)));
}

std::string DoneText(int NotFetched, int NotDeleted) {
    // Whole sentences for each case, so that a language can order them as it needs.
    const QString fetched = QString::number(NotFetched);
    const QString deleted = QString::number(NotDeleted);
    if (NotFetched > 0 && NotDeleted > 0) {
        const char* const texts[2][2] = {
            {QT_TRANSLATE_NOOP("StatusTexts", "done; %1 messages could not be fetched; %2 marked mails were "
                                              "not deleted (see the System pane)"),
             QT_TRANSLATE_NOOP("StatusTexts",
                               "done; %1 messages could not be fetched; %2 marked mail was not "
                               "deleted (see the System pane)")},
            {QT_TRANSLATE_NOOP("StatusTexts",
                               "done; %1 message could not be fetched; %2 marked mails were not "
                               "deleted (see the System pane)"),
             QT_TRANSLATE_NOOP("StatusTexts", "done; %1 message could not be fetched; %2 marked mail was not "
                                              "deleted (see the System pane)")}};
        return Text(QCoreApplication::translate("StatusTexts", texts[NotFetched == 1][NotDeleted == 1])
                        .arg(fetched, deleted));
    }
    if (NotFetched > 0)
        return Text((NotFetched == 1
                         ? QCoreApplication::translate(
                               "StatusTexts", "done; %1 message could not be fetched (see the System pane)")
                         : QCoreApplication::translate(
                               "StatusTexts", "done; %1 messages could not be fetched (see the System pane)"))
                        .arg(fetched));
    if (NotDeleted > 0)
        return Text((NotDeleted == 1
                         ? QCoreApplication::translate(
                               "StatusTexts", "done; %1 marked mail was not deleted (see the System pane)")
                         : QCoreApplication::translate(
                               "StatusTexts", "done; %1 marked mails were not deleted (see the System pane)"))
                        .arg(deleted));
    return Text(QCoreApplication::translate("StatusTexts", "done"));
}

std::string DeletionNotDoneText(int Count) {
    return Text(Count == 1
                    ? QCoreApplication::translate(
                          "StatusTexts", "The deletion did not take place: the server did not confirm the "
                                         "end of the session, so the marked mail stays on the server and "
                                         "marked")
                    : QCoreApplication::translate(
                          "StatusTexts", "The deletion did not take place: the server did not confirm the "
                                         "end of the session, so %1 marked mails stay on the server and "
                                         "marked")
                          .arg(Count));
}

} // namespace quillet

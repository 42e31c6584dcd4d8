// The deletion step of a check: DELE for each marked mail that is, on this connection, the
// message it names, the mark read again as each DELE is written; QUIT; and the rows taken out
// only once the server accepted QUIT, which is when it deletes.
#include "check/check_cycle.h"
#include "check/check_pass.h"

#include "check/check_plan.h"
#include "mail/pop3_client.h"
#include "model/account.h"
#include "model/mails.h"
#include "util/text_convert.h"

#include <QCoreApplication>

namespace quillet {

using check_text::FirstLine;
using check_text::Quoted;

void TCheckCycle::DeleteMarked(TAccount& Account, TPass& Pass) {
    TPop3Client& pop = *Account.Pop();
    const std::string label = Account.Label;
    const TSessionFacts session{pop.UniqueIds(), pop.MessageSizes(), Pass.Keys};
    std::map<std::int32_t, std::string> targets; // message number -> key of the marked mail
    for (int j = 0; j < FMails.Count(); ++j) {
        const TMail& mail = FMails[j];
        if (mail.Account != label || !mail.MarkedForDelete)
            continue;
        if (mail.State == TMailState::Unseen && Pass.Complete)
            continue; // gone from the server already: the sweep takes it out of the list
        if (const std::string refusal = DeletionRefusal(mail, session); !refusal.empty()) {
            ++Pass.NotDeleted;
            LogSystem(
                FromQString(QCoreApplication::translate("CheckCycle", "Not deleted: %1: %2; it stays marked")
                                .arg(ToQString(Quoted(mail)), ToQString(refusal))));
            continue;
        }
        targets.emplace(mail.ServerIdx, mail.MatchKey());
    }
    if (targets.empty())
        return;
    std::vector<std::int32_t> numbers;
    for (const auto& [number, key] : targets)
        numbers.push_back(number);
    // The mark is read again as each DELE is written: a mark taken off meanwhile is respected.
    const auto stillMarked = [&](std::int32_t N) {
        const int j = FMails.FindMail(targets[N]);
        return j >= 0 && FMails[j].MarkedForDelete;
    };
    // QUIT is not written with the DELE run: until QUIT goes out, an abort still leaves every
    // message on the server.
    pop.DeleteMessages(numbers, stillMarked, [&](std::int32_t N, bool Ok, const std::string& Reply) {
        LogSystem("DELE " + std::to_string(N));
        LogSystem(Reply);
        if (Ok) {
            Pass.Deleted.push_back(targets[N]);
        } else {
            ++Pass.NotDeleted;
            if (const int j = FMails.FindMail(targets[N]); j >= 0)
                LogSystem(FromQString(
                    QCoreApplication::translate("CheckCycle", "Not deleted: %1: %2; it stays marked")
                        .arg(ToQString(Quoted(FMails[j])), ToQString(FirstLine(Reply)))));
        }
        FHost.RefreshStatus();
        QCoreApplication::processEvents();
        return !FAbortRequested;
    });
}

void TCheckCycle::FinishDeletions(TPass& Pass, bool QuitAccepted) {
    if (Pass.Deleted.empty())
        return;
    if (!QuitAccepted) {
        Pass.DeletionsLost = true; // the rows stay, marked
        return;
    }
    // The server deletes on QUIT: only now are the rows taken out.
    for (const std::string& key : Pass.Deleted)
        if (const int j = FMails.FindMail(key); j >= 0)
            FHost.RemoveMail(j);
    FHost.RefreshStatus();
}

bool TCheckCycle::QuitSession(TAccount& Account) {
    TPop3Client& pop = *Account.Pop();
    LogSystem("QUIT");
    const bool accepted = pop.Quit();
    if (!accepted) {
        LogSystem(FromQString(QCoreApplication::translate("CheckCycle", "QUIT failed. Aborting...")));
        pop.Abort();
    }
    LogSystem(pop.LastReply());
    return accepted;
}

} // namespace quillet

// The decisions a check makes without a server: which messages are matched by unique id, and
// whether DELE may go to a marked mail's number on this connection.
#include "check/check_plan.h"
#include "model/mail.h"

#include <gtest/gtest.h>

using namespace quillet;

namespace {

TEST(CheckPlan, KnownUniqueIdsOfListedMailsAreNotFetched) {
    const TUniqueIds ids{{1, "a"}, {2, "b"}, {4, "d"}};
    const std::unordered_map<std::string, std::string> keys{{"a", "key-a"}, {"b", "key-b"}, {"d", "key-d"}};
    const TFetchPlan plan = PlanFetch(4, ids, keys, [](const std::string& Key) { return Key != "key-b"; });
    EXPECT_EQ(plan.Fetch, (std::vector<std::int32_t>{2, 3})) << "b's mail left the list; 3 has no id";
    EXPECT_EQ(plan.Known, (std::map<std::int32_t, std::string>{{1, "key-a"}, {4, "key-d"}}));
}

TEST(CheckPlan, DeleGoesOnlyToTheMessageThatIsTheMarkedMail) {
    TMail withUid;
    withUid.Uid = "u7";
    withUid.ServerIdx = 2;
    withUid.MailSize = 100;
    TMail withoutUid;
    withoutUid.Key = "k2";
    withoutUid.ServerIdx = 2;
    withoutUid.MailSize = 100;
    const TMessageSize sizes{0, 50, 100};
    const TMessageSize resized{0, 50, 101};
    const TUniqueIds ids{{1, "u1"}, {2, "u7"}};
    const TUniqueIds moved{{1, "u7"}, {2, "u8"}};
    const TUniqueIds none;
    const std::map<std::int32_t, std::string> met{{2, "k2"}};
    const std::map<std::int32_t, std::string> other{{2, "k9"}};
    struct TRow {
        const char* Name;
        const TMail& Mail;
        TMailState State;
        std::int32_t Number;
        const TUniqueIds& Ids;
        const TMessageSize& Sizes;
        const std::map<std::int32_t, std::string>& Keys;
        std::string Refusal;
    };
    const TRow rows[] = {
        {"same unique id", withUid, TMailState::Old, 2, ids, sizes, other, ""},
        {"another unique id at its number", withUid, TMailState::Old, 2, moved, sizes, met,
         "message 2 on the server has another unique id"},
        {"not met in this pass", withUid, TMailState::Unseen, 2, ids, sizes, met,
         "it was not found on the server in this check"},
        {"number past the listing", withUid, TMailState::Old, 3, ids, sizes, met,
         "its message number 3 is not in this listing"},
        {"same key and size", withoutUid, TMailState::New, 2, none, sizes, met, ""},
        {"another header at its number", withoutUid, TMailState::Old, 2, none, sizes, other,
         "message 2 on the server has another header"},
        {"another size at its number", withoutUid, TMailState::Old, 2, none, resized, met,
         "message 2 on the server has another size"},
    };
    for (const TRow& row : rows) {
        TMail mail = row.Mail;
        mail.State = row.State;
        mail.ServerIdx = row.Number;
        EXPECT_EQ(DeletionRefusal(mail, {row.Ids, row.Sizes, row.Keys}), row.Refusal) << row.Name;
    }
}

TEST(MailKey, DiffersWhereverTheMessagesDiffer) {
    const std::vector<std::string> invoice{"Received: x", "Return-Path: y", "Subject: Invoice 123"};
    const std::vector<std::string> reordered{"Received: x", "Return-Path: y", "Subject: Invoice 321"};
    const std::vector<std::string> firstLine{"Received: z", "Return-Path: y", "Subject: Invoice 123"};
    EXPECT_EQ(MailIdentity(invoice), MailIdentity(reordered)) << "the shown identity collides";
    EXPECT_EQ(MailKey("A", "", invoice), MailKey("A", "", invoice));
    for (const auto& [account, uid, lines] : {std::tuple{"A", "", reordered}, std::tuple{"A", "", firstLine},
                                              std::tuple{"B", "", invoice}, std::tuple{"A", "u1", invoice}})
        EXPECT_NE(MailKey(account, uid, lines), MailKey("A", "", invoice)) << account << uid << lines[2];
    EXPECT_NE(MailKey("A", "", {"To: a"}), MailKey("A", "", {"To: b"})) << "short headers are told apart";
    EXPECT_NE(MailKey("A\x1f", "", invoice), MailKey("A", "\x1f", invoice));
}

} // namespace

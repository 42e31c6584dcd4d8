// The "Set password..." command: every path through its prompts and messages.
#include "app/master_password_check.h"
#include "dialogs/message_box.h"

#include <gtest/gtest.h>

namespace quillet::test {
namespace {

class TScriptAsker : public TPasswordAsker {
public:
    explicit TScriptAsker(std::vector<std::optional<std::string>> Answers) : FAnswers(std::move(Answers)) {}
    std::optional<std::string> AskPassword(const std::string& Prompt) override {
        Prompts.push_back(Prompt);
        return FNext < FAnswers.size() ? FAnswers[FNext++] : std::nullopt;
    }
    std::vector<std::string> Prompts;

private:
    std::vector<std::optional<std::string>> FAnswers;
    std::size_t FNext = 0;
};

const std::string Existing = "Enter your existing password";
const std::string NewOne =
    "Enter a password that secures access to all your e-mail accounts, or leave the field "
    "empty to use the program without a password:";
const std::string Retype = "Retype your new password:";
const QString Protected = "Your accounts ARE password-protected.";
const QString Unprotected = "Your accounts are NOT password-protected.";
const QString NoMatch = "Both versions of the password do not match";
const QString Invalid = "Invalid password!";

} // namespace

TEST(SetMasterPassword, EveryPath) {
    struct Row {
        const char* what;
        std::string before;
        std::vector<std::optional<std::string>> answers;
        std::vector<std::string> prompts;
        std::string after;
        std::vector<QString> messages;
    };
    const auto none = std::nullopt;
    const Row rows[] = {
        {"set a first password", "", {"k3y", "k3y"}, {NewOne, Retype}, "k3y", {Protected}},
        {"retype differs", "", {"k3y", "K3y"}, {NewOne, Retype}, "", {NoMatch}},
        {"retype cancelled counts as empty", "", {"k3y", none}, {NewOne, Retype}, "", {NoMatch}},
        {"new one cancelled", "", {none}, {NewOne}, "", {Unprotected}},
        {"change it", "old", {"old", "new", "new"}, {Existing, NewOne, Retype}, "new", {Protected}},
        {"clear it", "old", {"old", ""}, {Existing, NewOne}, "", {Unprotected}},
        {"wrong present password", "old", {"OLD"}, {Existing}, "old", {Invalid, Protected}},
        {"present password cancelled", "old", {none}, {Existing}, "old", {Protected}},
    };
    for (const Row& row : rows) {
        TMessageBoxScript boxes;
        TScriptAsker asker(row.answers);
        std::string password = row.before;
        SetMasterPassword(password, asker, nullptr, "Quillet");
        EXPECT_EQ(asker.Prompts, row.prompts) << row.what;
        EXPECT_EQ(password, row.after) << row.what;
        ASSERT_EQ(boxes.Shown().size(), row.messages.size()) << row.what;
        for (std::size_t i = 0; i < row.messages.size(); ++i) {
            const TShownMessage& shown = boxes.Shown()[i];
            EXPECT_EQ(shown.Text, row.messages[i]) << row.what;
            const bool error = shown.Text == NoMatch || shown.Text == Invalid;
            EXPECT_EQ(shown.Title, error ? "Error" : "Quillet") << row.what;
            EXPECT_EQ(shown.Icon, error ? TMessageIcon::Error : TMessageIcon::None) << row.what;
        }
    }
}

} // namespace quillet::test

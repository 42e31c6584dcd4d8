#include "model/account.h"

#include "mail/mail_message.h"
#include "mail/pop3_client.h"
#include "mail/pop3_text.h"
#include "mail/smtp_client.h"
#include "util/strings.h"

#include <algorithm>

namespace quillet {

namespace {

// The lines of a LIST reply without a "+" status line at the top.
std::vector<std::string> ListingLines(const std::string& Text) {
    std::vector<std::string> lines = ServerTextLines(Text);
    if (!lines.empty() && StartsWithText(lines.front(), "+"))
        lines.erase(lines.begin());
    return lines;
}

} // namespace

TAccount::TAccount()
    : FMessage(std::make_unique<TMailMessage>()), FPop(std::make_unique<TPop3Client>()),
      FSmtp(std::make_unique<TSmtpClient>()) {
    FPop->MailMessage = FMessage.get();
    FSmtp->MailMessage = FMessage.get();
}

TAccount::~TAccount() = default;

void TAccount::SetPort(std::int32_t Value) {
    if (Value <= 0)
        FPort = 1;
    else if (Value > 65535)
        FPort = 65535;
    else
        FPort = Value;
}

void TAccount::StoreListing(const std::string& Text) {
    LastListing = ListingLines(Text);
}

bool TAccount::SameListing(const std::string& Text) const {
    return JoinTextLines(ListingLines(Text)) == JoinTextLines(LastListing);
}

std::int32_t TAccount::ListedSize(std::int32_t N) const {
    if (N < 1 || N >= static_cast<std::int32_t>(LastListing.size()))
        return -1;
    const std::string& line = LastListing[static_cast<std::size_t>(N - 1)];
    const auto space = line.find(' ');
    if (space == std::string::npos)
        return -1;
    return StrToIntSafe(line.substr(space + 1));
}

void TAccount::RecordCheck(const std::string& Failure, std::int64_t AtMs) {
    LastFailure = Failure;
    if (Failure.empty()) {
        LastFailureMs = 0;
        LastGoodCheckMs = AtMs;
        FailuresInRow = 0;
        return;
    }
    LastFailureMs = AtMs;
    // Counting stops far beyond what the back-off and the badge look at.
    FailuresInRow = std::min(FailuresInRow + 1, std::int32_t{1000000});
}

void TAccount::DropSessions() {
    if (FPop->Connected() || FPop->Conversation()->Opened())
        FPop->Abort();
    if (FSmtp->Connected())
        FSmtp->Abort();
}

TAccount* TAccounts::Item(int Index) const {
    if (Index < 0 || Index >= Count())
        return nullptr;
    return FItems[static_cast<std::size_t>(Index)].get();
}

int TAccounts::Add(std::unique_ptr<TAccount> Account) {
    FItems.push_back(std::move(Account));
    return Count() - 1;
}

bool TAccounts::Delete(int Index) {
    TAccount* account = Item(Index);
    if (account == nullptr || account->Checking)
        return false;
    FItems.erase(FItems.begin() + Index);
    return true;
}

void TAccounts::Clear() {
    DropAllSessions();
    FItems.clear();
}

void TAccounts::DropAllSessions() {
    for (auto& account : FItems)
        account->DropSessions();
}

} // namespace quillet

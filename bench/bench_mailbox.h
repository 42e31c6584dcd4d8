// Shared by the benchmarks that check a generated mailbox: messages as varied as real ones (a
// mail's identity is built from byte sums of its header lines, so the lines that differ between
// messages must differ as real ones do), and a check host that keeps the list and nothing else.
#pragma once

#include "check/check_host.h"
#include "model/mails.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace quillet::bench {

// Message I of a generated mailbox: varied relays, times, ids, subjects and scores, and 60 body
// lines of about 70 bytes, with LF line ends as a maildir stores them.
inline std::string MessageText(int I) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull * static_cast<std::uint64_t>(I + 1);
    auto next = [&h] {
        h ^= h >> 29;
        h *= 0xBF58476D1CE4E5B9ull;
        h ^= h >> 32;
        return h;
    };
    const char* const words[] = {"Invoice", "Meeting", "Report", "Holiday", "Update", "Question", "Photos",
                                 "Order",   "Ticket",  "Draft",  "Minutes", "Agenda", "Offer",    "Reminder"};
    const std::string n = std::to_string(I);
    char date[64];
    std::snprintf(date, sizeof date, "Date: Tue, %d Dec 2026 %02d:%02d:%02d +0100",
                  static_cast<int>(next() % 28 + 1), static_cast<int>(next() % 24),
                  static_cast<int>(next() % 60), static_cast<int>(next() % 60));
    std::string text = "Received: from relay" + std::to_string(next() % 50) +
                       ".example.net\nReturn-Path: <s" + n + "@example.com>\nFrom: Sender " + n + " <s" + n +
                       "@example.com>\nTo: bench@example.com\nSubject: " + words[next() % 14] + " " +
                       words[next() % 14] + " " + std::to_string(next() % 100000) + "\n" + date +
                       "\nMessage-ID: <" + std::to_string(next()) + "." + n +
                       "@quillet.bench>\nX-Spam-Score: " + std::to_string(next() % 1000) +
                       "\nContent-Type: text/plain; charset=utf-8\n\n";
    for (int k = 1; k <= 60; ++k)
        text +=
            "This is line " + std::to_string(k) + " of the body of an ordinary message, about 70 bytes.\n";
    return text;
}

// Keeps the mail list of a check; everything the window would show is left out.
class TListHost : public TCheckHost {
public:
    explicit TListHost(TMails& Mails) : FMails(Mails) {}
    void SetStatusText(const std::string&) override {}
    void AppendSystemLine(const std::string&) override {}
    void AddMail(std::unique_ptr<TMail> Mail) override { FMails.Add(std::move(Mail)); }
    void UpdateMail(int) override {}
    void RemoveMail(int MailIndex) override { FMails.Delete(MailIndex); }
    void RefreshStatus() override {}
    void UpdateAccountButton(int) override {}
    void SetCommandsEnabled(bool) override {}
    void SelectFirstRowIfNone() override {}
    void PlaySound(TCheckSound) override {}
    void RestoreAndRaise() override {}
    void AnnounceNewMail(const std::vector<std::string>&) override {}

private:
    TMails& FMails;
};

} // namespace quillet::bench

// A mailbox of 20,000 messages (50 body lines each) on a private Dovecot: the plain POP3
// transfer of every header (Connect, Login, TOP n 50 each, Quit), the first check that adds all
// of them to the mail list, and a single-account re-check that fetches and matches them all.
// The re-check beside the plain transfer shows the check's own work as a ratio. The list here
// is the model alone (no window); the resident memory after the first check is printed. Last,
// the real program checks the mailbox and its resident memory is read.
#include "app/accounts_file.h"
#include "app/ini_file.h"
#include "check/check_cycle.h"
#include "mail/mail_message.h"
#include "mail/pop3_client.h"
#include "model/account.h"
#include "model/mails.h"
#include "tests/support/dovecot_server.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <fstream>

using namespace quillet;

namespace {

constexpr int kMessages = 20000;
constexpr int kTopLines = 50;
quillet::test::TDovecotServer* Server = nullptr;

// Realistic variety: a mail's identity is built from byte sums of its header lines, so the
// lines that differ between messages must differ as real ones do (times, ids, subjects).
std::string MessageText(int I) {
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
    std::snprintf(date, sizeof date, "Date: Mon, %d Nov 2026 %02d:%02d:%02d +0100",
                  static_cast<int>(next() % 28 + 1), static_cast<int>(next() % 24),
                  static_cast<int>(next() % 60), static_cast<int>(next() % 60));
    std::string text =
        "Received: from relay" + n + ".example.net\nReturn-Path: <s" + n + "@example.com>\nFrom: Sender " +
        n + " <s" + n + "@example.com>\nTo: bench@example.com\nSubject: " + words[next() % 14] + " " +
        words[next() % 14] + " " + std::to_string(next() % 100000) + "\n" + date + "\nMessage-ID: <" +
        std::to_string(next()) + "." + n + "@quillet.bench>\nX-Spam-Score: " + std::to_string(next() % 1000) +
        "\nContent-Type: text/plain; charset=utf-8\n\n";
    for (int k = 1; k <= 60; ++k)
        text +=
            "This is line " + std::to_string(k) + " of the body of an ordinary message, about 70 bytes.\n";
    return text;
}

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
    void SetAbortEnabled(bool) override {}
    void SelectFirstRowIfNone() override {}
    void PlaySound(TCheckSound) override {}
    void RestoreAndRaise() override {}
    void AnnounceNewMail(const std::vector<std::string>&) override {}

private:
    TMails& FMails;
};

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("VmRSS:"))
            return std::stol(line.substr(6));
    return 0;
}

double Seconds(const std::chrono::steady_clock::time_point& Since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - Since).count();
}

void PlainTransfer(benchmark::State& State) {
    TMailMessage msg;
    for (auto _ : State) {
        TPop3Client pop;
        pop.Host = "127.0.0.1";
        pop.Port = Server->Port();
        pop.UserName = "bench";
        pop.Password = "pw";
        pop.MailMessage = &msg;
        if (!pop.Connect() || !pop.Login() || pop.MessageCount() != kMessages) {
            State.SkipWithError("log-in failed");
            return;
        }
        for (int n = 1; n <= kMessages; ++n)
            pop.FetchTop(n, kTopLines);
        pop.Quit();
    }
}

void FirstCheckAndRecheck(benchmark::State& State) {
    for (auto _ : State) {
        TAccounts accounts;
        TMails mails;
        TListHost host(mails);
        TCheckCycle cycle(accounts, mails, host);
        auto account = std::make_unique<TAccount>();
        account->Label = "Bench";
        account->Host = "127.0.0.1";
        account->SetPort(Server->Port());
        account->UserName = "bench";
        account->Password = "pw";
        accounts.Add(std::move(account));
        const long before = ResidentKiB();
        auto start = std::chrono::steady_clock::now();
        cycle.CheckOne(0);
        State.counters["first_s"] = Seconds(start);
        State.counters["mails"] = mails.Count();
        State.counters["rss_mib"] = static_cast<double>(ResidentKiB() - before) / 1024.0;
        start = std::chrono::steady_clock::now();
        cycle.CheckOne(0);
        State.counters["recheck_s"] = Seconds(start);
    }
}

// The real program (this build's quillet, offscreen) checking the same mailbox on a settings
// folder of its own: its resident memory once the check has logged out, with every mail listed.
void ProgramMemory(benchmark::State& State) {
    for (auto _ : State) {
        QTemporaryDir settings;
        {
            TAccounts accounts;
            auto account = std::make_unique<TAccount>();
            account->Label = "Bench";
            account->UserName = "bench";
            account->Password = "pw";
            account->Host = "127.0.0.1";
            account->SetPort(Server->Port());
            accounts.Add(std::move(account));
            TIniFile ini(QDir(settings.path()).filePath("Quillet.ini").toStdString());
            WriteAccounts(ini, "", accounts);
        }
        const auto loggedOut = [] {
            const std::string log = Server->Log();
            std::size_t n = 0;
            for (std::size_t at = log.find("Logged out"); at != std::string::npos;
                 at = log.find("Logged out", at + 1))
                ++n;
            return n;
        };
        const std::size_t before = loggedOut();
        QProcess quillet;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QUILLET_SETTINGS_DIR", settings.path());
        quillet.setProcessEnvironment(env);
        const auto start = std::chrono::steady_clock::now();
        quillet.start(QUILLET_EXE, {});
        if (!quillet.waitForStarted(10000)) {
            State.SkipWithError("quillet did not start");
            return;
        }
        while (loggedOut() == before && Seconds(start) < 300 && quillet.state() == QProcess::Running)
            QThread::msleep(100);
        State.counters["check_s"] = Seconds(start);
        QThread::msleep(500); // the list settles
        long rss = 0;
        std::ifstream status("/proc/" + std::to_string(quillet.processId()) + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.starts_with("VmRSS:"))
                rss = std::stol(line.substr(6));
        State.counters["rss_mib"] = static_cast<double>(rss) / 1024.0;
        quillet.terminate();
        quillet.waitForFinished(30000);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    quillet::test::TDovecotServer server;
    server.AddUser("bench", "pw");
    for (int i = 1; i <= kMessages; ++i)
        server.Deliver("bench", MessageText(i));
    std::string why;
    if (!server.Start(why)) {
        std::fprintf(stderr, "Dovecot did not start: %s\n", why.c_str());
        return 1;
    }
    Server = &server;
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("Plain_Top50x20000", PlainTransfer)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1)
        ->Repetitions(3);
    benchmark::RegisterBenchmark("Check_First_and_Recheck_20000", FirstCheckAndRecheck)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1)
        ->Repetitions(3);
    benchmark::RegisterBenchmark("Program_Check_20000_Memory", ProgramMemory)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// A mailbox of 20,000 messages (50 body lines each) on a private Dovecot: the plain POP3
// transfer of every header (Connect, Login, TOP n 50 each, Quit), the first check that adds all
// of them to the mail list, and a single-account re-check that fetches and matches them all.
// The re-check beside the plain transfer shows the check's own work as a ratio. The list here
// is the model alone (no window); the resident memory after the first check is printed. Last,
// the real program checks the mailbox and its resident memory is read, now and at its peak.
#include "bench/bench_mailbox.h"
#include "check/check_cycle.h"
#include "mail/mail_message.h"
#include "mail/pop3_client.h"
#include "model/account.h"
#include "model/mails.h"
#include "settings/accounts_file.h"
#include "settings/ini_file.h"
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
#include <utility>

using namespace quillet;

namespace {

using quillet::bench::MessageText;
using quillet::bench::TListHost;

constexpr int kMessages = 20000;
constexpr int kTopLines = 50;
quillet::test::TDovecotServer* Server = nullptr;

// A figure of /proc/<Pid>/status in KiB: "VmRSS" the resident memory now, "VmHWM" its peak.
long StatusKiB(const std::string& Pid, const std::string& Field) {
    std::ifstream status("/proc/" + Pid + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with(Field + ":"))
            return std::stol(line.substr(Field.size() + 1));
    return 0;
}

long ResidentKiB() {
    return StatusKiB("self", "VmRSS");
}

// The bytes of the fetched lines that the list holds.
double TextBytes(const TMails& Mails) {
    double bytes = 0;
    for (int j = 0; j < Mails.Count(); ++j) {
        for (int i = 0; i < Mails[j].HeaderLineCount(); ++i)
            bytes += static_cast<double>(Mails[j].HeaderLine(i).size());
        for (int i = 0; i < Mails[j].BodyLineCount(); ++i)
            bytes += static_cast<double>(Mails[j].BodyLine(i).size());
    }
    return bytes;
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

// Fast: CAPA, PIPELINING and UIDL as Dovecot offers them; otherwise one command at a time and
// every header fetched again on the re-check.
void FirstCheckAndRecheck(benchmark::State& State, bool Fast) {
    for (auto _ : State) {
        TAccounts accounts;
        TMails mails;
        TListHost host(mails);
        TCheckCycle cycle(accounts, mails, host);
        cycle.UseFastChecks = Fast;
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
        State.counters["text_mib"] = TextBytes(mails) / 1048576.0;
        start = std::chrono::steady_clock::now();
        cycle.CheckOne(0);
        State.counters["recheck_s"] = Seconds(start);
    }
}

// The real program (this build's quillet, offscreen) checking the same mailbox on a settings
// folder of its own: its resident memory once the check has logged out, with every mail listed,
// and the most it held on the way (VmHWM).
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
        // The last session that logged out (its line names the session): a new one is the program's.
        const auto loggedOut = [] {
            const std::string log = Server->Log();
            const std::size_t at = log.rfind("Logged out");
            if (at == std::string::npos)
                return std::string();
            const std::size_t start = log.rfind('\n', at);
            return log.substr(start == std::string::npos ? 0 : start,
                              at - (start == std::string::npos ? 0 : start));
        };
        const std::string before = loggedOut();
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
        while (loggedOut() == before && Seconds(start) < 60 && quillet.state() == QProcess::Running)
            QThread::msleep(100);
        State.counters["check_s"] = Seconds(start);
        if (loggedOut() == before) {
            const std::string log = Server->Log();
            std::fprintf(stderr, "the program's check did not log out; Dovecot's log ends:\n%s\n",
                         log.substr(log.size() > 3000 ? log.size() - 3000 : 0).c_str());
        }
        // The check goes on after the log-out (the last rows, the status, the new-mail notice):
        // the memory is read once it has stayed the same for a second.
        const std::string pid = std::to_string(quillet.processId());
        for (long last = -1, now = StatusKiB(pid, "VmRSS"); now != last && Seconds(start) < 90;) {
            QThread::msleep(1000);
            last = std::exchange(now, StatusKiB(pid, "VmRSS"));
        }
        State.counters["rss_mib"] = static_cast<double>(StatusKiB(pid, "VmRSS")) / 1024.0;
        State.counters["peak_rss_mib"] = static_cast<double>(StatusKiB(pid, "VmHWM")) / 1024.0;
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
    benchmark::RegisterBenchmark("Check_First_and_Recheck_20000_OneByOne", FirstCheckAndRecheck, false)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1)
        ->Repetitions(3);
    benchmark::RegisterBenchmark("Check_First_and_Recheck_20000_Fast", FirstCheckAndRecheck, true)
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

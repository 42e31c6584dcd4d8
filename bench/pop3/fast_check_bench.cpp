// Mailbox checks over a distant server: a private Dovecot on 127.0.0.1 holding 1000 and 5000
// messages, reached directly and through a delay proxy with a 50 ms round trip. For each size and
// link: Quillet one command at a time (Connect, Login, FetchTop n 50 for every message, Quit),
// Quillet with the TOP commands pipelined (FetchTopRange), and Python's poplib one command at a
// time (timed inside the script, so interpreter start-up is not counted). Then a re-check through
// the check cycle at 50 ms of an account whose 1000 mails are already known, after one new message
// arrived: with the fast paths (only unknown unique ids fetched) and without them.
//
// The serial runs of 5000 messages at 50 ms take more than four minutes each; they run only with
// --long, and the table shows an estimate from the 1000-message run otherwise.
// Needs root (for Dovecot) and /usr/bin/python3.
#include "bench/bench_mailbox.h"
#include "check/check_cycle.h"
#include "mail/mail_message.h"
#include "mail/pop3_client.h"
#include "model/account.h"
#include "model/mails.h"
#include "tests/support/delay_proxy.h"
#include "tests/support/dovecot_server.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

using namespace quillet;
using namespace std::chrono_literals;

namespace {

using quillet::bench::MessageText;
using quillet::bench::TListHost;

constexpr int kTopLines = 50;
constexpr int kRecheckMessages = 1000;
constexpr std::chrono::milliseconds kOneWayDelay = 25ms; // a 50 ms round trip
constexpr int kPoplibTimeOutMs = 400000;

quillet::test::TDovecotServer* Server = nullptr;
quillet::test::TDelayProxy* Proxy = nullptr;

// The mailbox user that holds Messages messages.
std::string UserOf(int Messages) {
    std::string user = "m";
    user += std::to_string(Messages);
    return user;
}

// Direct to Dovecot at 0 ms, through the proxy otherwise.
std::uint16_t PortFor(int RoundTripMs) {
    return RoundTripMs == 0 ? Server->Port() : Proxy->Port();
}

double Seconds(const std::chrono::steady_clock::time_point& Since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - Since).count();
}

// Connect, Login, TOP n 50 for every message, Quit; the TOPs one by one, or pipelined.
void QuilletCheck(benchmark::State& State, int Messages, int RoundTripMs, bool Pipelined) {
    TMailMessage msg;
    for (auto _ : State) {
        TPop3Client pop;
        pop.Host = "127.0.0.1";
        pop.Port = PortFor(RoundTripMs);
        pop.UserName = UserOf(Messages);
        pop.Password = "pw";
        pop.MailMessage = &msg;
        pop.UseFastChecks = Pipelined;
        if (!pop.Connect() || !pop.Login() || pop.MessageCount() != Messages) {
            State.SkipWithError("log-in failed");
            return;
        }
        int fetched = 0;
        if (Pipelined) {
            if (!pop.Pipelining()) {
                State.SkipWithError("the server did not offer PIPELINING");
                return;
            }
            pop.FetchTopRange(1, Messages, kTopLines, [&fetched](std::int32_t, bool Ok, const std::string&) {
                fetched += Ok ? 1 : 0;
                return true;
            });
        } else {
            for (int n = 1; n <= Messages; ++n)
                fetched += pop.FetchTop(n, kTopLines) ? 1 : 0;
        }
        if (fetched != Messages) {
            State.SkipWithError("a TOP failed");
            return;
        }
        if (!pop.Quit()) {
            State.SkipWithError("QUIT failed");
            return;
        }
    }
}

const char* const kPoplibScript = R"(
import poplib, sys, time
port, user, count, lines = int(sys.argv[1]), sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
t = time.perf_counter()
p = poplib.POP3('127.0.0.1', port)
p.user(user)
p.pass_('pw')
p.list()
for n in range(1, count + 1):
    p.top(n, lines)
p.quit()
print(time.perf_counter() - t)
)";

// The script runs while this thread's event loop keeps running, so the proxy relays for it.
void PoplibCheck(benchmark::State& State, int Messages, int RoundTripMs) {
    for (auto _ : State) {
        QProcess python;
        QEventLoop loop;
        QTimer timeOut;
        timeOut.setSingleShot(true);
        QObject::connect(&timeOut, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(&python, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&python, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
        python.start("/usr/bin/python3", {"-c", kPoplibScript, QString::number(PortFor(RoundTripMs)),
                                          QString::fromStdString(UserOf(Messages)), QString::number(Messages),
                                          QString::number(kTopLines)});
        timeOut.start(kPoplibTimeOutMs);
        loop.exec();
        if (python.state() != QProcess::NotRunning) {
            python.kill();
            python.waitForFinished(5000);
            State.SkipWithError("poplib script timed out");
            return;
        }
        if (python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
            State.SkipWithError("poplib script failed");
            return;
        }
        State.SetIterationTime(python.readAllStandardOutput().trimmed().toDouble());
    }
}

// One account at 50 ms whose 1000 mails a first check learns; one new message arrives and a
// second check runs with the fast paths; another arrives and a third runs without them.
void Recheck(benchmark::State& State) {
    int delivered = kRecheckMessages;
    for (auto _ : State) {
        TAccounts accounts;
        TMails mails;
        TListHost host(mails);
        TCheckCycle cycle(accounts, mails, host);
        auto account = std::make_unique<TAccount>();
        account->Label = "Recheck";
        account->Host = "127.0.0.1";
        account->SetPort(Proxy->Port());
        account->UserName = "recheck";
        account->Password = "pw";
        accounts.Add(std::move(account));
        cycle.UseFastChecks = true;
        auto start = std::chrono::steady_clock::now();
        cycle.CheckOne(0);
        State.counters["first_s"] = Seconds(start);
        if (mails.Count() != delivered) {
            State.SkipWithError("the first check did not list every mail");
            return;
        }
        Server->Deliver("recheck", MessageText(++delivered));
        std::int64_t sent = Proxy->BytesToTarget();
        start = std::chrono::steady_clock::now();
        cycle.CheckOne(0);
        State.counters["fast_s"] = Seconds(start);
        State.counters["fast_command_bytes"] = static_cast<double>(Proxy->BytesToTarget() - sent);
        State.counters["fast_mails"] = mails.Count();

        cycle.UseFastChecks = false;
        Server->Deliver("recheck", MessageText(++delivered));
        sent = Proxy->BytesToTarget();
        start = std::chrono::steady_clock::now();
        cycle.CheckOne(0);
        State.counters["serial_s"] = Seconds(start);
        State.counters["serial_command_bytes"] = static_cast<double>(Proxy->BytesToTarget() - sent);
        State.counters["serial_mails"] = mails.Count();
    }
}

std::string Name(const char* Kind, int Messages, int RoundTripMs) {
    return std::string(Kind) + "/" + std::to_string(Messages) + "/" + std::to_string(RoundTripMs) + "ms";
}

// Keeps the median (or the only) time of every run, in seconds, and the counters of the last.
class TReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> Seconds;
    std::map<std::string, std::map<std::string, double>> Counters;
    void ReportRuns(const std::vector<Run>& Runs) override {
        for (const auto& run : Runs) {
            if (run.error_occurred || (run.run_type != Run::RT_Iteration && run.aggregate_name != "median"))
                continue;
            const std::string name = run.run_name.function_name;
            Seconds[name] = run.GetAdjustedRealTime() / 1000.0;
            for (const auto& [key, counter] : run.counters)
                Counters[name][key] = counter.value;
        }
        ConsoleReporter::ReportRuns(Runs);
    }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // --long is ours; the rest goes to the benchmark library.
    bool longRuns = false;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--long") == 0)
            longRuns = true;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;

    quillet::test::TDovecotServer server;
    for (const int messages : {1000, 5000})
        server.AddUser(UserOf(messages), "pw");
    server.AddUser("recheck", "pw");
    for (const int messages : {1000, 5000})
        for (int i = 1; i <= messages; ++i)
            server.Deliver(UserOf(messages), MessageText(i));
    for (int i = 1; i <= kRecheckMessages; ++i)
        server.Deliver("recheck", MessageText(i));
    std::string why;
    if (!server.Start(why)) {
        std::fprintf(stderr, "Dovecot did not start: %s\n", why.c_str());
        return 1;
    }
    Server = &server;
    quillet::test::TDelayProxy proxy(server.Port(), kOneWayDelay);
    if (!proxy.Listen()) {
        std::fprintf(stderr, "the delay proxy found no port\n");
        return 1;
    }
    Proxy = &proxy;
    const int roundTrip = static_cast<int>(2 * kOneWayDelay.count());

    benchmark::Initialize(&argc, argv);
    for (const int rtt : {0, roundTrip}) {
        for (const int messages : {1000, 5000}) {
            const bool slowSerial = rtt > 0 && messages > 1000;
            // Serial runs at 50 ms take a round trip per message: one repetition is enough.
            const int serialRepetitions = rtt > 0 ? 1 : 3;
            if (!slowSerial || longRuns) {
                benchmark::RegisterBenchmark(Name("serial", messages, rtt).c_str(), QuilletCheck, messages,
                                             rtt, false)
                    ->Unit(benchmark::kMillisecond)
                    ->UseRealTime()
                    ->Iterations(1)
                    ->Repetitions(serialRepetitions);
            }
            benchmark::RegisterBenchmark(Name("pipelined", messages, rtt).c_str(), QuilletCheck, messages,
                                         rtt, true)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->Iterations(1)
                ->Repetitions(3);
            if (!slowSerial || longRuns) {
                benchmark::RegisterBenchmark(Name("poplib", messages, rtt).c_str(), PoplibCheck, messages,
                                             rtt)
                    ->Unit(benchmark::kMillisecond)
                    ->UseManualTime()
                    ->Iterations(1)
                    ->Repetitions(serialRepetitions);
            }
        }
    }
    benchmark::RegisterBenchmark("recheck/1000+1/50ms", Recheck)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
    TReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    // The table: seconds per check, median of the repetitions.
    std::printf("\nLIST + TOP n %d of every message, seconds (e: estimated as 5 x the 1000-message run)\n",
                kTopLines);
    std::printf("%-9s %-7s %10s %10s %10s\n", "messages", "rtt", "serial", "pipelined", "poplib");
    for (const int rtt : {0, roundTrip}) {
        for (const int messages : {1000, 5000}) {
            std::printf("%-9d %-7s", messages, (std::to_string(rtt) + " ms").c_str());
            for (const char* kind : {"serial", "pipelined", "poplib"}) {
                const std::string name = Name(kind, messages, rtt);
                const std::string small = Name(kind, 1000, rtt);
                if (reporter.Seconds.count(name))
                    std::printf(" %10.3f", reporter.Seconds[name]);
                else if (messages == 5000 && reporter.Seconds.count(small))
                    std::printf(" %9.1fe", 5 * reporter.Seconds[small]);
                else
                    std::printf(" %10s", "-");
            }
            std::printf("\n");
        }
    }
    if (reporter.Counters.count("recheck/1000+1/50ms")) {
        auto& c = reporter.Counters["recheck/1000+1/50ms"];
        std::printf("\nRe-check at %d ms of %d known mails plus 1 new (first check %.3f s):\n", roundTrip,
                    kRecheckMessages, c["first_s"]);
        std::printf("  fast paths    %8.3f s, %6.0f command bytes, %4.0f mails listed (target < 0.5 s)\n",
                    c["fast_s"], c["fast_command_bytes"], c["fast_mails"]);
        std::printf("  one by one    %8.3f s, %6.0f command bytes, %4.0f mails listed\n", c["serial_s"],
                    c["serial_command_bytes"], c["serial_mails"]);
    } else {
        std::printf("\nRe-check: no result (see the error above)\n");
    }
    const std::string target = Name("pipelined", 1000, roundTrip);
    if (reporter.Seconds.count(target))
        std::printf("Pipelined, 1000 messages at %d ms: %.3f s (target < 2 s)\n", roundTrip,
                    reporter.Seconds[target]);
    return 0;
}

// Checks over a distant server: a private Dovecot on 127.0.0.1 reached through a delay proxy with
// a 50 ms round trip, the check cycle with the fast paths beside Python poplib references, all
// in one run against the same server:
//  - a first check of 1000 and of 5000 messages (LIST, UIDL, TOP n 50 of every message), beside
//    poplib logging in one command at a time and then writing all its TOP commands at once;
//  - a re-check of an account whose 1000 mails are known after one new message arrived, over
//    plain POP3 and over implicit TLS, beside poplib only counting the messages (CAPA, USER,
//    PASS, STAT, UIDL, QUIT one at a time).
// For each check the client's turns are counted by the proxy from what it relayed: the round
// trips the check waited for (the greeting's half round trip aside). The table at the end prints
// every figure beside its target.
// Needs root (for Dovecot), openssl (for the TLS certificate) and /usr/bin/python3.
#include "bench/bench_mailbox.h"
#include "check/check_cycle.h"
#include "mail/pop3_client.h"
#include "model/account.h"
#include "model/mails.h"
#include "tests/support/delay_proxy.h"
#include "tests/support/dovecot_server.h"
#include "tests/support/test_ca.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
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
constexpr int kPoplibTimeOutMs = 120000;

quillet::test::TDovecotServer* Server = nullptr;
quillet::test::TDelayProxy* PlainProxy = nullptr;
quillet::test::TDelayProxy* TlsProxy = nullptr;
quillet::test::TTestCa* Ca = nullptr;

// The mailbox user that holds Messages messages.
std::string UserOf(int Messages) {
    std::string user = "m";
    user += std::to_string(Messages);
    return user;
}

double Seconds(const std::chrono::steady_clock::time_point& Since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - Since).count();
}

// A check cycle with one account on User through the plain proxy, or the TLS one.
struct TOneAccount {
    TAccounts Accounts;
    TMails Mails;
    TListHost Host{Mails};
    TCheckCycle Cycle{Accounts, Mails, Host};
    TAccount* Account = nullptr;

    TOneAccount(const std::string& User, bool Tls) {
        auto account = std::make_unique<TAccount>();
        account->Label = User;
        account->Host = "127.0.0.1";
        account->SetPort(Tls ? TlsProxy->Port() : PlainProxy->Port());
        account->UserName = User;
        account->Password = "pw";
        if (Tls) {
            account->Security = TSecurity::Tls;
            account->Pop()->Conversation()->ExtraCaCertificates = {Ca->Certificate()};
        }
        Account = account.get();
        Accounts.Add(std::move(account));
        Cycle.UseFastChecks = true;
    }
};

// The first check of an account on a mailbox of Messages messages: every header fetched.
void FirstCheck(benchmark::State& State, int Messages) {
    for (auto _ : State) {
        TOneAccount one(UserOf(Messages), false);
        const int turns = PlainProxy->ClientTurns();
        const auto start = std::chrono::steady_clock::now();
        one.Cycle.CheckOne(0);
        State.SetIterationTime(Seconds(start));
        State.counters["turns"] = PlainProxy->ClientTurns() - turns;
        if (one.Mails.Count() != Messages) {
            State.SkipWithError("the first check did not list every mail");
            return;
        }
    }
}

// An account whose mails a first check learnt; one new message arrives and the re-check is timed.
void Recheck(benchmark::State& State, bool Tls) {
    const std::string user = Tls ? "rechecktls" : "recheck";
    quillet::test::TDelayProxy& proxy = Tls ? *TlsProxy : *PlainProxy;
    static std::map<std::string, int> deliveredTo;
    int& delivered = deliveredTo.try_emplace(user, kRecheckMessages).first->second;
    for (auto _ : State) {
        TOneAccount one(user, Tls);
        one.Cycle.CheckOne(0);
        if (one.Mails.Count() != delivered) {
            State.SkipWithError("the first check did not list every mail");
            return;
        }
        Server->Deliver(user, MessageText(++delivered));
        const int turns = proxy.ClientTurns();
        const std::int64_t sent = proxy.BytesToTarget();
        const auto start = std::chrono::steady_clock::now();
        one.Cycle.CheckOne(0);
        State.SetIterationTime(Seconds(start));
        State.counters["turns"] = proxy.ClientTurns() - turns;
        State.counters["command_bytes"] = static_cast<double>(proxy.BytesToTarget() - sent);
        State.counters["session_offered"] = one.Account->Pop()->Conversation()->TlsSessionOffered();
        if (one.Mails.Count() != delivered || !one.Account->LastFailure.empty()) {
            State.SkipWithError("the re-check did not list the new mail");
            return;
        }
    }
}

// The same re-check at the client's level, with QUIT in the write of the new message's TOP (as a
// check may do when no mail of the account is marked for deleting): the client of a first
// session (untimed) re-checks once one new message arrived. Each step's time is a counter.
void ClientRecheck(benchmark::State& State) {
    const std::string user = "recheckclient";
    static int delivered = kRecheckMessages;
    for (auto _ : State) {
        TPop3Client pop;
        pop.Host = "127.0.0.1";
        pop.Port = PlainProxy->Port();
        pop.UserName = user;
        pop.Password = "pw";
        pop.UseFastChecks = true;
        if (!pop.Connect() || !pop.Login() || !pop.Quit()) {
            State.SkipWithError("the first session failed");
            return;
        }
        Server->Deliver(user, MessageText(++delivered));
        const int turns = PlainProxy->ClientTurns();
        const auto start = std::chrono::steady_clock::now();
        auto step = start;
        const auto lap = [&step](benchmark::State& S, const char* Name) {
            const auto now = std::chrono::steady_clock::now();
            S.counters[Name] = std::chrono::duration<double, std::milli>(now - step).count();
            step = now;
        };
        bool ok = pop.Connect();
        lap(State, "connect_ms");
        ok = ok && pop.Login() && pop.MessageCount() == delivered && pop.HasUniqueIds();
        lap(State, "login_ms");
        int fetched = 0;
        ok = ok && pop.FetchTopsThenQuit(
                       {delivered}, kTopLines, [] { return true; },
                       [&fetched](std::int32_t, bool Ok, const std::string&) {
                           fetched += Ok ? 1 : 0;
                           return true;
                       });
        lap(State, "top_ms");
        ok = ok && pop.Quit();
        lap(State, "quit_ms");
        State.SetIterationTime(Seconds(start));
        State.counters["turns"] = PlainProxy->ClientTurns() - turns;
        if (!ok || fetched != 1) {
            State.SkipWithError("the re-check failed");
            return;
        }
    }
}

// "batched": a serial log-in, LIST, then every TOP command in one write and the replies read in
// turn. "count": CAPA, USER, PASS, STAT, UIDL and QUIT one at a time, as a checker that only
// counts messages does.
const char* const kPoplibScript = R"(
import poplib, sys, time
mode, port, user, count, lines = sys.argv[1], int(sys.argv[2]), sys.argv[3], int(sys.argv[4]), int(sys.argv[5])
t = time.perf_counter()
p = poplib.POP3('127.0.0.1', port)
if mode == 'batched':
    p.user(user)
    p.pass_('pw')
    p.list()
    p.sock.sendall(b''.join(b'TOP %d %d\r\n' % (n, lines) for n in range(1, count + 1)))
    for n in range(1, count + 1):
        p._getlongresp()
else:
    p.capa()
    p.user(user)
    p.pass_('pw')
    p.stat()
    p.uidl()
p.quit()
print(time.perf_counter() - t)
)";

// The script runs while this thread's event loop keeps running, so the proxy relays for it.
void Poplib(benchmark::State& State, const char* Mode, const std::string& User, int Messages) {
    for (auto _ : State) {
        QProcess python;
        QEventLoop loop;
        QTimer timeOut;
        timeOut.setSingleShot(true);
        QObject::connect(&timeOut, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(&python, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&python, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
        const int turns = PlainProxy->ClientTurns();
        python.start("/usr/bin/python3",
                     {"-c", kPoplibScript, Mode, QString::number(PlainProxy->Port()),
                      QString::fromStdString(User), QString::number(Messages), QString::number(kTopLines)});
        timeOut.start(kPoplibTimeOutMs);
        loop.exec();
        if (python.state() != QProcess::NotRunning) {
            python.kill();
            python.waitForFinished(5000);
            State.SkipWithError("poplib script timed out");
            return;
        }
        if (python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
            State.SkipWithError(
                ("poplib script failed: " + python.readAllStandardError().toStdString()).c_str());
            return;
        }
        State.SetIterationTime(python.readAllStandardOutput().trimmed().toDouble());
        State.counters["turns"] = PlainProxy->ClientTurns() - turns;
    }
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

void Register(const std::string& Name, int Repetitions, auto&& Function) {
    benchmark::RegisterBenchmark(Name.c_str(), std::forward<decltype(Function)>(Function))
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(Repetitions);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    quillet::test::TTestCa ca;
    if (!ca.Ok()) {
        std::fprintf(stderr, "openssl could not make the test CA\n");
        return 1;
    }
    Ca = &ca;
    const quillet::test::TServerCertificate certificate = ca.Issue("bench");

    quillet::test::TDovecotServer server;
    for (const int messages : {1000, 5000}) {
        server.AddUser(UserOf(messages), "pw");
        for (int i = 1; i <= messages; ++i)
            server.Deliver(UserOf(messages), MessageText(i));
    }
    for (const char* user : {"recheck", "rechecktls", "recheckclient"}) {
        server.AddUser(user, "pw");
        for (int i = 1; i <= kRecheckMessages; ++i)
            server.Deliver(user, MessageText(i));
    }
    server.EnableTls(certificate.CertPath, certificate.KeyPath);
    server.ShareLoginProcess(); // TLS sessions can be resumed, as on a server that keeps its ticket key
    std::string why;
    if (!server.Start(why)) {
        std::fprintf(stderr, "Dovecot did not start: %s\n", why.c_str());
        return 1;
    }
    Server = &server;
    quillet::test::TDelayProxy plainProxy(server.Port(), kOneWayDelay),
        tlsProxy(server.TlsPort(), kOneWayDelay);
    if (!plainProxy.Listen() || !tlsProxy.Listen()) {
        std::fprintf(stderr, "the delay proxy found no port\n");
        return 1;
    }
    PlainProxy = &plainProxy;
    TlsProxy = &tlsProxy;

    benchmark::Initialize(&argc, argv);
    for (const int messages : {1000, 5000}) {
        Register("first_check/" + std::to_string(messages), 3,
                 [messages](benchmark::State& State) { FirstCheck(State, messages); });
        Register("poplib_batched/" + std::to_string(messages), 3, [messages](benchmark::State& State) {
            Poplib(State, "batched", UserOf(messages), messages);
        });
    }
    Register("recheck/1000+1", 5, [](benchmark::State& State) { Recheck(State, false); });
    Register("recheck_tls/1000+1", 5, [](benchmark::State& State) { Recheck(State, true); });
    Register("recheck_client_then_quit/1000+1", 5, ClientRecheck);
    Register("poplib_count/1000", 5,
             [](benchmark::State& State) { Poplib(State, "count", "recheck", kRecheckMessages); });
    TReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    // The table: seconds per check (median of the repetitions) and the client's turns.
    const auto figure = [&reporter](const std::string& Name) {
        if (!reporter.Seconds.count(Name))
            return std::string("     -             ");
        char text[64];
        std::snprintf(text, sizeof text, "%6.3f s %3.0f turns", reporter.Seconds[Name],
                      reporter.Counters[Name]["turns"]);
        return std::string(text);
    };
    std::printf("\nAt a %d ms round trip through the delay proxy, the same Dovecot, this run:\n",
                static_cast<int>(2 * kOneWayDelay.count()));
    std::printf("%-38s %-19s %-8s %s\n", "check", "Quillet", "target", "reference");
    std::printf("%-38s %-19s %-8s %s (poplib, serial log-in, TOPs at once)\n",
                "first check, 1000 headers (TOP n 50)", figure("first_check/1000").c_str(), "0.40 s",
                figure("poplib_batched/1000").c_str());
    std::printf("%-38s %-19s %-8s %s (poplib, serial log-in, TOPs at once)\n",
                "first check, 5000 headers (TOP n 50)", figure("first_check/5000").c_str(), "1.0 s",
                figure("poplib_batched/5000").c_str());
    std::printf("%-38s %-19s %-8s %s (poplib, CAPA USER PASS STAT UIDL QUIT)\n", "re-check, 1 new among 1000",
                figure("recheck/1000+1").c_str(), "0.20 s", figure("poplib_count/1000").c_str());
    std::printf("%-38s %-19s %-8s (the client alone, QUIT with the TOP)\n", "re-check, 1 new among 1000",
                figure("recheck_client_then_quit/1000+1").c_str(), "");
    std::printf("%-38s %-19s %-8s TLS session offered again: %s\n", "re-check over implicit TLS",
                figure("recheck_tls/1000+1").c_str(), "0.30 s",
                reporter.Counters["recheck_tls/1000+1"]["session_offered"] > 0 ? "yes" : "no");
    return 0;
}

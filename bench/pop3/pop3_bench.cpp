// One mailbox check against a private Dovecot on 127.0.0.1: Connect, Login (USER, PASS, LIST),
// FetchTop n 50 for each of 1000 messages, Quit; then the same work by a plain Python poplib
// script, timed inside the script so that interpreter start-up is not counted. Prints both
// times and their ratio, and the CPU time that the client uses while waiting 5 s on a silent
// server.
#include "mail/mail_message.h"
#include "mail/pop3_client.h"
#include "tests/support/dovecot_server.h"
#include "tests/support/scripted_pop3_server.h"
#include "tests/support/test_ca.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <sys/resource.h>

using namespace quillet;

namespace {

constexpr int kMessages = 1000;
constexpr int kTopLines = 50;
quillet::test::TDovecotServer* Server = nullptr;

std::string MessageText(int I) {
    std::string text = "From: Sender " + std::to_string(I) + " <s" + std::to_string(I) +
                       "@example.com>\nTo: bench@example.com\nSubject: Benchmark message " +
                       std::to_string(I) + "\nDate: Mon, 7 Dec 2026 10:00:00 +0100\nMessage-ID: <" +
                       std::to_string(I) + "@quillet.bench>\n\n";
    for (int n = 1; n <= 80; ++n)
        text +=
            "This is line " + std::to_string(n) + " of the body of an ordinary message, about 70 bytes.\n";
    return text;
}

quillet::test::TTestCa* Ca = nullptr;
std::string CaPath;

void QuilletCheck(benchmark::State& State, bool Tls) {
    TMailMessage msg;
    for (auto _ : State) {
        TPop3Client pop;
        pop.Host = "127.0.0.1";
        pop.Port = Tls ? Server->TlsPort() : Server->Port();
        if (Tls) {
            pop.Security = TSecurity::Tls;
            pop.Conversation()->ExtraCaCertificates = {Ca->Certificate()};
        }
        pop.UserName = "bench";
        pop.Password = "pw";
        pop.MailMessage = &msg;
        if (!pop.Connect() || !pop.Login() || pop.MessageCount() != kMessages) {
            State.SkipWithError("log-in failed");
            return;
        }
        for (int n = 1; n <= kMessages; ++n) {
            if (!pop.FetchTop(n, kTopLines)) {
                State.SkipWithError("TOP failed");
                return;
            }
        }
        if (!pop.Quit()) {
            State.SkipWithError("QUIT failed");
            return;
        }
    }
}

const char* const kPoplibScript = R"(
import poplib, ssl, sys, time
port, count, lines, ca = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
t = time.perf_counter()
if ca:
    p = poplib.POP3_SSL('127.0.0.1', port, context=ssl.create_default_context(cafile=ca))
else:
    p = poplib.POP3('127.0.0.1', port)
p.user('bench')
p.pass_('pw')
p.list()
for n in range(1, count + 1):
    p.top(n, lines)
p.quit()
print(time.perf_counter() - t)
)";

void PoplibCheck(benchmark::State& State, bool Tls) {
    for (auto _ : State) {
        QProcess python;
        python.start("/usr/bin/python3",
                     {"-c", kPoplibScript, QString::number(Tls ? Server->TlsPort() : Server->Port()),
                      QString::number(kMessages), QString::number(kTopLines),
                      Tls ? QString::fromStdString(CaPath) : QString()});
        if (!python.waitForFinished(120000) || python.exitCode() != 0) {
            State.SkipWithError("poplib script failed");
            return;
        }
        State.SetIterationTime(python.readAllStandardOutput().trimmed().toDouble());
    }
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The greeting comes after 5 s of silence; the process's CPU time over that wait is reported.
void SilentWaitCpu(benchmark::State& State) {
    for (auto _ : State) {
        quillet::test::TScriptedPop3Server silent;
        silent.Silence(5000).Send("+OK late greeting\r\n");
        silent.Listen();
        TPop3Client pop;
        pop.Host = "127.0.0.1";
        pop.Port = silent.Port();
        pop.SetTimeOut(10);
        const double before = CpuSeconds();
        const bool ok = pop.Connect();
        State.counters["cpu_ms"] = (CpuSeconds() - before) * 1000.0;
        if (!ok)
            State.SkipWithError("no greeting");
        pop.Abort();
    }
}

class Reporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> Seconds;
    std::map<std::string, double> CpuMs;
    void ReportRuns(const std::vector<Run>& Runs) override {
        for (const auto& run : Runs) {
            if (run.run_type != Run::RT_Iteration && run.aggregate_name != "median")
                continue;
            const std::string name = run.run_name.function_name;
            Seconds[name] = run.GetAdjustedRealTime() / 1000.0;
            if (auto c = run.counters.find("cpu_ms"); c != run.counters.end())
                CpuMs[name] = c->second;
        }
        ConsoleReporter::ReportRuns(Runs);
    }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    quillet::test::TTestCa ca;
    Ca = &ca;
    const quillet::test::TServerCertificate cert = ca.Issue("bench");
    CaPath = QDir::temp().filePath("quillet-bench-ca.pem").toStdString();
    {
        QFile out(QString::fromStdString(CaPath));
        if (out.open(QIODevice::WriteOnly))
            out.write(ca.Certificate().toPem());
    }
    quillet::test::TDovecotServer server;
    server.EnableTls(cert.CertPath, cert.KeyPath);
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
    benchmark::RegisterBenchmark("Quillet_Connect_Login_Top50x1000_Quit", QuilletCheck, false)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1)
        ->Repetitions(9);
    benchmark::RegisterBenchmark("Poplib_Connect_Login_Top50x1000_Quit", PoplibCheck, false)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(9);
    benchmark::RegisterBenchmark("Quillet_Tls_Connect_Login_Top50x1000_Quit", QuilletCheck, true)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1)
        ->Repetitions(3);
    benchmark::RegisterBenchmark("PoplibSsl_Connect_Login_Top50x1000_Quit", PoplibCheck, true)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(3);
    benchmark::RegisterBenchmark("Quillet_SilentWait5s", SilentWaitCpu)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double quillet = reporter.Seconds["Quillet_Connect_Login_Top50x1000_Quit"];
    const double poplib = reporter.Seconds["Poplib_Connect_Login_Top50x1000_Quit"];
    if (quillet > 0 && poplib > 0)
        std::printf("\nmedian Quillet %.1f ms, poplib %.1f ms, ratio Quillet/poplib %.2f (target <= 1.20)\n",
                    quillet * 1000, poplib * 1000, quillet / poplib);
    if (reporter.CpuMs.count("Quillet_SilentWait5s"))
        std::printf("CPU used while waiting 5 s on a silent server: %.1f ms (target < 50 ms)\n",
                    reporter.CpuMs["Quillet_SilentWait5s"]);
    return 0;
}

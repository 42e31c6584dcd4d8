// The mail list with 20,000 mails: a check that adds them one by one while a tree view shows the
// sorted list (each add followed by one pass of the event loop, as between two server replies),
// the longest single add with its event-loop pass (the longest stall of the window), finding every row by
// identity, and sorting the whole list again on a header click.
#include "app/mail_list_model.h"
#include "app/mail_sort_model.h"

#include <QApplication>
#include <QTreeView>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <random>

namespace {

using namespace quillet;
using Clock = std::chrono::steady_clock;

constexpr int kMails = 20000;

std::unique_ptr<TMail> BenchMail(int N, std::mt19937& Random) {
    static const char* const words[] = {"Invoice", "Re:",     "Meeting", "report",
                                        "Fwd:",    "holiday", "build",   "draft"};
    auto m = std::make_unique<TMail>();
    m->UniqueID = "ID" + std::to_string(N) + "-" + std::to_string(Random());
    m->Account = N % 3 == 0 ? "Work" : "Home";
    m->FromName = std::string("Sender ") + std::to_string(Random() % 500);
    m->FromAddr = "sender" + std::to_string(Random() % 500) + "@example.org";
    m->ToName = {"Me"};
    m->ToAddr = {"me@example.org"};
    m->Subject = std::string(words[Random() % 8]) + " " + words[Random() % 8] + " " + std::to_string(N);
    m->MailSize = static_cast<std::int32_t>(Random() % 2000000);
    m->DateSent = EncodeDateTime(2020 + static_cast<int>(Random() % 5), 1 + static_cast<int>(Random() % 12),
                                 1 + static_cast<int>(Random() % 28), static_cast<int>(Random() % 24),
                                 static_cast<int>(Random() % 60), static_cast<int>(Random() % 60));
    m->DateRcvd = NowDateTime();
    return m;
}

struct TShownList {
    TMails Mails;
    TMailListModel List{Mails};
    TMailSortModel Sorted{List};
    QTreeView View;
    TShownList() {
        View.setUniformRowHeights(true);
        View.setRootIsDecorated(false);
        View.setModel(&Sorted);
        View.resize(900, 600);
        View.show();
        QApplication::processEvents();
    }
};

// Argument 1: the view is shown and paints; 0: hidden (the list work alone).
void BM_AddMails(benchmark::State& State) {
    double longest = 0;
    for (auto _ : State) {
        State.PauseTiming();
        std::mt19937 random(1);
        auto shown = std::make_unique<TShownList>();
        if (State.range(0) == 0)
            shown->View.hide();
        std::vector<std::unique_ptr<TMail>> incoming;
        for (int i = 0; i < kMails; ++i)
            incoming.push_back(BenchMail(i, random));
        State.ResumeTiming();
        for (auto& mail : incoming) {
            const auto start = Clock::now();
            shown->List.AddMail(std::move(mail));
            QApplication::processEvents();
            longest =
                std::max(longest, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
        shown->List.ShowPendingRows();
        QApplication::processEvents();
        State.PauseTiming();
        if (shown->Sorted.rowCount() != kMails)
            State.SkipWithError("rows missing");
        shown.reset();
        State.ResumeTiming();
    }
    State.counters["longest_add_ms"] = longest;
}
BENCHMARK(BM_AddMails)->Arg(1)->Arg(0)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_FindRowOfEveryMail(benchmark::State& State) {
    std::mt19937 random(2);
    TShownList shown;
    for (int i = 0; i < kMails; ++i)
        shown.List.AddMail(BenchMail(i, random));
    shown.List.ShowPendingRows();
    std::vector<std::string> ids;
    for (int i = 0; i < kMails; ++i)
        ids.push_back(shown.Mails[i].UniqueID);
    for (auto _ : State)
        for (const auto& id : ids)
            benchmark::DoNotOptimize(shown.Sorted.FindRow(id));
    State.SetItemsProcessed(State.iterations() * kMails);
}
BENCHMARK(BM_FindRowOfEveryMail)->Unit(benchmark::kMillisecond);

// A header click on Subject and on Date sent: the one time the whole list is sorted again.
void BM_SortWholeList(benchmark::State& State) {
    std::mt19937 random(3);
    TShownList shown;
    for (int i = 0; i < kMails; ++i)
        shown.List.AddMail(BenchMail(i, random));
    shown.List.ShowPendingRows();
    QApplication::processEvents();
    bool flip = false;
    for (auto _ : State) {
        shown.Sorted.SetSort(static_cast<int>(State.range(0)), flip = !flip);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_SortWholeList)->Arg(colSubject)->Arg(colDateSent)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// A check of a mailbox of N messages: for every fetched header, look the identity up and add
// the mail when it is new, then (next check) find every one of them again and drop a few.
#include "model/mails.h"

#include <benchmark/benchmark.h>

#include <cstdio>

using namespace quillet;

namespace {

std::string IdOf(int i) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%08X%08X", i * 2654435761u, i);
    return buf;
}

void FirstCheckAddsAll(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TMails mails;
        for (int i = 0; i < n; ++i) {
            const std::string id = IdOf(i);
            if (mails.FindMail(id) < 0) {
                auto m = std::make_unique<TMail>();
                m->UniqueID = id;
                mails.Add(std::move(m));
            }
        }
        benchmark::DoNotOptimize(mails.Count());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void NextCheckFindsAllAndSweeps(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    TMails mails;
    for (int i = 0; i < n; ++i) {
        auto m = std::make_unique<TMail>();
        m->UniqueID = IdOf(i);
        mails.Add(std::move(m));
    }
    for (auto _ : state) {
        long found = 0;
        for (int i = 0; i < n; ++i)
            found += mails.FindMail(IdOf(i));
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void SweepHundredGoneMails(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        TMails mails;
        for (int i = 0; i < n; ++i) {
            auto m = std::make_unique<TMail>();
            m->UniqueID = IdOf(i);
            mails.Add(std::move(m));
        }
        state.ResumeTiming();
        for (int k = 0; k < 100; ++k)
            mails.Delete(mails.Count() / 2);
        benchmark::DoNotOptimize(mails.Count());
    }
}

} // namespace

BENCHMARK(FirstCheckAddsAll)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(NextCheckFindsAllAndSweeps)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(SweepHundredGoneMails)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

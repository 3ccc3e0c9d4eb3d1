#include "core/EventStore.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kEntries = 100000;
const std::uint32_t kFirstDay = Date(1, 1950).dayNumber;

void FillStore(EventStore& store) {
    for (int i = 0; i < kEntries; ++i)
        store.Append(Date(kFirstDay + static_cast<std::uint32_t>(i)), "10:00 Note of the day");
}

void BM_Fill100k(benchmark::State& state) {
    for (auto _ : state) {
        EventStore store;
        FillStore(store);
        benchmark::DoNotOptimize(store.GetCount());
    }
}
BENCHMARK(BM_Fill100k)->Unit(benchmark::kMillisecond);

void BM_LookupEveryDayOf100k(benchmark::State& state) {
    EventStore store;
    FillStore(store);
    for (auto _ : state) {
        std::size_t total = 0;
        for (int i = 0; i < kEntries; ++i)
            total += store.Lookup(Date(kFirstDay + static_cast<std::uint32_t>(i))).size();
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_LookupEveryDayOf100k)->Unit(benchmark::kMillisecond);

void BM_SetDayTextOf100k(benchmark::State& state) {
    EventStore store;
    FillStore(store);
    for (auto _ : state) {
        for (int i = 0; i < kEntries; ++i)
            store.SetDayText(Date(kFirstDay + static_cast<std::uint32_t>(i)), "changed");
    }
}
BENCHMARK(BM_SetDayTextOf100k)->Unit(benchmark::kMillisecond);

void BM_Clear100k(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        EventStore store;
        FillStore(store);
        state.ResumeTiming();
        store.RemoveAll();
    }
}
BENCHMARK(BM_Clear100k)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

#include "core/DiaryMerge.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr int kDays = 36525; // 100 years of daily notes
const std::uint32_t kFirstDay = Date(1, 1950).dayNumber;

Date Day(int i) {
    return Date(kFirstDay + static_cast<std::uint32_t>(i));
}

// The diary as last saved, and a copy of it with `changed` every nth day.
EventStore Diary(const std::string& changed = "", int every = 0, int offset = 0) {
    EventStore store;
    for (int i = 0; i < kDays; ++i) {
        const std::string note =
            "10:00 Note of the day " + std::to_string(i) + "\r\n12:30 Lunch with Anna";
        store.Append(Day(i), every > 0 && i % every == offset ? note + changed : note);
    }
    return store;
}

void Run(benchmark::State& state, const EventStore& ours, const EventStore& theirs, int conflicts) {
    const EventStore base = Diary();
    for (auto _ : state) {
        const DiaryMerge result = MergeDiaries(base, ours, theirs);
        if (static_cast<int>(result.conflictDays.size()) != conflicts)
            state.SkipWithError("unexpected conflicts");
        benchmark::DoNotOptimize(result.merged.GetCount());
    }
}

// A few days changed on each computer, one of them on both.
void BM_MergeFewChangesOnEachSide(benchmark::State& state) {
    EventStore ours = Diary(" here", 7000, 0);
    EventStore theirs = Diary(" there", 7000, 0);
    for (int i = 1; i <= 5; ++i) {
        ours.SetDayText(Day(i * 6000 + 1), "changed here");
        theirs.SetDayText(Day(i * 6000 + 2), "changed there");
    }
    theirs.Append(Day(kDays), "a new day there");
    Run(state, ours, theirs, 6);
}
BENCHMARK(BM_MergeFewChangesOnEachSide)->Unit(benchmark::kMillisecond);

void BM_MergeEveryDayChangedOnBothSides(benchmark::State& state) {
    Run(state, Diary(" here", 1), Diary(" there", 1), kDays);
}
BENCHMARK(BM_MergeEveryDayChangedOnBothSides)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

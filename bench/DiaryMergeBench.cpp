#include "core/DiaryMerge.h"
#include "storage/Document.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
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
    const DayFingerprints base(Diary());
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

void WriteFile(const std::string& path, const EventStore& diary, std::chrono::seconds later) {
    std::ofstream(path, std::ios::binary) << FormatCalendar(diary);
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() + later);
}

// What the user waits for at activation: the changed file read and merged
// into the unsaved diary against the base the document kept.
void BM_DocumentTakesInAChangedFile(benchmark::State& state) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "orvik-merge-bench.csv").string();
    EventStore theirs = Diary(" there", 7000, 0);
    theirs.SetDayText(Day(12001), "changed there");
    Document document(Windows1252ToUtf8);
    for (auto _ : state) {
        state.PauseTiming();
        WriteFile(path, Diary(), std::chrono::seconds(0));
        document.Load(path);
        document.SetDayText(Day(0), "10:00 changed here");
        document.SetDayText(Day(6001), "changed here");
        WriteFile(path, theirs, std::chrono::seconds(100));
        state.ResumeTiming();
        const Document::OutsideChange change = document.TakeOutsideChange();
        if (change.kind != Document::OutsideChange::Kind::Merged || change.conflictDays.size() != 1)
            state.SkipWithError("not merged as expected");
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_DocumentTakesInAChangedFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

#include "core/Find.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

namespace {

constexpr int kEntries = 100000;
const std::uint32_t kFirstDay = Date(1, 1950).dayNumber;
const Date kLastDay(kFirstDay + kEntries - 1);

// A diary of 100,000 days entered in random order, as a file read back from
// years of use can be; only the last day holds "needle".
EventStore MakeDiary(const std::string& note, const std::string& lunch) {
    std::vector<std::uint32_t> days(kEntries);
    for (int i = 0; i < kEntries; ++i)
        days[static_cast<std::size_t>(i)] = kFirstDay + static_cast<std::uint32_t>(i);
    std::shuffle(days.begin(), days.end(), std::mt19937(1));
    EventStore diary;
    for (const std::uint32_t day : days)
        diary.Append(Date(day), "10:00 " + note + std::to_string(day) + "\r\n12:30 " + lunch);
    diary.SetDayText(kLastDay, "09:00 Look for the needle");
    return diary;
}

const EventStore& Diary() {
    static const EventStore store = MakeDiary("Note of the day ", "Lunch with Anna");
    return store;
}

// The same in Cyrillic: every character outside ASCII.
const EventStore& CyrillicDiary() {
    static const EventStore store = MakeDiary("Заметка дня ", "Обед с Анной");
    return store;
}

void Run(benchmark::State& state, const std::optional<Date>& from, const FindRequest& request,
         bool expectFound, const EventStore& store = Diary()) {
    Finder finder;
    finder.FindNext(store, from, request); // sorts the days once
    for (auto _ : state) {
        const FindResult result = finder.FindNext(store, from, request);
        if (result.found != expectFound)
            state.SkipWithError("unexpected result");
        benchmark::DoNotOptimize(result);
    }
}

// The next hit is in the same day: the usual Find Next.
void BM_HitNextToTheCurrentDay(benchmark::State& state) {
    Run(state, Date(kFirstDay + kEntries / 2), FindRequest{"lunch", true, false, false}, true);
}
BENCHMARK(BM_HitNextToTheCurrentDay)->Unit(benchmark::kMicrosecond);

// The only hit is on the last day: every day is searched first.
void BM_HitOnTheLastDayFromTheFirst(benchmark::State& state) {
    Run(state, Date(kFirstDay), FindRequest{"needle", true, false, false}, true);
}
BENCHMARK(BM_HitOnTheLastDayFromTheFirst)->Unit(benchmark::kMillisecond);

void BM_FullMissDown(benchmark::State& state) {
    Run(state, Date(kFirstDay), FindRequest{"dentist", true, false, false}, false);
}
BENCHMARK(BM_FullMissDown)->Unit(benchmark::kMillisecond);

void BM_FullMissDownMatchCase(benchmark::State& state) {
    Run(state, Date(kFirstDay), FindRequest{"Dentist", true, true, false}, false);
}
BENCHMARK(BM_FullMissDownMatchCase)->Unit(benchmark::kMillisecond);

void BM_FullMissUpWholeWord(benchmark::State& state) {
    Run(state, kLastDay, FindRequest{"note of the d", false, false, true}, false);
}
BENCHMARK(BM_FullMissUpWholeWord)->Unit(benchmark::kMillisecond);

void BM_FullMissDownCyrillic(benchmark::State& state) {
    Run(state, Date(kFirstDay), FindRequest{"ДАНТИСТ", true, false, false}, false, CyrillicDiary());
}
BENCHMARK(BM_FullMissDownCyrillic)->Unit(benchmark::kMillisecond);

// A changed store: the first Find Next after it sorts the 100,000 days again.
void BM_HitAfterAChangeOfTheStore(benchmark::State& state) {
    EventStore store = Diary();
    Finder finder;
    const Date today(kFirstDay + kEntries / 2);
    int edit = 0;
    for (auto _ : state) {
        state.PauseTiming();
        store.SetDayText(today, "10:00 Lunch " + std::to_string(++edit));
        state.ResumeTiming();
        const FindResult result = finder.FindNext(store, today, FindRequest{"lunch", true});
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_HitAfterAChangeOfTheStore)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

#include "core/DiarySearch.h"
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

// Search All while the user types, on a diary of 100 years, every day with
// three lines, a dentist once a month and one needle. The list shows the hits.
const EventStore& Century() {
    static const EventStore store = [] {
        EventStore diary;
        const Date first = Date(1, 1926);
        for (std::uint32_t day = first.dayNumber; day < first.dayNumber + 36525; ++day) {
            std::string text = "10:00 Note of the day " + std::to_string(day) +
                               "\r\n12:30 Lunch with Anna\r\nCall Bob, 555-0199";
            if (day % 30 == 0)
                text += "\r\n16:00 Dentist";
            diary.Append(Date(day), text);
        }
        diary.SetDayText(Date(first.dayNumber + 20000), "09:00 Look for the needle");
        return diary;
    }();
    return store;
}

void SearchAllKeystroke(benchmark::State& state, const FindRequest& request, bool editFirst) {
    EventStore store = Century();
    DiarySearch search;
    search.FindAll(store, request); // sorts the days once
    const Date today(store.GetDateAt(store.GetCount() / 2));
    int edit = 0;
    std::size_t hits = 0;
    for (auto _ : state) {
        if (editFirst) {
            state.PauseTiming();
            store.SetDayText(today, "10:00 Lunch " + std::to_string(++edit));
            state.ResumeTiming();
        }
        const std::vector<SearchHit> found = search.FindAll(store, request);
        hits = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    // A label, not a counter: the CSV report wants the same counters in every row.
    state.SetLabel(std::to_string(hits) + " hits");
}

void BM_SearchAllOneHit(benchmark::State& state) {
    SearchAllKeystroke(state, FindRequest{"needle"}, false);
}
BENCHMARK(BM_SearchAllOneHit)->Unit(benchmark::kMillisecond);

void BM_SearchAllMonthly(benchmark::State& state) {
    SearchAllKeystroke(state, FindRequest{"den"}, false);
}
BENCHMARK(BM_SearchAllMonthly)->Unit(benchmark::kMillisecond);

void BM_SearchAllEveryDayWholeWord(benchmark::State& state) {
    SearchAllKeystroke(state, FindRequest{"ann", true, false, true}, false);
}
BENCHMARK(BM_SearchAllEveryDayWholeWord)->Unit(benchmark::kMillisecond);

void BM_SearchAllEveryDay(benchmark::State& state) {
    SearchAllKeystroke(state, FindRequest{"lunch"}, false);
}
BENCHMARK(BM_SearchAllEveryDay)->Unit(benchmark::kMillisecond);

// A cell was edited since the last search: the days are sorted again first.
void BM_SearchAllAfterAnEdit(benchmark::State& state) {
    SearchAllKeystroke(state, FindRequest{"den"}, true);
}
BENCHMARK(BM_SearchAllAfterAnEdit)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

#include "core/MonthGrid.h"
#include "storage/CalendarFile.h"
#include "storage/SafeSave.h"
#include "storage/XmlExport.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kEntries = 100000;

// About 100 bytes a day, with the quotes, separators and line breaks that
// the writer and reader have to treat: some 10 MB for the whole store.
EventStore BigStore() {
    EventStore store;
    Date day(1, 1950);
    for (int i = 0; i < kEntries; ++i, day.SubtractDays(-1)) {
        store.Append(day, "09:30 Meet \"Anna\"; bring the slides, the notes\r\n"
                          "11:00 Dentist\r\nCall the garage about the car " +
                              std::to_string(i));
    }
    return store;
}

void BM_FormatCalendar(benchmark::State& state) {
    const EventStore store = BigStore();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string file = FormatCalendar(store);
        bytes = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_FormatCalendar)->Unit(benchmark::kMillisecond);

void BM_ParseCalendar(benchmark::State& state) {
    const std::string file = FormatCalendar(BigStore());
    for (auto _ : state) {
        EventStore store;
        ParseCalendar(file, store);
        benchmark::DoNotOptimize(store.GetCount());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_ParseCalendar)->Unit(benchmark::kMillisecond);

// The whole way through the disk: a safe save and a load of the file.
void BM_SaveAndLoadFile(benchmark::State& state) {
    const EventStore store = BigStore();
    const std::string path = "calendar_file_bench.csv";
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string error;
        const std::string file = FormatCalendar(store);
        bytes = file.size();
        if (!SaveFileSafely(path, file, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        EventStore loaded;
        if (ReadCalendarFile(path, loaded, Windows1252ToUtf8) != LoadOutcome::Loaded ||
            loaded.GetCount() != kEntries) {
            state.SkipWithError("the file did not load");
            break;
        }
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_SaveAndLoadFile)->Unit(benchmark::kMillisecond);

// A month of full days, the most an export ever has to write.
void BM_ExportXml(benchmark::State& state) {
    MonthExport month;
    month.displayedDate = Date(3, 2026);
    month.today = month.displayedDate;
    month.xslTemplate = "OrvikCalendar.xsl";
    Date day = FirstGridDate(month.displayedDate, false);
    for (int cell = 0; cell < kGridCells; ++cell, day.SubtractDays(-1))
        month.days.push_back(
            {day, "09:30 Meet <Anna> & Bob\r\n11:00 Dentist\r\n" + std::string(200, 'x')});
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string document = ExportXml(month);
        bytes = document.size();
        benchmark::DoNotOptimize(document.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_ExportXml)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

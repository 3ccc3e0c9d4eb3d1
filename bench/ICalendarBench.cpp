#include "core/EventImport.h"
#include "core/TimeRules.h"
#include "storage/ICalendarReader.h"
#include "storage/ICalendarWriter.h"

#include <benchmark/benchmark.h>

namespace {

// A hundred years of daily notes, three events a day among other lines.
EventStore HundredYears() {
    EventStore store;
    Date day(1, 1950);
    for (int i = 0; i < 36525; ++i, day.SubtractDays(-1)) {
        store.Append(day, "09:30 Meet Anna; bring the slides, the notes\r\n11:00 Dentist\r\n"
                          "Call the garage about the car " +
                              std::to_string(i) +
                              "\r\n18:45 Dinner at Gr\xC3\xBC\xC3\x9F"
                              "e");
    }
    return store;
}

ICalendarExport ExportAll(const EventStore& store) {
    return WriteICalendar(store, {Date(1, 1950), Date(1, 2100), 0, "bench"}, CLibraryTimeRules());
}

void BM_ExportHundredYears(benchmark::State& state) {
    const EventStore store = HundredYears();
    for (auto _ : state)
        benchmark::DoNotOptimize(ExportAll(store).eventCount);
}
BENCHMARK(BM_ExportHundredYears)->Unit(benchmark::kMillisecond);

void BM_ReadHundredYears(benchmark::State& state) {
    const std::string file = ExportAll(HundredYears()).bytes;
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadICalendar(file, CLibraryTimeRules()).events.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_ReadHundredYears)->Unit(benchmark::kMillisecond);

// Importing the export into the diary it came from: every line already there.
void BM_ImportIntoHundredYears(benchmark::State& state) {
    const EventStore store = HundredYears();
    const ICalendarImport read = ReadICalendar(ExportAll(store).bytes, CLibraryTimeRules());
    for (auto _ : state)
        benchmark::DoNotOptimize(ImportEvents(store, read.events).skipped);
}
BENCHMARK(BM_ImportIntoHundredYears)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

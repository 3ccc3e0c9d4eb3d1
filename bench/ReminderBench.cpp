#include "core/Now.h"
#include "core/Reminders.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kEntries = 100000;
const std::uint32_t kFirstDay = Date(1, 1950).dayNumber;

// A diary of 100,000 days with a few events each; "now" in its middle.
const EventStore& Diary() {
    static const EventStore store = [] {
        EventStore diary;
        for (int i = 0; i < kEntries; ++i) {
            diary.Append(Date(kFirstDay + static_cast<std::uint32_t>(i)),
                         "08:15 Run\r\n09:00 Team meeting\r\n12:30 Lunch with Anna\r\n"
                         "Call the garage\r\n18:45 Choir");
        }
        return diary;
    }();
    return store;
}

const std::time_t kMiddle = FromLocalTime(Date(kFirstDay + kEntries / 2), 12, 0);

// The timer's check: ten seconds since the last one.
void BM_Tick(benchmark::State& state) {
    ReminderEngine engine;
    std::time_t now = kMiddle;
    for (auto _ : state) {
        now += 10;
        PinNow(now);
        benchmark::DoNotOptimize(engine.CheckReminders(Diary(), {1, 2, 30}));
    }
    UnpinNow();
}
BENCHMARK(BM_Tick)->Unit(benchmark::kMicrosecond);

// The first check after a sleep of a day or more.
void BM_CatchUpADay(benchmark::State& state) {
    PinNow(kMiddle);
    for (auto _ : state) {
        ReminderEngine engine;
        engine.ResumeAfter(kMiddle - 3 * 24 * 60 * 60);
        benchmark::DoNotOptimize(engine.CheckReminders(Diary(), {1, 2, 30}));
    }
    UnpinNow();
}
BENCHMARK(BM_CatchUpADay)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

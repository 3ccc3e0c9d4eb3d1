#include "core/TimeRules.h"
#include "storage/CalendarSync.h"

#include <benchmark/benchmark.h>

#include <map>

namespace {

// A calendar in memory that answers at once: what is measured is the
// sync's own work, not the network's.
class MemoryServer : public CalendarServer {
  public:
    std::map<std::string, Resource> items;
    int version = 0;

    bool List(const std::string&, Listing& listing, ServerFailure&) override {
        listing = Listing{{}, {}, "", true};
        for (const auto& [href, item] : items)
            listing.items.push_back({href, item.etag});
        return true;
    }
    bool Fetch(const std::vector<std::string>& hrefs, std::vector<Resource>& resources,
               ServerFailure&) override {
        for (const std::string& href : hrefs)
            resources.push_back(items.at(href));
        return true;
    }
    bool Put(const std::string& href, const std::string& data, const std::string&, Written& written,
             ServerFailure&) override {
        items[href] = Resource{href, "\"" + std::to_string(++version) + "\"", data};
        written = Written{href, items[href].etag};
        return true;
    }
    bool Delete(const std::string& href, const std::string&, ServerFailure&) override {
        items.erase(href);
        return true;
    }
    std::string HrefFor(const std::string& uid) const override { return "/cal/" + uid + ".ics"; }
};

// A hundred years of daily notes, three events a day among other lines,
// reaching past the year synced.
EventStore HundredYears() {
    EventStore store;
    Date day(1, 1931);
    for (int i = 0; i < 36525; ++i, day.SubtractDays(-1))
        store.Append(day, "09:30 Meet Anna\r\n11:00 Dentist\r\nCall the garage " +
                              std::to_string(i) + "\r\n18:45 Dinner");
    return store;
}

const CLibraryTimeRules kLocal;

SyncArgs Args() {
    return SyncArgs{"bench", Date(12, 2026), Date(12, 2027), 0, &kLocal, 15};
}

struct Synced {
    EventStore diary = HundredYears();
    MemoryServer server;
    SyncState state;
    Synced() {
        SyncCalendar(server, state, diary, Args(), [](const SyncState&) {});
    }
};

void BM_SyncFirst(benchmark::State& state) {
    const EventStore diary = HundredYears();
    for (auto _ : state) {
        MemoryServer server;
        SyncState kept;
        benchmark::DoNotOptimize(
            SyncCalendar(server, kept, diary, Args(), [](const SyncState&) {}).sent);
    }
}
BENCHMARK(BM_SyncFirst)->Unit(benchmark::kMillisecond);

void BM_SyncNothingChanged(benchmark::State& state) {
    Synced synced;
    for (auto _ : state) {
        SyncState kept = synced.state;
        benchmark::DoNotOptimize(
            SyncCalendar(synced.server, kept, synced.diary, Args(), [](const SyncState&) {}).sent);
    }
}
BENCHMARK(BM_SyncNothingChanged)->Unit(benchmark::kMillisecond);

// One event changed on the server: fetched, and the day's text changed as
// the window's thread does it.
void BM_SyncOneChange(benchmark::State& state) {
    Synced synced;
    CalendarServer::Resource& changed = synced.server.items.begin()->second;
    const std::string before = changed.data;
    std::string after = before;
    after.replace(after.find("SUMMARY:") + 8, 4, "Moved");
    for (auto _ : state) {
        SyncState kept = synced.state;
        changed.data = after;
        changed.etag = "\"changed\"";
        const SyncOutcome outcome =
            SyncCalendar(synced.server, kept, synced.diary, Args(), [](const SyncState&) {});
        benchmark::DoNotOptimize(ApplyDiaryChanges(synced.diary, outcome.changes).size());
        changed.data = before;
    }
}
BENCHMARK(BM_SyncOneChange)->Unit(benchmark::kMillisecond);

// What the window's thread does with one change: the day's new text.
void BM_ApplyOneChange(benchmark::State& state) {
    const EventStore diary = HundredYears();
    const std::vector<DiaryChange> changes{
        {DiaryChange::Kind::Replace, Date("6/15/2027"), "11:00 Dentist", "11:30 Dentist"}};
    for (auto _ : state)
        benchmark::DoNotOptimize(ApplyDiaryChanges(diary, changes).size());
}
BENCHMARK(BM_ApplyOneChange)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

#include "core/EventImport.h"

#include "core/DayText.h"

#include <algorithm>
#include <cstdio>
#include <unordered_set>

namespace {

// All-day events sort before every time of the day.
int MinuteOfDay(const ImportedEvent& event) {
    return event.time ? event.time->hour * 60 + event.time->minute : -1;
}

} // namespace

std::string EventLine(const ImportedEvent& event) {
    std::string summary;
    for (std::size_t k = 0; k < event.summary.size(); ++k) {
        const char c = event.summary[k];
        if (c == '\r' && k + 1 < event.summary.size() && event.summary[k + 1] == '\n')
            continue; // CR LF is one break
        summary += (c == '\r' || c == '\n') ? ' ' : c;
    }
    if (!event.time)
        return summary;
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d", event.time->hour, event.time->minute);
    return summary.empty() ? time : std::string(time) + " " + summary;
}

DayTextImport AddEventLines(const std::string& dayText, const std::vector<ImportedEvent>& events) {
    std::vector<const ImportedEvent*> inOrder;
    for (const ImportedEvent& event : events)
        inOrder.push_back(&event);
    std::stable_sort(inOrder.begin(), inOrder.end(),
                     [](const ImportedEvent* a, const ImportedEvent* b) {
                         return MinuteOfDay(*a) < MinuteOfDay(*b);
                     });
    const std::vector<std::string> existing = SplitLines(dayText);
    std::unordered_set<std::string> held(existing.begin(), existing.end());
    DayTextImport result{dayText};
    for (const ImportedEvent* event : inOrder) {
        std::string line = EventLine(*event);
        if (line.empty() || !held.insert(line).second) {
            ++result.skipped;
            continue;
        }
        // A text that ends in a line break has an empty last line to fill.
        const bool endsInBreak =
            result.text.size() >= 2 && result.text.compare(result.text.size() - 2, 2, "\r\n") == 0;
        if (!result.text.empty() && !endsInBreak)
            result.text += "\r\n";
        result.text += line;
        ++result.added;
    }
    return result;
}

EventsImport ImportEvents(const EventStore& store, const std::vector<ImportedEvent>& events) {
    std::vector<ImportedEvent> byDay = events;
    std::stable_sort(byDay.begin(), byDay.end(),
                     [](const ImportedEvent& a, const ImportedEvent& b) {
                         return a.date.dayNumber < b.date.dayNumber;
                     });
    EventsImport result;
    for (std::size_t first = 0; first < byDay.size();) {
        std::size_t end = first;
        while (end < byDay.size() && byDay[end].date == byDay[first].date)
            ++end;
        const std::vector<ImportedEvent> ofDay(byDay.begin() + first, byDay.begin() + end);
        DayTextImport day = AddEventLines(store.Lookup(byDay[first].date), ofDay);
        result.added += day.added;
        result.skipped += day.skipped;
        if (day.added > 0)
            result.changes.push_back(DayChange{byDay[first].date, std::move(day.text)});
        first = end;
    }
    return result;
}

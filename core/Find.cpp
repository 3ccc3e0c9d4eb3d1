#include "core/Find.h"

#include <algorithm>
#include <numeric>

FindResult Finder::FindNext(const EventStore& store, const std::optional<Date>& currentDay,
                            const FindRequest& request) {
    // The dialog offers Find Next only with some text; an empty one finds nothing.
    if (request.text.empty())
        return FindResult{};
    SortDays(store);
    StartAt(currentDay, request.down);
    // Turning round right after a hit goes on from the hit's other side; the
    // offset, counted in the text as searched the other way, would find the
    // same hit again (Find Previous right after Find Next).
    if (request.down != lastHit.down && lastHit.index == searchIndex && searchIndex >= 0 &&
        searchIndex < static_cast<int>(days.size())) {
        const int size = static_cast<int>(
            store.GetTextAt(days[static_cast<std::size_t>(searchIndex)].storeIndex).size());
        searchOffset = request.down ? lastHit.start + 1 : size - lastHit.start - lastHit.length + 1;
    }
    lastHit = LastHit{};
    lastHit.down = request.down;

    const SearchPattern pattern = MakeSearchPattern(request);
    const int count = static_cast<int>(days.size());
    const int step = request.down ? 1 : -1;
    int i = searchIndex;
    for (; i >= 0 && i < count; i += step) {
        const int storeIndex = days[static_cast<std::size_t>(i)].storeIndex;
        const std::string& text = store.GetTextAt(storeIndex);
        const std::optional<Occurrence> occurrence = FindOccurrence(text, pattern, searchOffset);
        // Whole word looks at the first occurrence only; when that one is
        // part of a longer word, the day has no hit.
        if (occurrence && (!request.wholeWord || StandsAlone(text, *occurrence))) {
            const std::size_t searchedAt =
                request.down ? occurrence->start : text.size() - occurrence->end;
            searchIndex = i;
            // One past the start, so that overlapping occurrences are found too.
            searchOffset = static_cast<int>(searchedAt) + 1;
            FindResult hit;
            hit.found = true;
            hit.day = store.GetDateAt(storeIndex);
            hit.start = static_cast<int>(occurrence->start);
            hit.length = static_cast<int>(occurrence->end - occurrence->start);
            hit.caretAtStart = !request.down;
            lastHit = LastHit{i, hit.start, hit.length, request.down};
            return hit;
        }
        searchOffset = 0;
    }
    // Ran off one end: the next search in this direction begins at the other.
    searchIndex = i < 0 ? count - 1 : 0;
    return FindResult{};
}

// A radix sort, two passes of 16 bits: four times faster than std::sort on
// 100,000 days, and stable, so the first entry of a day stays first.
void Finder::SortByDay(std::vector<Day>& days) {
    std::vector<Day> sorted(days.size());
    std::vector<std::size_t> start(0x10001);
    for (const int shift : {0, 16}) {
        std::fill(start.begin(), start.end(), 0);
        for (const Day& day : days)
            ++start[((day.dayNumber >> shift) & 0xffff) + 1];
        std::partial_sum(start.begin(), start.end(), start.begin());
        for (const Day& day : days)
            sorted[start[(day.dayNumber >> shift) & 0xffff]++] = day;
        days.swap(sorted);
    }
}

void Finder::SortDays(const EventStore& store) {
    if (store.Version() == sortedVersion)
        return;
    days.clear();
    days.reserve(static_cast<std::size_t>(store.GetCount()));
    for (int index = 0; index < store.GetCount(); ++index)
        days.push_back(Day{store.GetDateAt(index).dayNumber, index});
    SortByDay(days);
    // A day with several entries is searched once, in its first entry's text:
    // the one the view shows. Listing it twice would bring its first hits back
    // after its last one, and Find Next would go round in that day forever.
    days.erase(std::unique(days.begin(), days.end(),
                           [](const Day& a, const Day& b) { return a.dayNumber == b.dayNumber; }),
               days.end());
    sortedVersion = store.Version();
}

void Finder::StartAt(const std::optional<Date>& currentDay, bool down) {
    const int count = static_cast<int>(days.size());
    if (currentDay) {
        const auto at = std::lower_bound(
            days.begin(), days.end(), currentDay->dayNumber,
            [](const Day& day, std::uint32_t dayNumber) { return day.dayNumber < dayNumber; });
        const int position = static_cast<int>(at - days.begin());
        if (at != days.end() && at->dayNumber == currentDay->dayNumber) {
            searchIndex = position;
            return;
        }
        // A day without text: begin at the start of the nearest day with text
        // in the direction of the search, or run off the end at once.
        searchIndex = down ? position : position - 1;
        searchOffset = 0;
        return;
    }
    // A position left beyond the end by a store that has since shrunk
    // (another document) begins again at the first or the last day.
    if (searchIndex < 0 || searchIndex >= count) {
        searchIndex = down ? 0 : count - 1;
        searchOffset = 0;
    }
}

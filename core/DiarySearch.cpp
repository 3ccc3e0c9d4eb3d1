#include "core/DiarySearch.h"

#include <algorithm>
#include <utility>

namespace {

// The line of `text` around byte `at`: from the break before it to the break after it.
std::pair<std::size_t, std::size_t> LineAround(const std::string& text, std::size_t at) {
    const std::size_t before = at == 0 ? std::string::npos : text.rfind('\n', at - 1);
    const std::size_t start = before == std::string::npos ? 0 : before + 1;
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos)
        end = text.size();
    return {start, end};
}

// The line as shown: the CR of its CR LF dropped.
std::string LineText(const std::string& text, std::size_t start, std::size_t end) {
    if (end > start && text[end - 1] == '\r')
        --end;
    return text.substr(start, end - start);
}

} // namespace

std::vector<SearchHit> DiarySearch::FindAll(const EventStore& store, const FindRequest& request) {
    std::vector<SearchHit> hits;
    if (request.text.empty())
        return hits;
    SortDays(store);
    FindRequest down = request;
    down.down = true;
    const SearchPattern pattern = MakeSearchPattern(down);
    for (const int index : days) {
        const std::string& text = store.GetTextAt(index);
        std::size_t from = 0;
        while (from < text.size()) {
            const std::optional<Occurrence> occurrence =
                FindOccurrence(text, pattern, static_cast<int>(from));
            if (!occurrence)
                break;
            if (request.wholeWord && !StandsAlone(text, *occurrence)) {
                // One past the start: a later match in the line may stand alone.
                from = occurrence->start + 1;
                continue;
            }
            const std::pair<std::size_t, std::size_t> line = LineAround(text, occurrence->start);
            hits.push_back(SearchHit{store.GetDateAt(index), static_cast<int>(occurrence->start),
                                     static_cast<int>(occurrence->end - occurrence->start),
                                     LineText(text, line.first, line.second)});
            from = line.second + 1; // one row per line
        }
    }
    return hits;
}

void DiarySearch::SortDays(const EventStore& store) {
    if (store.Version() == sortedVersion)
        return;
    days.clear();
    for (int index = 0; index < store.GetCount(); ++index) {
        if (store.FindIndex(store.GetDateAt(index)) == index)
            days.push_back(index);
    }
    std::sort(days.begin(), days.end(), [&store](int a, int b) {
        return store.GetDateAt(a).dayNumber < store.GetDateAt(b).dayNumber;
    });
    sortedVersion = store.Version();
}

std::vector<std::size_t> RowOrder(const std::vector<SearchHit>& hits, bool newestFirst) {
    std::vector<std::size_t> rows;
    rows.reserve(hits.size());
    if (!newestFirst) {
        for (std::size_t hit = 0; hit < hits.size(); ++hit)
            rows.push_back(hit);
        return rows;
    }
    for (std::size_t end = hits.size(); end > 0;) {
        std::size_t begin = end - 1;
        while (begin > 0 && hits[begin - 1].day == hits[end - 1].day)
            --begin;
        for (std::size_t hit = begin; hit < end; ++hit)
            rows.push_back(hit);
        end = begin;
    }
    return rows;
}

#include "core/EventStore.h"

#include <new>

namespace {
const std::string kEmptyText;
}

void EventStore::RemoveAll() {
    // Swapping with empty containers really releases the memory.
    std::vector<Date>().swap(dates);
    std::vector<std::string>().swap(texts);
    firstIndexOfDay.Clear();
    ++version;
}

void EventStore::ReplaceWith(EventStore&& other) {
    const std::uint64_t next = version + 1;
    dates = std::move(other.dates);
    texts = std::move(other.texts);
    firstIndexOfDay = std::move(other.firstIndexOfDay);
    version = next;
    other.RemoveAll();
}

int EventStore::FindIndex(const Date& date) const {
    return firstIndexOfDay.Find(date.dayNumber);
}

const std::string& EventStore::Lookup(const Date& date) const {
    const int index = FindIndex(date);
    return index < 0 ? kEmptyText : GetTextAt(index);
}

bool EventStore::Append(const Date& date, const std::string& text) {
    const std::size_t before = dates.size();
    try {
        dates.push_back(date);
        texts.push_back(text);
        firstIndexOfDay.Add(dates.back().dayNumber, GetCount() - 1);
        ++version;
        return true;
    } catch (const std::bad_alloc&) {
        // Undo whatever got in, so both arrays keep the same length.
        dates.erase(dates.begin() + static_cast<std::ptrdiff_t>(before), dates.end());
        texts.erase(texts.begin() + static_cast<std::ptrdiff_t>(before), texts.end());
        return false;
    }
}

void EventStore::SetDayText(const Date& date, const std::string& text) {
    const int index = FindIndex(date);
    if (index < 0) {
        if (!text.empty())
            Append(date, text);
        return;
    }
    const std::size_t slot = static_cast<std::size_t>(index);
    const Date copy(date);
    Date& stored = dates[slot];
    // Cells write their text back on every focus change and month switch;
    // most of those writes change nothing and must not count as changes.
    if (texts[slot] == text && stored.dayNumber == copy.dayNumber && stored.year == copy.year &&
        stored.month == copy.month && stored.day == copy.day)
        return;
    stored = copy;
    texts[slot] = text;
    ++version;
    // The copy recomputes the day number from the fields; only dates whose
    // fields have wrapped can come out as another day.
    if (stored.dayNumber != date.dayNumber)
        RebuildIndex();
}

void EventStore::RebuildIndex() {
    firstIndexOfDay.Clear();
    for (int index = 0; index < GetCount(); ++index)
        firstIndexOfDay.Add(GetDateAt(index).dayNumber, index);
}

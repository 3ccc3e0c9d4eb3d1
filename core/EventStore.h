#pragma once

#include "core/Date.h"
#include "core/DayIndex.h"

#include <cassert>
#include <cstdint>
#include <string>
#include <vector>

// The diary in memory: (date, day text) entries in insertion order. Several
// entries may share a day; only the first of them is ever found, but all are
// kept and written. Entries are never removed one by one.
class EventStore {
  public:
    void RemoveAll();
    int GetCount() const { return static_cast<int>(dates.size()); }
    // 0 <= index < GetCount() is the caller's duty.
    const Date& GetDateAt(int index) const {
        assert(index >= 0 && index < GetCount());
        return dates[static_cast<std::size_t>(index)];
    }
    const std::string& GetTextAt(int index) const {
        assert(index >= 0 && index < GetCount());
        return texts[static_cast<std::size_t>(index)];
    }
    // The index of the first entry of that day, or -1.
    int FindIndex(const Date& date) const;
    // The text of the first entry of that day, or the empty text.
    const std::string& Lookup(const Date& date) const;
    // Adds at the end without searching; false (and nothing added) when out of memory.
    bool Append(const Date& date, const std::string& text);
    // Replaces the first entry of the day (also with an empty text), or
    // appends when the day has none and the text is not empty.
    void SetDayText(const Date& date, const std::string& text);
    // Takes the entries of `other` in place of its own, counting as a change.
    void ReplaceWith(EventStore&& other);
    // Goes up with every change of the entries (not with a SetDayText that
    // changes nothing), so whatever is built from the store can tell it is stale.
    std::uint64_t Version() const { return version; }

  private:
    void RebuildIndex();

    std::vector<Date> dates;
    std::vector<std::string> texts;
    // So that lookups never scan the store.
    DayIndex firstIndexOfDay;
    std::uint64_t version = 0;
};

#pragma once

#include "core/Date.h"
#include "core/EventStore.h"
#include "core/TextSearch.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct FindResult {
    bool found = false;
    Date day; // the day of the hit
    // The hit in the day's text, in bytes of its UTF-8: the view converts
    // them for the edit control. The length is the hit's own, which may
    // differ from the find text's when case differs.
    int start = 0;
    int length = 0;
    // An upward hit puts the caret at the start of the selection.
    bool caretAtStart = false;
    int Anchor() const { return caretAtStart ? start + length : start; }
    int Caret() const { return caretAtStart ? start : start + length; }
};

// Find Next over the whole diary, day by day in date order, and where the next
// search begins. Use one Finder with one store: it keeps the days of that store
// sorted and sorts them again only after the store has changed.
class Finder {
  public:
    // currentDay is the day of the focused cell, if any: the search begins
    // there (or, when that day has no text, at the nearest day with text in
    // the direction of the search) instead of at the remembered position.
    // Not found means "Not Found!": the caller then forgets its current cell,
    // and the next search in the same direction begins again at the first
    // day (down) or the last (up).
    FindResult FindNext(const EventStore& store, const std::optional<Date>& currentDay,
                        const FindRequest& request);

    // The position: the index of a day in date order, and the byte offset in
    // its text as searched (reversed for an upward search).
    int SearchIndex() const { return searchIndex; }
    int SearchOffset() const { return searchOffset; }

  private:
    struct Day {
        std::uint32_t dayNumber;
        int storeIndex; // of the first entry of the day, the one whose text counts
    };

    static void SortByDay(std::vector<Day>& days);
    void SortDays(const EventStore& store);
    void StartAt(const std::optional<Date>& currentDay, bool down);

    std::vector<Day> days;
    std::uint64_t sortedVersion = 0; // an empty store at version 0 needs no sorting
    int searchIndex = 0;
    int searchOffset = 0;
    // The hit of the last search, if it had one, in the text itself.
    struct LastHit {
        int index = -1; // in days
        int start = 0;
        int length = 0;
        bool down = true;
    } lastHit;
};

#pragma once

#include "core/Date.h"
#include "core/EventStore.h"
#include "core/TextSearch.h"

#include <cstdint>
#include <string>
#include <vector>

// A line of the diary that holds the find text.
struct SearchHit {
    Date day;
    // The match in the day's text, in bytes of its UTF-8, as Find gives it.
    int start = 0;
    int length = 0;
    std::string line; // the whole line, without its line break
};

// The hit shown in each row of a list of hits (oldest first as FindAll gives
// them): as they are, or the newest day first with each day's lines still in
// their order.
std::vector<std::size_t> RowOrder(const std::vector<SearchHit>& hits, bool newestFirst);

// Search All: every line of the whole diary that holds the text, by the
// rules of Find (case folding, whole words). Use one DiarySearch with one
// store: it keeps the days in date order and sorts them again only after the
// store has changed, so that a search while the user types scans the texts only.
class DiarySearch {
  public:
    // Oldest day first, a day's lines in their order; one hit per line, at
    // its first match (with wholeWord, its first match that stands alone).
    // The request's direction is not looked at. Of several entries for one
    // day only the first counts, as in Find.
    std::vector<SearchHit> FindAll(const EventStore& store, const FindRequest& request);

  private:
    void SortDays(const EventStore& store);

    std::vector<int> days;           // store indexes of the first entry of each day, in date order
    std::uint64_t sortedVersion = 0; // an empty store at version 0 needs no sorting
};

#pragma once

#include "core/Date.h"
#include "core/EventStore.h"

#include <cstdint>
#include <string>
#include <vector>

// The line between our text and the other copy's in a day changed on both sides.
extern const char* const kOtherCopySeparator;

// The base of a merge: each day's text (that of its first entry) kept only
// as two unrelated 64-bit hashes, about a sixth of the text's memory. A
// merge only asks whether a side still has the base's text, and a changed
// text with both hashes equal is not to be expected (some 2^-128).
class DayFingerprints {
  public:
    DayFingerprints() = default; // an empty diary
    explicit DayFingerprints(const EventStore& diary);
    // True when the base's text of the day is `text`; a day without entry
    // has the empty text.
    bool HasText(const Date& day, const std::string& text) const;
    bool HasDays() const { return !days.empty(); }

  private:
    struct Day {
        std::uint32_t dayNumber;
        std::uint64_t first, second;
    };
    std::vector<Day> days; // by day number; days with an empty text are left out
};

struct DiaryMerge {
    // Ours with the changes applied: our entries in their order, later
    // duplicates of a day untouched, days new from the other copy appended
    // in date order.
    EventStore merged;
    // Days changed only in the other copy, whose text (or emptiness) was taken.
    int daysFromOtherCopy = 0;
    // Days changed on both sides to different texts, in date order.
    std::vector<Date> conflictDays;
};

// Merges, day by day, the changes from base to ours and from base to theirs.
// A day's text is that of its first entry; a day without entry has the empty
// text. A conflict keeps ours, the separator line and theirs, joined by CR LF;
// when one side emptied the day, the text of the other side is all there is to
// keep, so it stands alone (and the day is still reported as a conflict).
// Throws std::bad_alloc rather than return a merge that lost a day.
DiaryMerge MergeDiaries(const DayFingerprints& base, const EventStore& ours,
                        const EventStore& theirs);

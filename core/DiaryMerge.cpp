#include "core/DiaryMerge.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string>

const char* const kOtherCopySeparator = "----- from the other copy -----";

namespace {

std::string ConflictText(const std::string& ours, const std::string& theirs) {
    if (ours.empty())
        return theirs;
    if (theirs.empty())
        return ours;
    return ours + "\r\n" + kOtherCopySeparator + "\r\n" + theirs;
}

// The day's new text, or nothing when ours stands; the outcome goes into the result.
std::optional<std::string> MergeDay(const Date& day, const std::string& base,
                                    const std::string& ours, const std::string& theirs,
                                    DiaryMerge& result) {
    if (ours == theirs || theirs == base)
        return std::nullopt;
    if (ours == base) {
        ++result.daysFromOtherCopy;
        return theirs;
    }
    result.conflictDays.push_back(day);
    return ConflictText(ours, theirs);
}

bool IsFirstOfItsDay(const EventStore& store, int index) {
    return store.FindIndex(store.GetDateAt(index)) == index;
}

} // namespace

DiaryMerge MergeDiaries(const EventStore& base, const EventStore& ours, const EventStore& theirs) {
    DiaryMerge result;
    result.merged = ours;
    EventStore& merged = result.merged;

    for (int index = 0; index < ours.GetCount(); ++index) {
        if (!IsFirstOfItsDay(ours, index))
            continue;
        const Date& day = ours.GetDateAt(index);
        const std::optional<std::string> text =
            MergeDay(day, base.Lookup(day), ours.GetTextAt(index), theirs.Lookup(day), result);
        if (text)
            merged.SetDayText(day, *text);
    }

    // Days with an entry only in the other copy: ours is empty there.
    std::vector<int> newDays; // indexes into theirs
    for (int index = 0; index < theirs.GetCount(); ++index) {
        const Date& day = theirs.GetDateAt(index);
        if (!IsFirstOfItsDay(theirs, index) || ours.FindIndex(day) >= 0)
            continue;
        if (MergeDay(day, base.Lookup(day), std::string(), theirs.GetTextAt(index), result))
            newDays.push_back(index);
    }
    std::sort(newDays.begin(), newDays.end(), [&theirs](int a, int b) {
        return theirs.GetDateAt(a).dayNumber < theirs.GetDateAt(b).dayNumber;
    });
    for (const int index : newDays) {
        // Append reports running out of memory instead of throwing; a merge
        // that went on without the day would lose the other copy's text.
        if (!merged.Append(theirs.GetDateAt(index), theirs.GetTextAt(index)))
            throw std::bad_alloc();
    }

    std::sort(result.conflictDays.begin(), result.conflictDays.end());
    return result;
}

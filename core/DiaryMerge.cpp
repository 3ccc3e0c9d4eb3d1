#include "core/DiaryMerge.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>
#include <optional>
#include <string>
#include <string_view>

const char* const kOtherCopySeparator = "----- from the other copy -----";

namespace {

// A second hash beside the library's, eight bytes a step: a hundred-year
// diary is fingerprinted at every load.
std::uint64_t WordHash(const std::string& text) {
    const std::uint64_t prime = 0x9E3779B97F4A7C15ull;
    std::uint64_t hash = 14695981039346656037ull ^ text.size();
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + at, 8);
        hash = (hash ^ word) * prime;
        hash ^= hash >> 29;
    }
    std::uint64_t rest = 0;
    std::memcpy(&rest, text.data() + at, text.size() - at);
    hash = (hash ^ rest) * prime;
    return hash ^ (hash >> 32);
}

bool IsFirstOfItsDay(const EventStore& store, int index) {
    return store.FindIndex(store.GetDateAt(index)) == index;
}

std::string ConflictText(const std::string& ours, const std::string& theirs) {
    if (ours.empty())
        return theirs;
    if (theirs.empty())
        return ours;
    return ours + "\r\n" + kOtherCopySeparator + "\r\n" + theirs;
}

// The day's new text, or nothing when ours stands; the outcome goes into the result.
std::optional<std::string> MergeDay(const Date& day, const DayFingerprints& base,
                                    const std::string& ours, const std::string& theirs,
                                    DiaryMerge& result) {
    if (ours == theirs || base.HasText(day, theirs))
        return std::nullopt;
    if (base.HasText(day, ours)) {
        ++result.daysFromOtherCopy;
        return theirs;
    }
    result.conflictDays.push_back(day);
    return ConflictText(ours, theirs);
}

} // namespace

DayFingerprints::DayFingerprints(const EventStore& diary) {
    days.reserve(static_cast<std::size_t>(diary.GetCount()));
    for (int index = 0; index < diary.GetCount(); ++index) {
        const std::string& text = diary.GetTextAt(index);
        if (!text.empty() && IsFirstOfItsDay(diary, index))
            days.push_back({diary.GetDateAt(index).dayNumber, WordHash(text),
                            std::hash<std::string_view>()(text)});
    }
    std::sort(days.begin(), days.end(),
              [](const Day& a, const Day& b) { return a.dayNumber < b.dayNumber; });
}

bool DayFingerprints::HasText(const Date& day, const std::string& text) const {
    const auto found = std::lower_bound(
        days.begin(), days.end(), day.dayNumber,
        [](const Day& entry, std::uint32_t number) { return entry.dayNumber < number; });
    if (found == days.end() || found->dayNumber != day.dayNumber)
        return text.empty();
    return !text.empty() && found->first == WordHash(text) &&
           found->second == std::hash<std::string_view>()(text);
}

DiaryMerge MergeDiaries(const DayFingerprints& base, const EventStore& ours,
                        const EventStore& theirs) {
    DiaryMerge result;
    result.merged = ours;
    EventStore& merged = result.merged;

    for (int index = 0; index < ours.GetCount(); ++index) {
        if (!IsFirstOfItsDay(ours, index))
            continue;
        const Date& day = ours.GetDateAt(index);
        const std::optional<std::string> text =
            MergeDay(day, base, ours.GetTextAt(index), theirs.Lookup(day), result);
        if (text)
            merged.SetDayText(day, *text);
    }

    // Days with an entry only in the other copy: ours is empty there.
    std::vector<int> newDays; // indexes into theirs
    for (int index = 0; index < theirs.GetCount(); ++index) {
        const Date& day = theirs.GetDateAt(index);
        if (!IsFirstOfItsDay(theirs, index) || ours.FindIndex(day) >= 0)
            continue;
        if (MergeDay(day, base, std::string(), theirs.GetTextAt(index), result))
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

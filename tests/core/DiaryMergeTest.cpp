#include "core/DiaryMerge.h"
#include "tests/support/DateHelpers.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <set>
#include <utility>

namespace {

using Entries = std::vector<std::pair<Date, std::string>>;

EventStore Diary(const Entries& entries) {
    EventStore store;
    for (const auto& [day, text] : entries)
        store.Append(day, text);
    return store;
}

Entries EntriesOf(const EventStore& store) {
    Entries entries;
    for (int i = 0; i < store.GetCount(); ++i)
        entries.emplace_back(store.GetDateAt(i), store.GetTextAt(i));
    return entries;
}

// One day as a side holds it: no entry, or an entry with this text.
using Side = std::optional<std::string>;

EventStore OneDay(const Date& day, const Side& side) {
    return side ? Diary({{day, *side}}) : EventStore();
}

TEST(DiaryMerge, EachDayByWhoChangedIt) {
    const Side none;
    const char* const both = "ours\r\n----- from the other copy -----\r\ntheirs";
    const struct {
        const char* name;
        Side base, ours, theirs;
        const char* merged;
        int fromOtherCopy;
        bool conflict;
    } cases[] = {
        {"unchanged", "a", "a", "a", "a", 0, false},
        {"changed here", "a", "ours", "a", "ours", 0, false},
        {"changed there", "a", "a", "theirs", "theirs", 1, false},
        {"changed both the same way", "a", "same", "same", "same", 0, false},
        {"changed both differently", "a", "ours", "theirs", both, 0, true},
        {"added here", none, "ours", none, "ours", 0, false},
        {"added there", none, none, "theirs", "theirs", 1, false},
        {"added there, an empty entry here", none, "", "theirs", "theirs", 1, false},
        {"added both the same way", none, "same", "same", "same", 0, false},
        {"added both differently", none, "ours", "theirs", both, 0, true},
        {"emptied here", "a", "", "a", "", 0, false},
        {"emptied there", "a", "a", "", "", 1, false},
        {"emptied there, its entry gone", "a", "a", none, "", 1, false},
        {"emptied on both sides", "a", "", none, "", 0, false},
        {"emptied here, changed there", "a", "", "theirs", "theirs", 0, true},
        {"no entry here, changed there", "a", none, "theirs", "theirs", 0, true},
        {"changed here, emptied there", "a", "ours", "", "ours", 0, true},
        {"absent everywhere", none, none, none, "", 0, false},
        {"empty entries only", "", none, "", "", 0, false},
        {"our text ends in a line break", "a", "ours\r\n", "theirs",
         "ours\r\n\r\n----- from the other copy -----\r\ntheirs", 0, true},
    };
    const Date day = Ymd(2026, 3, 14);
    for (const auto& c : cases) {
        const DiaryMerge result = MergeDiaries(DayFingerprints(OneDay(day, c.base)),
                                               OneDay(day, c.ours), OneDay(day, c.theirs));
        EXPECT_EQ(result.merged.Lookup(day), c.merged) << c.name;
        EXPECT_EQ(result.daysFromOtherCopy, c.fromOtherCopy) << c.name;
        EXPECT_EQ(result.conflictDays, c.conflict ? std::vector<Date>{day} : std::vector<Date>{})
            << c.name;
        const bool wantsEntry = c.ours || !std::string(c.merged).empty();
        EXPECT_EQ(result.merged.GetCount(), wantsEntry ? 1 : 0) << c.name;
    }
}

TEST(DiaryMerge, KeepsOurOrderAndAppendsNewDaysInDateOrder) {
    const std::string separator = "\r\n----- from the other copy -----\r\n";
    const Date d1 = Ymd(2026, 1, 1), d2 = Ymd(2026, 1, 2), d3 = Ymd(2026, 1, 3);
    const Date d4 = Ymd(2026, 1, 4), d5 = Ymd(2026, 1, 5), d6 = Ymd(2026, 1, 6);
    const EventStore base = Diary({{d1, "a"}, {d2, "b"}, {d3, "c"}});
    const EventStore ours = Diary({{d3, "c"}, {d2, "B"}, {d3, "hidden"}, {d1, "A"}});
    const EventStore theirs = Diary(
        {{d1, "a1"}, {d2, "b2"}, {d3, "C"}, {d6, "f"}, {d4, "d"}, {d4, "hidden d"}, {d5, "e"}});

    const DiaryMerge result = MergeDiaries(DayFingerprints(base), ours, theirs);
    EXPECT_EQ(EntriesOf(result.merged), (Entries{{d3, "C"},
                                                 {d2, "B" + separator + "b2"},
                                                 {d3, "hidden"},
                                                 {d1, "A" + separator + "a1"},
                                                 {d4, "d"},
                                                 {d5, "e"},
                                                 {d6, "f"}}));
    EXPECT_EQ(result.daysFromOtherCopy, 4);
    EXPECT_EQ(result.conflictDays, (std::vector<Date>{d1, d2}));
}

// The text of a day as the program shows it, found without the store's index.
std::string ShownText(const EventStore& store, std::uint32_t dayNumber) {
    for (int i = 0; i < store.GetCount(); ++i) {
        if (store.GetDateAt(i).dayNumber == dayNumber)
            return store.GetTextAt(i);
    }
    return "";
}

// The rules as the user reads them, day by day over every day any side knows.
struct ReferenceMerge {
    std::vector<std::pair<std::uint32_t, std::string>> days; // ascending
    int fromOtherCopy = 0;
    std::vector<Date> conflictDays;
};

ReferenceMerge Reference(const EventStore& base, const EventStore& ours, const EventStore& theirs) {
    std::set<std::uint32_t> dayNumbers;
    for (const EventStore* store : {&base, &ours, &theirs}) {
        for (int i = 0; i < store->GetCount(); ++i)
            dayNumbers.insert(store->GetDateAt(i).dayNumber);
    }
    ReferenceMerge merge;
    for (const std::uint32_t day : dayNumbers) {
        const std::string b = ShownText(base, day), o = ShownText(ours, day),
                          t = ShownText(theirs, day);
        std::string text = o;
        if (o != b && t != b && o != t) {
            merge.conflictDays.push_back(Date(day));
            text = o.empty()   ? t
                   : t.empty() ? o
                               : o + "\r\n----- from the other copy -----\r\n" + t;
        } else if (o == b && t != b) {
            ++merge.fromOtherCopy;
            text = t;
        }
        merge.days.emplace_back(day, text);
    }
    return merge;
}

TEST(DiaryMerge, AgreesWithTheRulesOnRandomDiariesAndRoundTrips) {
    std::mt19937 random(23);
    auto pick = [&](int below) { return std::uniform_int_distribution<int>(0, below - 1)(random); };
    const std::string texts[] = {"", "a", "b", "a\r\nb", "c\r\n"};
    auto randomDay = [&] { return Ymd(2026, 1, 1 + pick(20)); };
    auto randomText = [&] { return texts[pick(5)]; };
    // An edited copy: entries may be lost (a file drops empty ones), texts
    // changed, duplicates added.
    auto edit = [&](const EventStore& from) {
        EventStore copy;
        for (int i = 0; i < from.GetCount(); ++i) {
            if (pick(8) != 0)
                copy.Append(from.GetDateAt(i), from.GetTextAt(i));
        }
        for (int edits = pick(8); edits > 0; --edits) {
            if (pick(6) == 0)
                copy.Append(randomDay(), randomText());
            else
                copy.SetDayText(randomDay(), randomText());
        }
        return copy;
    };
    int conflicts = 0, fromOtherCopy = 0;
    for (int round = 0; round < 500; ++round) {
        EventStore base;
        for (int entries = pick(20); entries > 0; --entries)
            base.Append(randomDay(), randomText());
        const EventStore ours = edit(base), theirs = edit(base);

        const DiaryMerge result = MergeDiaries(DayFingerprints(base), ours, theirs);
        const ReferenceMerge expected = Reference(base, ours, theirs);
        ASSERT_EQ(result.daysFromOtherCopy, expected.fromOtherCopy) << "round " << round;
        ASSERT_EQ(result.conflictDays, expected.conflictDays) << "round " << round;
        int newDays = 0;
        for (const auto& [day, text] : expected.days) {
            ASSERT_EQ(ShownText(result.merged, day), text) << "round " << round << " day " << day;
            newDays += ours.FindIndex(Date(day)) < 0 && !text.empty();
        }
        // Our entries stay where they were, the new days follow in date order.
        const Entries oursEntries = EntriesOf(ours), merged = EntriesOf(result.merged);
        ASSERT_EQ(merged.size(), oursEntries.size() + static_cast<std::size_t>(newDays));
        for (std::size_t i = 0; i < merged.size(); ++i) {
            if (i < oursEntries.size()) {
                ASSERT_EQ(merged[i].first, oursEntries[i].first) << "round " << round;
                if (ours.FindIndex(oursEntries[i].first) != static_cast<int>(i)) {
                    ASSERT_EQ(merged[i].second, oursEntries[i].second) << "round " << round;
                }
            } else if (i > oursEntries.size()) {
                ASSERT_LT(merged[i - 1].first, merged[i].first) << "round " << round;
            }
        }
        conflicts += static_cast<int>(result.conflictDays.size());
        fromOtherCopy += result.daysFromOtherCopy;

        const DiaryMerge nothingThere = MergeDiaries(DayFingerprints(base), ours, base);
        ASSERT_EQ(EntriesOf(nothingThere.merged), oursEntries) << "round " << round;
        ASSERT_EQ(nothingThere.daysFromOtherCopy, 0);
        ASSERT_TRUE(nothingThere.conflictDays.empty());

        const DiaryMerge nothingHere = MergeDiaries(DayFingerprints(base), base, theirs);
        int changedThere = 0;
        for (const auto& [day, text] : expected.days) {
            ASSERT_EQ(ShownText(nothingHere.merged, day), ShownText(theirs, day)) << round;
            changedThere += ShownText(base, day) != ShownText(theirs, day);
        }
        ASSERT_EQ(nothingHere.daysFromOtherCopy, changedThere);
        ASSERT_TRUE(nothingHere.conflictDays.empty());
    }
    EXPECT_GT(conflicts, 100) << "the random diaries must reach every rule";
    EXPECT_GT(fromOtherCopy, 100) << "the random diaries must reach every rule";
}

} // namespace

#include "core/EventStore.h"
#include "tests/support/DateHelpers.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::vector<std::string> TextsInOrder(const EventStore& store) {
    std::vector<std::string> texts;
    for (int i = 0; i < store.GetCount(); ++i)
        texts.push_back(store.GetDateAt(i).Format(0) + "=" + store.GetTextAt(i));
    return texts;
}

TEST(EventStore, EmptyStore) {
    EventStore store;
    EXPECT_EQ(store.GetCount(), 0);
    EXPECT_EQ(store.FindIndex(Ymd(2026, 1, 1)), -1);
    EXPECT_EQ(store.Lookup(Ymd(2026, 1, 1)), "");
    store.SetDayText(Ymd(2026, 1, 1), "");
    EXPECT_EQ(store.GetCount(), 0) << "an empty text for a day without entry adds nothing";
}

TEST(EventStore, KeepsInsertionOrderAndAppendsNewDaysLast) {
    EventStore store;
    store.Append(Ymd(2026, 1, 3), "three");
    store.Append(Ymd(2026, 1, 1), "one");
    store.SetDayText(Ymd(2026, 1, 2), "two");
    store.SetDayText(Ymd(2026, 1, 3), "THREE");
    EXPECT_EQ(TextsInOrder(store),
              (std::vector<std::string>{"1/3/2026=THREE", "1/1/2026=one", "1/2/2026=two"}));
}

TEST(EventStore, EmptiedTextKeepsItsEntryInPlace) {
    EventStore store;
    store.Append(Ymd(2026, 1, 1), "one");
    store.Append(Ymd(2026, 1, 2), "two");
    store.SetDayText(Ymd(2026, 1, 1), "");
    EXPECT_EQ(TextsInOrder(store), (std::vector<std::string>{"1/1/2026=", "1/2/2026=two"}));
    EXPECT_EQ(store.FindIndex(Ymd(2026, 1, 1)), 0);
}

TEST(EventStore, DuplicatesFirstWinsAndAllAreKept) {
    EventStore store;
    store.Append(Ymd(2026, 5, 1), "first");
    store.Append(Ymd(2026, 5, 2), "other");
    store.Append(Ymd(2026, 5, 1), "second");
    EXPECT_EQ(store.FindIndex(Ymd(2026, 5, 1)), 0);
    EXPECT_EQ(store.Lookup(Ymd(2026, 5, 1)), "first");
    store.SetDayText(Ymd(2026, 5, 1), "changed");
    EXPECT_EQ(TextsInOrder(store),
              (std::vector<std::string>{"5/1/2026=changed", "5/2/2026=other", "5/1/2026=second"}));
}

TEST(EventStore, IdentityIsTheDayNumberAlone) {
    EventStore store;
    store.Append(Date("13/45/2026"), "overflowing fields");
    EXPECT_EQ(store.Lookup(Ymd(2027, 2, 14)), "overflowing fields");
    store.SetDayText(Ymd(2027, 2, 14), "normal");
    EXPECT_EQ(store.GetDateAt(0).month, 2) << "the entry takes the new date's fields";
    EXPECT_EQ(store.GetCount(), 1);
}

TEST(EventStore, RemoveAllEmptiesAndStartsAfresh) {
    EventStore store;
    store.Append(Ymd(2026, 1, 1), "a");
    store.RemoveAll();
    EXPECT_EQ(store.GetCount(), 0);
    EXPECT_EQ(store.FindIndex(Ymd(2026, 1, 1)), -1);
    store.Append(Ymd(2026, 1, 1), "b");
    EXPECT_EQ(store.Lookup(Ymd(2026, 1, 1)), "b");
}

TEST(EventStore, WrappedDateThatCopiesToAnotherDayStaysFindable) {
    // Far past the 16-bit years the fields wrap, so a copy lands on another day.
    const Date odd(4000000000u);
    EventStore store;
    store.Append(Ymd(2026, 1, 1), "plain");
    store.Append(odd, "odd");
    const Date stored = store.GetDateAt(1);
    EXPECT_EQ(store.FindIndex(stored), 1);
    store.SetDayText(Ymd(2026, 1, 1), "still");
    EXPECT_EQ(store.FindIndex(stored), 1);
    EXPECT_EQ(store.Lookup(Ymd(2026, 1, 1)), "still");
}

TEST(EventStore, LookupsAgreeWithALinearScanOnALargeStore) {
    std::mt19937 random(7);
    std::uniform_int_distribution<std::uint32_t> day(2400000, 2402000);
    EventStore store;
    for (int i = 0; i < 20000; ++i) {
        // Now and then a day far off, a power of two away from the others.
        const Date date(i % 50 == 0 ? 2400000 + (day(random) % 64) * 65536 : day(random));
        if (i % 3 == 0)
            store.SetDayText(date, std::to_string(i));
        else
            store.Append(date, std::to_string(i));
    }
    std::vector<std::uint32_t> days;
    for (std::uint32_t n = 2399990; n <= 2402010; ++n)
        days.push_back(n);
    for (std::uint32_t far = 0; far < 64; ++far)
        days.push_back(2400000 + far * 65536);
    for (const std::uint32_t n : days) {
        int expected = -1;
        for (int i = 0; i < store.GetCount() && expected < 0; ++i) {
            if (store.GetDateAt(i).dayNumber == n)
                expected = i;
        }
        ASSERT_EQ(store.FindIndex(Date(n)), expected) << n;
    }
}

} // namespace

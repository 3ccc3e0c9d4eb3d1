#include "core/EventImport.h"
#include "tests/support/DateHelpers.h"

#include <gtest/gtest.h>

namespace {

ImportedEvent At(int hour, int minute, const std::string& summary, Date day = Ymd(2026, 5, 4)) {
    return ImportedEvent{day, TimeOfDay{hour, minute}, summary, ""};
}
ImportedEvent AllDay(const std::string& summary, Date day = Ymd(2026, 5, 4)) {
    return ImportedEvent{day, std::nullopt, summary, ""};
}

TEST(AddEventLines, AppendsInTimeOrderAndSkipsWhatTheDayHolds) {
    const struct {
        std::string text;
        std::vector<ImportedEvent> events;
        std::string expected;
        int added, skipped;
    } cases[] = {
        {"", {At(9, 5, "Dentist")}, "09:05 Dentist", 1, 0},
        {"notes",
         {At(14, 0, "b"), AllDay("Holiday"), At(8, 30, "a")},
         "notes\r\nHoliday\r\n08:30 a\r\n14:00 b",
         3,
         0},
        {"notes\r\n", {At(8, 0, "a")}, "notes\r\n08:00 a", 1, 0}, // fills the empty last line
        {"09:05 Dentist\r\nx",
         {At(9, 5, "Dentist"), At(9, 5, "Dentist")},
         "09:05 Dentist\r\nx",
         0,
         2},
        {"",
         {At(9, 0, "same"), At(9, 0, "same"), At(9, 0, "other")},
         "09:00 same\r\n09:00 other",
         2,
         1},
        {"", {At(10, 0, "second"), At(10, 0, "first")}, "10:00 second\r\n10:00 first", 2, 0},
        {"", {At(7, 0, "two\r\nlines\nand\rmore")}, "07:00 two lines and more", 1, 0},
        {"", {At(7, 0, ""), AllDay("")}, "07:00", 1, 1},
        {"Holiday", {AllDay("Holiday"), AllDay("holiday")}, "Holiday\r\nholiday", 1, 1},
    };
    for (const auto& c : cases) {
        const DayTextImport result = AddEventLines(c.text, c.events);
        EXPECT_EQ(result.text, c.expected) << c.text;
        EXPECT_EQ(result.added, c.added) << c.expected;
        EXPECT_EQ(result.skipped, c.skipped) << c.expected;
    }
}

TEST(ImportEvents, ChangesOnlyTheDaysThatGainLines) {
    EventStore store;
    store.Append(Ymd(2026, 5, 6), "12:00 Lunch");
    store.Append(Ymd(2026, 5, 1), "notes");
    const EventsImport result = ImportEvents(
        store, {At(12, 0, "Lunch", Ymd(2026, 5, 6)), At(9, 0, "b", Ymd(2026, 5, 1)),
                AllDay("May Day", Ymd(2026, 5, 1)), At(18, 0, "new", Ymd(2026, 4, 30))});
    ASSERT_EQ(result.changes.size(), 2u);
    EXPECT_EQ(result.changes[0].date, Ymd(2026, 4, 30));
    EXPECT_EQ(result.changes[0].text, "18:00 new");
    EXPECT_EQ(result.changes[1].date, Ymd(2026, 5, 1));
    EXPECT_EQ(result.changes[1].text, "notes\r\nMay Day\r\n09:00 b");
    EXPECT_EQ(result.added, 3);
    EXPECT_EQ(result.skipped, 1);
}

} // namespace

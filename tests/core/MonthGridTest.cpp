#include "core/MonthGrid.h"
#include "core/DayMoves.h"
#include "tests/support/DateHelpers.h"

#include <gtest/gtest.h>

namespace {

TEST(MonthGrid, FirstGridDate) {
    const struct {
        int year, month;
        bool sundayFirst;
        int firstYear, firstMonth, firstDay;
    } cases[] = {
        {2026, 2, true, 2026, 2, 1},   // the 1st is a Sunday
        {2026, 2, false, 2026, 1, 26}, // Monday first: back to the Monday before
        {2026, 6, false, 2026, 6, 1},  // the 1st is a Monday
        {2026, 6, true, 2026, 5, 31},    {2026, 3, false, 2026, 2, 23}, // 1 March 2026 is a Sunday
        {2026, 12, false, 2026, 11, 30}, {2027, 1, true, 2026, 12, 27},
    };
    for (const auto& c : cases) {
        const Date first = FirstGridDate(Ymd(c.year, c.month, 15), c.sundayFirst);
        EXPECT_EQ(first, Ymd(c.firstYear, c.firstMonth, c.firstDay))
            << c.month << "/" << c.year << (c.sundayFirst ? " Sunday first" : " Monday first");
        EXPECT_EQ(first.weekday, c.sundayFirst ? 1 : 2);
    }
}

TEST(MonthGrid, GridAlwaysCoversTheWholeMonth) {
    for (Date month = Ymd(1900, 1, 1); month.year < 2100; month.NextMonth()) {
        for (bool sundayFirst : {false, true}) {
            const Date first = FirstGridDate(month, sundayFirst);
            Date last(month.month, month.year);
            last.SubtractDays(1 - last.DaysInMonth());
            ASSERT_LE(first.dayNumber, Date(month.month, month.year).dayNumber);
            ASSERT_GT(first.dayNumber + 7, Date(month.month, month.year).dayNumber);
            ASSERT_LE(last.dayNumber, first.dayNumber + kGridCells - 1) << month.Format(0);
        }
    }
}

TEST(MonthGrid, FebruaryRowsShowMarchDays) {
    const Date first = FirstGridDate(Ymd(2026, 2, 1), true);
    EXPECT_EQ(Date(first.dayNumber + 28), Ymd(2026, 3, 1)) << "row 4 starts with 1 March";
    EXPECT_EQ(Date(first.dayNumber + 41), Ymd(2026, 3, 14));
    const Date mondayFirst = FirstGridDate(Ymd(2026, 2, 1), false);
    EXPECT_EQ(Date(mondayFirst.dayNumber + 35), Ymd(2026, 3, 2)) << "last row from 2 March";
    EXPECT_EQ(Date(mondayFirst.dayNumber + 41), Ymd(2026, 3, 8));
}

TEST(MonthGrid, Layout) {
    for (auto size : {std::pair<int, int>{720, 500}, {726, 505}}) {
        const GridLayout layout = LayoutGrid(size.first, size.second);
        EXPECT_EQ(layout.columnWidth, 100);
        EXPECT_EQ(layout.rowHeight, 80);
        const GridRect cell = layout.Cell(2, 3);
        EXPECT_EQ(cell.left, 320);
        EXPECT_EQ(cell.top, 180);
        EXPECT_EQ(cell.width, 100);
        EXPECT_EQ(cell.height, 80);
        const GridRect week = layout.WeekNumberLabel(2);
        EXPECT_EQ(week.left, 0);
        EXPECT_EQ(week.top, 180);
        EXPECT_EQ(week.width, 20);
        EXPECT_EQ(week.height, 80);
        const GridRect weekday = layout.WeekdayLabel(3);
        EXPECT_EQ(weekday.left, 320);
        EXPECT_EQ(weekday.top, 0);
        EXPECT_EQ(weekday.width, 100);
        EXPECT_EQ(weekday.height, 20);
    }
    EXPECT_EQ(LayoutGrid(10, 10).columnWidth, -1) << "tiny areas pass through unchanged";
}

TEST(MonthGrid, CellColours) {
    const Date today = Ymd(2026, 12, 8);
    const struct {
        Date date;
        bool otherMonth;
        Rgb colour;
    } cases[] = {
        {Ymd(2026, 12, 8), false, {255, 255, 204}}, // today counts as not past
        {Ymd(2026, 12, 7), false, {223, 223, 172}}, {Ymd(2027, 1, 2), true, {240, 240, 160}},
        {Ymd(2026, 11, 30), true, {208, 208, 128}}, {Ymd(2026, 12, 31), false, {255, 255, 204}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CellColour(c.date, c.otherMonth, today), c.colour) << c.date.Format(0);
}

TEST(MonthGrid, KeyboardMovesFromDayToDay) {
    const struct {
        Date from;
        DayMove move;
        Date to;
    } cases[] = {
        {Ymd(2026, 3, 1), DayMove::PreviousDay, Ymd(2026, 2, 28)},
        {Ymd(2026, 12, 31), DayMove::NextDay, Ymd(2027, 1, 1)},
        {Ymd(2026, 3, 2), DayMove::PreviousWeek, Ymd(2026, 2, 23)},
        {Ymd(2026, 12, 28), DayMove::NextWeek, Ymd(2027, 1, 4)},
        {Ymd(2026, 3, 31), DayMove::PreviousMonth, Ymd(2026, 2, 28)},
        {Ymd(2024, 3, 31), DayMove::PreviousMonth, Ymd(2024, 2, 29)},
        {Ymd(2026, 1, 15), DayMove::PreviousMonth, Ymd(2025, 12, 15)},
        {Ymd(2026, 12, 31), DayMove::NextMonth, Ymd(2027, 1, 31)},
        {Ymd(2026, 1, 31), DayMove::NextMonth, Ymd(2026, 2, 28)},
        {Ymd(2024, 2, 29), DayMove::NextYear, Ymd(2025, 2, 28)},
        {Ymd(2024, 2, 29), DayMove::PreviousYear, Ymd(2023, 2, 28)},
        {Ymd(2026, 6, 15), DayMove::NextYear, Ymd(2027, 6, 15)},
    };
    for (const auto& c : cases) {
        const Date to = MovedDay(c.from, c.move);
        EXPECT_EQ(to, c.to) << c.from.Format(0) << " moved " << static_cast<int>(c.move);
        EXPECT_EQ(to.Format(0), c.to.Format(0)) << "fields agree with the day number";
    }
}

} // namespace

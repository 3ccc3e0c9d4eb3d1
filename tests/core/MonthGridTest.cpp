#include "core/MonthGrid.h"
#include "core/CellColours.h"
#include "core/DayMoves.h"
#include "core/Dpi.h"
#include "tests/support/DateHelpers.h"

#include <gtest/gtest.h>

#include <vector>

// Found by argument-dependent lookup, as GridRect is global.
bool operator==(const GridRect& a, const GridRect& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

std::ostream& operator<<(std::ostream& out, const GridRect& r) {
    return out << "(" << r.left << ", " << r.top << ") " << r.width << " x " << r.height;
}

namespace {

TEST(MonthGrid, CellNamesSayTheDayAndWhereItLies) {
    const Date today = Ymd(2026, 12, 9);
    const Date december = Ymd(2026, 12, 1);
    const struct {
        Date day, displayed;
        const char* name;
    } cases[] = {
        {Ymd(2026, 12, 9), december, "Wednesday, December 9, 2026, today"},
        {Ymd(2027, 1, 1), december, "Friday, January 1, 2027, next month"},
        {Ymd(2026, 11, 30), december, "Monday, November 30, 2026, previous month"},
        {Ymd(2026, 12, 9), Ymd(2027, 1, 1), "Wednesday, December 9, 2026, today, previous month"},
        {Ymd(2025, 12, 31), Ymd(2026, 1, 1), "Wednesday, December 31, 2025, previous month"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CellName(c.day, today, c.displayed), c.name);
}

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

GridRect Scaled(const GridRect& r, int dpi) {
    return {ScaleForDpi(r.left, dpi), ScaleForDpi(r.top, dpi), ScaleForDpi(r.width, dpi),
            ScaleForDpi(r.height, dpi)};
}

const int kDpis[] = {96, 120, 144, 192};

TEST(MonthGrid, LayoutScalesWithTheDpi) {
    // 720 x 500 at 100 % and 726 x 505 at 96 DPI (the rest stays empty) give
    // one grid; 720 x 500 scaled gives it scaled.
    const struct {
        int dpi, width, height;
    } cases[] = {
        {96, 720, 500}, {96, 726, 505}, {120, 900, 625}, {144, 1080, 750}, {192, 1440, 1000}};
    for (const auto& c : cases) {
        const GridLayout layout = LayoutGrid(c.width, c.height, c.dpi);
        SCOPED_TRACE(testing::Message() << c.dpi << " DPI, " << c.width << " x " << c.height);
        EXPECT_EQ(layout.columnWidth, ScaleForDpi(100, c.dpi));
        EXPECT_EQ(layout.rowHeight, ScaleForDpi(80, c.dpi));
        EXPECT_EQ(layout.Cell(2, 3), Scaled({320, 180, 100, 80}, c.dpi));
        EXPECT_EQ(layout.WeekNumberLabel(2), Scaled({0, 180, 20, 80}, c.dpi));
        EXPECT_EQ(layout.WeekdayLabel(3), Scaled({320, 0, 100, 20}, c.dpi));
    }
    EXPECT_EQ(LayoutGrid(10, 10, 96).columnWidth, -1) << "tiny areas pass through unchanged";
}

// Every pixel of the client area is covered once, but the corner above the
// week numbers and what the divisions leave at the right and bottom.
TEST(MonthGrid, LayoutTilesTheClientArea) {
    for (const int dpi : kDpis) {
        for (auto size : {std::pair<int, int>{640, 480}, {1013, 771}, {333, 221}}) {
            const int width = size.first, height = size.second;
            const GridLayout layout = LayoutGrid(width, height, dpi);
            std::vector<int> covered(static_cast<std::size_t>(width * height));
            auto cover = [&](const GridRect& r) {
                for (int y = r.top; y < r.top + r.height; ++y)
                    for (int x = r.left; x < r.left + r.width; ++x)
                        if (x >= 0 && y >= 0 && x < width && y < height)
                            ++covered[static_cast<std::size_t>(y * width + x)];
            };
            for (int row = 0; row < kGridRows; ++row) {
                cover(layout.WeekNumberLabel(row));
                for (int column = 0; column < kGridColumns; ++column)
                    cover(layout.Cell(row, column));
            }
            for (int column = 0; column < kGridColumns; ++column)
                cover(layout.WeekdayLabel(column));
            const int usedWidth = layout.margin + kGridColumns * layout.columnWidth;
            const int usedHeight = layout.margin + kGridRows * layout.rowHeight;
            EXPECT_LT(width - usedWidth, kGridColumns);
            EXPECT_LT(height - usedHeight, kGridRows);
            int wrong = 0;
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    const bool corner = x < layout.margin && y < layout.margin;
                    const bool rest = x >= usedWidth || y >= usedHeight;
                    wrong += covered[static_cast<std::size_t>(y * width + x)] !=
                             (corner || rest ? 0 : 1);
                }
            }
            EXPECT_EQ(wrong, 0) << dpi << " DPI, " << width << " x " << height;
        }
    }
}

TEST(MonthGrid, DayLabelScalesWithTheDpi) {
    const struct {
        int dpi;
        GridRect inCell;     // in a cell whose client area is 81 wide
        GridRect overCorner; // of a cell whose outer right and bottom are 200 and 100
    } cases[] = {
        {96, {62, 1, 18, 15}, {182, 84, 18, 15}},
        {120, {57, 1, 23, 19}, {177, 80, 23, 19}},
        {144, {52, 2, 27, 23}, {173, 75, 27, 23}},
        {192, {43, 2, 36, 30}, {164, 68, 36, 30}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DayLabelInCell(81, c.dpi), c.inCell) << c.dpi << " DPI";
        EXPECT_EQ(DayLabelOverCorner(200, 100, c.dpi), c.overCorner) << c.dpi << " DPI";
    }
}

TEST(MonthGrid, ScalingAndNearestImageSize) {
    const struct {
        int value, dpi, scaled;
    } scales[] = {{20, 96, 20}, {20, 120, 25}, {15, 144, 23}, {1, 120, 1},
                  {1, 144, 2},  {-3, 144, -5}, {16, 168, 28}, {18, 192, 36}};
    for (const auto& c : scales)
        EXPECT_EQ(ScaleForDpi(c.value, c.dpi), c.scaled) << c.value << " at " << c.dpi;
    const int sizes[] = {16, 20, 24, 32};
    const struct {
        int wanted, chosen;
    } images[] = {{16, 16}, {12, 16}, {18, 20}, {20, 20}, {22, 24}, {28, 32}, {30, 32}, {64, 32}};
    for (const auto& c : images)
        EXPECT_EQ(NearestSize(sizes, 4, c.wanted), c.chosen) << c.wanted;
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

TEST(MonthGrid, CellColoursWithAndWithoutHighContrast) {
    const Date today = Ymd(2026, 12, 8);
    const CellPaint window{SystemColour::Window, {}}, text{SystemColour::WindowText, {}},
        grey{SystemColour::GrayText, {}}, highlight{SystemColour::Highlight, {}},
        highlightText{SystemColour::HighlightText, {}}, white{SystemColour::None, {255, 255, 255}},
        red{SystemColour::None, {255, 0, 0}}, black{SystemColour::None, {0, 0, 0}};
    const struct {
        Date date;
        bool otherMonth, highContrast;
        CellColours colours;
    } cases[] = {
        {today, false, false, {{SystemColour::None, {255, 255, 204}}, text, red, white}},
        {Ymd(2026, 12, 7),
         false,
         false,
         {{SystemColour::None, {223, 223, 172}}, text, black, white}},
        {Ymd(2026, 11, 30),
         true,
         false,
         {{SystemColour::None, {208, 208, 128}}, text, black, white}},
        {today, false, true, {window, text, highlight, highlightText}},
        {Ymd(2026, 12, 9), false, true, {window, text, window, text}},
        {Ymd(2026, 12, 7), false, true, {window, text, window, grey}},
        {Ymd(2027, 1, 2), true, true, {window, grey, window, grey}},
        {Ymd(2026, 11, 30), true, true, {window, grey, window, grey}},
    };
    for (const auto& c : cases) {
        const CellColours got = CellColoursFor(c.date, c.otherMonth, today, c.highContrast);
        SCOPED_TRACE(c.date.Format(0) + (c.highContrast ? " high contrast" : ""));
        EXPECT_EQ(got.background, c.colours.background);
        EXPECT_EQ(got.text, c.colours.text);
        EXPECT_EQ(got.labelFill, c.colours.labelFill);
        EXPECT_EQ(got.labelText, c.colours.labelText);
        if (c.highContrast) {
            for (const CellPaint& paint : {got.background, got.text, got.labelFill, got.labelText})
                EXPECT_NE(paint.system, SystemColour::None) << "no fixed colour";
        }
    }
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

#pragma once

#include "core/Date.h"

#include <string>

// The arithmetic of the month on screen: which day the 6 x 7 grid starts
// with, where everything goes, and what colour a day cell has.

const int kGridRows = 6;
const int kGridColumns = 7;
const int kGridCells = kGridRows * kGridColumns;

// The last date on or before the first of the displayed month whose weekday
// starts the week (Sunday when sundayFirst, else Monday).
Date FirstGridDate(const Date& displayedDate, bool sundayFirst);

// What a screen reader calls a day's cell: its long date, then ", today"
// and ", previous month" or ", next month" where they apply ("Friday,
// January 1, 2027, next month").
std::string CellName(const Date& day, const Date& today, const Date& displayedDate);

struct GridRect {
    int left, top, width, height;
};

// Room for the week numbers at the left and the weekday names at the top, at
// 96 DPI.
const int kLabelMargin = 20;

struct GridLayout {
    int columnWidth;
    int rowHeight;
    int margin; // kLabelMargin at the window's DPI
    GridRect Cell(int row, int column) const;
    GridRect WeekNumberLabel(int row) const;
    GridRect WeekdayLabel(int column) const;
};
GridLayout LayoutGrid(int clientWidth, int clientHeight, int dpi);

// The day number's label, 18 x 15 pixels 1 pixel in from the edges at 96
// DPI: at the top right inside a cell without scroll bars, or from the outer
// right and bottom edges of a focused cell over the corner between its
// scroll bars.
GridRect DayLabelInCell(int cellClientWidth, int dpi);
GridRect DayLabelOverCorner(int cellRight, int cellBottom, int dpi);

struct Rgb {
    unsigned char red, green, blue;
    bool operator==(const Rgb& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};

// Days of the displayed month are pale yellow, neighbouring days a darker
// yellow; days before today are 32 darker in each channel.
Rgb CellColour(const Date& cellDate, bool otherMonth, const Date& today);

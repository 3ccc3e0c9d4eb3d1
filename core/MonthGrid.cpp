#include "core/MonthGrid.h"

Date FirstGridDate(const Date& displayedDate, bool sundayFirst) {
    Date first(displayedDate.month, displayedDate.year);
    const int firstWeekday = sundayFirst ? 1 : 2;
    first.SubtractDays(first.weekday - firstWeekday);
    // With Monday first and the 1st on a Sunday the step above moved forward.
    if (first.day >= 2 && first.day <= 6)
        first.SubtractDays(7);
    return first;
}

GridRect GridLayout::Cell(int row, int column) const {
    return {kLabelMargin + column * columnWidth, kLabelMargin + row * rowHeight, columnWidth,
            rowHeight};
}

GridRect GridLayout::WeekNumberLabel(int row) const {
    return {0, kLabelMargin + row * rowHeight, kLabelMargin, rowHeight};
}

GridRect GridLayout::WeekdayLabel(int column) const {
    return {kLabelMargin + column * columnWidth, 0, columnWidth, kLabelMargin};
}

GridLayout LayoutGrid(int clientWidth, int clientHeight) {
    return {(clientWidth - kLabelMargin) / kGridColumns, (clientHeight - kLabelMargin) / kGridRows};
}

Rgb CellColour(const Date& cellDate, bool otherMonth, const Date& today) {
    Rgb colour = otherMonth ? Rgb{240, 240, 160} : Rgb{255, 255, 204};
    if (cellDate.dayNumber < today.dayNumber) {
        colour.red = static_cast<unsigned char>(colour.red - 32);
        colour.green = static_cast<unsigned char>(colour.green - 32);
        colour.blue = static_cast<unsigned char>(colour.blue - 32);
    }
    return colour;
}

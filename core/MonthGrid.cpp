#include "core/MonthGrid.h"

#include "core/Dpi.h"

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
    return {margin + column * columnWidth, margin + row * rowHeight, columnWidth, rowHeight};
}

GridRect GridLayout::WeekNumberLabel(int row) const {
    return {0, margin + row * rowHeight, margin, rowHeight};
}

GridRect GridLayout::WeekdayLabel(int column) const {
    return {margin + column * columnWidth, 0, columnWidth, margin};
}

GridLayout LayoutGrid(int clientWidth, int clientHeight, int dpi) {
    const int margin = ScaleForDpi(kLabelMargin, dpi);
    return {(clientWidth - margin) / kGridColumns, (clientHeight - margin) / kGridRows, margin};
}

namespace {
struct DayLabelSize {
    int width, height, inset;
};
DayLabelSize DayLabelSizeFor(int dpi) {
    return {ScaleForDpi(18, dpi), ScaleForDpi(15, dpi), ScaleForDpi(1, dpi)};
}
} // namespace

GridRect DayLabelInCell(int cellClientWidth, int dpi) {
    const DayLabelSize size = DayLabelSizeFor(dpi);
    return {cellClientWidth - size.width - size.inset, size.inset, size.width, size.height};
}

GridRect DayLabelOverCorner(int cellRight, int cellBottom, int dpi) {
    const DayLabelSize size = DayLabelSizeFor(dpi);
    return {cellRight - size.width, cellBottom - size.inset - size.height, size.width, size.height};
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

std::string CellName(const Date& day, const Date& today, const Date& displayedDate) {
    std::string name = day.Format(3);
    if (day == today)
        name += ", today";
    const int month = day.year * 12 + day.month;
    const int shown = displayedDate.year * 12 + displayedDate.month;
    if (month < shown)
        name += ", previous month";
    else if (month > shown)
        name += ", next month";
    return name;
}

#include "core/CellColours.h"

namespace {
CellPaint Fixed(const Rgb& colour) {
    return {SystemColour::None, colour};
}
CellPaint System(SystemColour role) {
    return {role, {0, 0, 0}};
}
} // namespace

CellColours CellColoursFor(const Date& cellDate, bool otherMonth, const Date& today,
                           bool highContrast) {
    const bool isToday = cellDate.dayNumber == today.dayNumber;
    if (!highContrast)
        return {Fixed(CellColour(cellDate, otherMonth, today)), System(SystemColour::WindowText),
                Fixed(isToday ? Rgb{255, 0, 0} : Rgb{0, 0, 0}), Fixed({255, 255, 255})};
    const bool past = cellDate.dayNumber < today.dayNumber;
    CellColours colours{System(SystemColour::Window),
                        System(otherMonth ? SystemColour::GrayText : SystemColour::WindowText),
                        System(SystemColour::Window), System(SystemColour::WindowText)};
    if (isToday) {
        colours.labelFill = System(SystemColour::Highlight);
        colours.labelText = System(SystemColour::HighlightText);
    } else if (past || otherMonth) {
        colours.labelText = System(SystemColour::GrayText);
    }
    return colours;
}

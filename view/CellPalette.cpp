#include "view/CellPalette.h"

#include <cassert>

namespace {
OwnedBrush SolidBrush(const Rgb& colour) {
    return OwnedBrush(CreateSolidBrush(RGB(colour.red, colour.green, colour.blue)));
}
} // namespace

CellPalette::CellPalette()
    : todayLabel(SolidBrush({255, 0, 0})), dayLabel(SolidBrush({0, 0, 0})) {
    // Every colour a cell can have: of this month or another, past or not.
    const Date today(2451545u), yesterday(2451544u);
    std::size_t next = 0;
    for (const bool otherMonth : {false, true}) {
        for (const Date& day : {today, yesterday}) {
            const Rgb colour = CellColour(day, otherMonth, today);
            backgrounds[next++] = Fill{colour, SolidBrush(colour)};
        }
    }
}

HBRUSH CellPalette::Background(const Rgb& colour) const {
    for (const Fill& fill : backgrounds) {
        if (fill.colour == colour)
            return fill.brush.Get();
    }
    assert(!"a colour CellColour never gives");
    return nullptr;
}

#include "view/CellPalette.h"

#include "framework/Dpi.h"

#include <cassert>

namespace {

OwnedBrush SolidBrush(const Rgb& colour) {
    return OwnedBrush(CreateSolidBrush(RGB(colour.red, colour.green, colour.blue)));
}

int SystemColourIndex(SystemColour role) {
    switch (role) {
    case SystemColour::Window:
        return COLOR_WINDOW;
    case SystemColour::WindowText:
        return COLOR_WINDOWTEXT;
    case SystemColour::Highlight:
        return COLOR_HIGHLIGHT;
    case SystemColour::HighlightText:
        return COLOR_HIGHLIGHTTEXT;
    case SystemColour::GrayText:
        return COLOR_GRAYTEXT;
    case SystemColour::None:
        break;
    }
    return COLOR_WINDOW;
}

} // namespace

CellPalette::CellPalette() {
    // Every fixed colour a cell can have: of this month or another, past or
    // not, and the day label's fills.
    const Date today(2451545u), yesterday(2451544u);
    std::size_t next = 0;
    for (const bool otherMonth : {false, true}) {
        for (const Date& day : {today, yesterday}) {
            const Rgb colour = CellColour(day, otherMonth, today);
            fills[next++] = Fill{colour, SolidBrush(colour)};
        }
    }
    for (const Rgb& label : {Rgb{255, 0, 0}, Rgb{0, 0, 0}})
        fills[next++] = Fill{label, SolidBrush(label)};
    ReadHighContrast();
}

void CellPalette::ReadHighContrast() {
    highContrast = HighContrastOn();
}

COLORREF CellPalette::Colour(const CellPaint& paint) const {
    if (paint.system != SystemColour::None)
        return GetSysColor(SystemColourIndex(paint.system));
    return RGB(paint.fixed.red, paint.fixed.green, paint.fixed.blue);
}

HBRUSH CellPalette::Brush(const CellPaint& paint) const {
    if (paint.system != SystemColour::None)
        return GetSysColorBrush(SystemColourIndex(paint.system));
    for (const Fill& fill : fills) {
        if (fill.colour == paint.fixed)
            return fill.brush.Get();
    }
    assert(!"a colour CellColoursFor never gives");
    return nullptr;
}

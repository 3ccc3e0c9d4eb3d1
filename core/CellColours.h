#pragma once

#include "core/Date.h"
#include "core/MonthGrid.h"

// What paints a day cell: its fixed colours, or in the system's high-contrast
// mode only the colours the user chose there.

enum class SystemColour { None, Window, WindowText, Highlight, HighlightText, GrayText };

// A fixed colour, or the system's colour of that role when system is not None.
struct CellPaint {
    SystemColour system;
    Rgb fixed;
    bool operator==(const CellPaint& other) const {
        return system == other.system && (system != SystemColour::None || fixed == other.fixed);
    }
};

struct CellColours {
    CellPaint background;
    CellPaint text;
    CellPaint labelFill; // the day number's ground
    CellPaint labelText;
};

// High contrast tells today by the highlight colour, neighbouring months by
// grey text and past days by a grey day number.
CellColours CellColoursFor(const Date& cellDate, bool otherMonth, const Date& today,
                           bool highContrast);

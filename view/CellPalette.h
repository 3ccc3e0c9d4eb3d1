#pragma once

#include "core/MonthGrid.h"
#include "framework/OwnedHandle.h"

#include <array>

// The brushes the day cells paint with, one of each for all 42 cells: the
// four backgrounds a cell can have and the day label's two fills.
class CellPalette {
  public:
    CellPalette();
    // The brush of one of the colours CellColour gives.
    HBRUSH Background(const Rgb& colour) const;
    HBRUSH TodayLabel() const { return todayLabel.Get(); }
    HBRUSH DayLabel() const { return dayLabel.Get(); }

  private:
    struct Fill {
        Rgb colour;
        OwnedBrush brush;
    };
    std::array<Fill, 4> backgrounds;
    OwnedBrush todayLabel;
    OwnedBrush dayLabel;
};

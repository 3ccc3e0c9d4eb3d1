#pragma once

#include "core/CellColours.h"
#include "framework/OwnedHandle.h"

#include <array>

// The colours and brushes the day cells paint with, one set for all 42
// cells: the fixed colours, or the system's in high contrast.
class CellPalette {
  public:
    CellPalette();
    // Reads the system's high-contrast mode again (after a settings change).
    void ReadHighContrast();
    bool HighContrast() const { return highContrast; }
    COLORREF Colour(const CellPaint& paint) const;
    // The system's brushes are shared: nobody destroys them.
    HBRUSH Brush(const CellPaint& paint) const;

  private:
    struct Fill {
        Rgb colour;
        OwnedBrush brush;
    };
    // The four backgrounds and the day label's red and black.
    std::array<Fill, 6> fills;
    bool highContrast = false;
};

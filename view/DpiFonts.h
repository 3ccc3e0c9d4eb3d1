#pragma once

#include "framework/OwnedHandle.h"

// The fonts of the month view and the navigator at one DPI, from the
// system's message font: plain for the day texts, bold for the labels and
// the month button. The windows borrow them; a new set replaces the old
// only after every window was given the new one.
class DpiFonts {
  public:
    DpiFonts() = default;
    explicit DpiFonts(UINT dpi);
    HFONT Text() const { return text.Get(); }
    HFONT Bold() const { return bold.Get(); }

  private:
    OwnedFont text;
    OwnedFont bold;
};

#pragma once

#include "framework/Window.h"

#include <string>

// The frame's client window. It owns the document: its name, whether it
// was changed since the last save, and the day cell that last had the focus.
class COrvikCalendarView : public CWindowImpl<COrvikCalendarView> {
  public:
    std::string documentName = "Untitled";
    bool modified = false;
    HWND currentCell = nullptr; // borrowed: one of the view's cells, or none yet

    HWND Create(HWND frame);
    // The frame's title: "OrvikCalendar - " and the document name.
    void UpdateTitle();

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
};

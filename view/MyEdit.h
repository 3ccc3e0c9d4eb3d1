#pragma once

#include "core/Date.h"
#include "core/MonthGrid.h"
#include "framework/Window.h"

#include <string>

class COrvikCalendarView;

// The text box of one day: the platform's multi-line EDIT with a day-number
// label in its corner and a background that tells this month from the
// neighbouring ones and the past from today and later.
class CMyEdit : public CWindowImpl<CMyEdit> {
  public:
    bool otherMonth = false;
    Date date;

    CMyEdit() = default;
    ~CMyEdit();

    HWND Create(COrvikCalendarView& owner, const GridRect& place);
    // Shows the day with its text; true when the cell looks different now
    // and has been marked for painting, false when nothing changed. The undo
    // history belongs to the day: it goes when the cell shows another day,
    // or when `replacedFromOutside` (the text came from elsewhere than the
    // cell, even where it stays the same).
    bool Show(const Date& shown, bool inOtherMonth, const std::string& text,
              bool replacedFromOutside);
    // Marks the whole cell and its day label for painting.
    void Repaint();
    std::string GetText() const;
    // Selects from the anchor to the caret, byte offsets into its text (-1:
    // nothing), and scrolls the caret into view.
    void Select(int anchor, int caret);
    void Deselect();
    bool HasFocusFrame() const;
    // More lines than the cell shows: the wheel scrolls them.
    bool TextTallerThanCell() const;

    // The font of the text and of the day label (borrowed from the view).
    void SetFonts(HFONT text, HFONT label);

    // The view is about to go: a label lent to it comes back to the cell,
    // so that it goes with the cell.
    void ReclaimDayLabel();

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The platform EDIT control's own procedure.
    static LRESULT BaseProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    void PlaceDayLabel();
    LRESULT OnDayLabelColour(HDC dc);
    void OnSetFocus(HWND lostFocus);
    void OnKillFocus();
    void OnEraseBackground(HDC dc);
    LRESULT OnEditColour(HDC dc);
    void OnContextMenu(LPARAM position);
    int LineHeight() const;
    void SetScrollBars(bool shown);

    COrvikCalendarView* view = nullptr; // borrowed: the view owns its cells
    HWND dayLabel = nullptr; // child of the cell, or of the view while focused; null once gone
};

#pragma once

#include "core/Date.h"
#include "core/DayMoves.h"
#include "core/EventStore.h"
#include "core/Find.h"
#include "core/MonthGrid.h"
#include "framework/FindReplaceDialog.h"
#include "framework/Window.h"
#include "storage/Document.h"
#include "storage/XmlExport.h"
#include "view/CellPalette.h"
#include "view/DpiFonts.h"
#include "view/FindController.h"
#include "view/MyEdit.h"
#include "view/Selector.h"
#include "view/ViewHost.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CCommandBarCtrl;

struct AppSettings;

// The frame's client window: one month as six weeks of day cells, with the
// weekday names above and the week numbers at the left. It shows the
// document and hands what the user types in the cells to it.
class COrvikCalendarView : public CWindowImpl<COrvikCalendarView>, public CalendarNavigation {
  public:
    // Set by the frame before the window is created.
    const AppSettings* settings = nullptr; // borrowed: the frame's
    CCommandBarCtrl* commandBar = nullptr; // borrowed: opens the cells' Edit menu
    Document* document = nullptr;          // borrowed: the frame's
    ViewHost* host = nullptr;              // borrowed: the frame, which shows what the view says

    Date displayedDate;
    CMyEdit* currentCell = nullptr; // the cell that last had the focus, if any
    std::array<CMyEdit, kGridCells> cells;

    CFindController find{*this};

    COrvikCalendarView() = default;
    ~COrvikCalendarView();

    HWND Create(HWND frame, const RECT& place);
    // Fills the grid with the month of displayedDate from the store.
    void ShowMonth();
    // Writes every cell's text back into the document.
    void CollectCells();
    // The displayed month as the cells show it, for the XML export; collects
    // the cells first.
    MonthExport CurrentMonth();
    // The frame's title: "OrvikCalendar - " and the document name.
    void UpdateTitle();
    CMyEdit* CellForDate(const Date& date);
    // Shows the day's month and puts the focus into its cell with the text
    // from the anchor to the caret selected (bytes of the day's text).
    void ShowSelected(const Date& day, int anchor, int caret);
    // Shows the day's month and puts the focus into its cell with the line
    // selected where it still stands (a reminder's line).
    void ShowDayLine(const Date& day, const std::string& line);
    // Selects in the cell from the anchor to the caret (-1: nothing); no
    // other cell keeps a selection, whose highlight would show as well.
    void SelectInCell(CMyEdit& cell, int anchor, int caret);

    // The keyboard focus: on the cell that had it last, else today's.
    void RestoreFocus();
    // Today's cell gets the focus, the caret at the end of its text.
    void FocusToday();
    // Moves the focus to the day the move leads to from the current day,
    // showing its month when it lies outside the grid.
    void MoveFocus(DayMove move);
    void MoveFocusToToday();
    // Changes the weekday labels after "Sunday is first weekday" changed.
    void NameWeekdays();

    void GoPreviousYear() override;
    void GoNextYear() override;
    void GoPreviousMonth() override;
    void GoNextMonth() override;
    void GoToday() override;

    // The monitor's DPI changed: fonts for it, and the grid laid out again.
    void SetDpi(UINT newDpi);
    // The system's colours or its high-contrast mode changed.
    void OnSystemColoursChanged();

    // Used by the cells.
    const CellPalette& Palette() const { return palette; }
    CellColours ColoursOf(const CMyEdit& cell) const;
    // What a screen reader calls the cell: its day, today, another month.
    std::string CellNameOf(const CMyEdit& cell) const;
    UINT Dpi() const { return dpi; }
    const DpiFonts& Fonts() const { return fonts; }
    void ShowDateInStatusBar(const Date& date);
    void StoreCellText(const Date& date, const std::string& text);
    void ShowEditMenu(int x, int y);

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  private:
    void MakeMonth();
    void Layout(int width, int height);
    // What the cells were last placed for: a WM_SIZE that changes neither
    // places nothing again.
    struct LaidOutFor {
        int width = 0, height = 0;
        UINT dpi = 0;
    } laidOutFor;
    void ShowMonthAfterMove();
    void FocusDay(const Date& day, bool showItsMonth);
    bool SundayFirst() const;

    void GiveFonts();

    CellPalette palette; // outlives the cells' windows: the destructor destroys them first
    UINT dpi = 96;       // of the monitor the view is on
    DpiFonts fonts;      // for that DPI; outlives the windows that borrow them, as the palette
    std::array<HWND, kGridColumns> weekdayLabels{}; // children of the view
    std::array<HWND, kGridRows> weekNumberLabels{};
    bool filling = false; // the program, not the user, is setting cell texts
    Date filledOnDay;     // today, when the cells were last filled: it has its own colour
    std::uint64_t filledAfterReplacements = 0; // the document's, when the cells were last filled
};

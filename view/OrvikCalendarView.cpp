#include "view/OrvikCalendarView.h"

#include "core/DayText.h"
#include "framework/CommandBar.h"
#include "framework/Dpi.h"
#include "framework/Reflection.h"
#include "framework/RegisteredMessages.h"
#include "framework/WindowText.h"
#include "res/MessageTexts.h"
#include "res/resource.h"
#include "storage/AppSettings.h"

#include <commctrl.h>

#include <cstdio>
#include <utility>

namespace {

void GiveFont(HWND target, HFONT font, bool redraw) {
    SendMessageA(target, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

HWND CreateLabel(HWND parent, HFONT font, const GridRect& place) {
    HWND label = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_CENTER, place.left,
                                 place.top, place.width, place.height, parent, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    GiveFont(label, font, false); // not shown yet: nothing to redraw
    return label;
}

} // namespace

COrvikCalendarView::~COrvikCalendarView() {
    // The window and its cells go while every part of the view is still there.
    if (IsWindow())
        DestroyWindow(window);
}

HWND COrvikCalendarView::Create(HWND frame, const RECT& place) {
    WNDCLASSEXA description{};
    description.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    description.hInstance = GetModuleHandleA(nullptr);
    description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    const char* className = RegisterWindowClass(description);
    WindowCreateArgs args;
    args.exStyle = WS_EX_CLIENTEDGE;
    args.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    args.x = place.left;
    args.y = place.top;
    args.width = place.right - place.left;
    args.height = place.bottom - place.top;
    args.parent = frame;
    if (!CreateBoundWindow(className, args))
        return nullptr;
    // Made once the view is there: showing a view that has its hundred
    // windows already costs a start some 6 ms more than showing it empty.
    MakeMonth();
    return window;
}

bool COrvikCalendarView::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                              LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_SIZE:
        Layout(LOWORD(lParam), HIWORD(lParam));
        return true;
    case WM_DESTROY:
        for (CMyEdit& cell : cells)
            cell.ReclaimDayLabel();
        return true;
    default:
        break;
    }
    if (message == g_findReplaceMessage) {
        find.OnMessage(*reinterpret_cast<FINDREPLACEA*>(lParam));
        result = 1;
        return true;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        if (!filling)
            document->MarkModified();
        return true;
    }
    return ReflectNotification(message, wParam, lParam, result);
}

void COrvikCalendarView::MakeMonth() {
    currentCell = nullptr;
    dpi = WindowDpi(window);
    fonts = DpiFonts(dpi); // before the cells and labels, which take them at creation
    // Each window made in its place: moving a hundred windows afterwards
    // costs a round trip to the window server each.
    RECT client{};
    GetClientRect(window, &client);
    laidOutFor = {client.right, client.bottom, dpi};
    const GridLayout layout = LayoutGrid(client.right, client.bottom, static_cast<int>(dpi));
    for (int row = 0; row < kGridRows; ++row) {
        weekNumberLabels[static_cast<std::size_t>(row)] =
            CreateLabel(window, fonts.Bold(), layout.WeekNumberLabel(row));
        for (int column = 0; column < kGridColumns; ++column) {
            HWND& label = weekdayLabels[static_cast<std::size_t>(column)];
            if (!label)
                label = CreateLabel(window, fonts.Bold(), layout.WeekdayLabel(column));
            cells[static_cast<std::size_t>(row * kGridColumns + column)].Create(
                *this, layout.Cell(row, column));
        }
    }
    NameWeekdays();
    displayedDate.SetToday();
    displayedDate = Date(displayedDate.month, displayedDate.year);
    if (host)
        host->BeforeFirstMonth();
    ShowMonth();
    UpdateTitle();
}

void COrvikCalendarView::SetDpi(UINT newDpi) {
    dpi = newDpi;
    DpiFonts previous(std::move(fonts));
    fonts = DpiFonts(dpi);
    GiveFonts(); // the previous fonts go only after this
    RECT client{};
    GetClientRect(window, &client);
    Layout(client.right, client.bottom);
}

void COrvikCalendarView::GiveFonts() {
    for (HWND label : weekdayLabels)
        GiveFont(label, fonts.Bold(), true);
    for (HWND label : weekNumberLabels)
        GiveFont(label, fonts.Bold(), true);
    for (CMyEdit& cell : cells)
        cell.SetFonts(fonts.Text(), fonts.Bold());
}

void COrvikCalendarView::OnSystemColoursChanged() {
    palette.ReadHighContrast();
    RedrawWindow(window, nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

CellColours COrvikCalendarView::ColoursOf(const CMyEdit& cell) const {
    Date today;
    today.SetToday();
    return CellColoursFor(cell.date, cell.otherMonth, today, palette.HighContrast());
}

std::string COrvikCalendarView::CellNameOf(const CMyEdit& cell) const {
    Date today;
    today.SetToday();
    return CellName(cell.date, today, displayedDate);
}

void COrvikCalendarView::NameWeekdays() {
    Date weekday = Date::FromWeekday(SundayFirst() ? 1 : 2);
    for (HWND label : weekdayLabels)
        SetWindowTextA(label, weekday.PostIncrement().Format(1).c_str());
}

void COrvikCalendarView::Layout(int width, int height) {
    // The WM_SIZE of the view's creation comes before the cells are made.
    if (!cells.front().IsWindow() || width <= 0 || height <= 0 ||
        (width == laidOutFor.width && height == laidOutFor.height && dpi == laidOutFor.dpi))
        return;
    laidOutFor = {width, height, dpi};
    const GridLayout layout = LayoutGrid(width, height, static_cast<int>(dpi));
    HDWP positions = BeginDeferWindowPos(kGridCells + kGridRows + kGridColumns);
    auto place = [&positions](HWND child, const GridRect& rect, UINT flags) {
        if (positions)
            positions = DeferWindowPos(positions, child, nullptr, rect.left, rect.top, rect.width,
                                       rect.height, flags | SWP_NOACTIVATE);
    };
    for (int column = 0; column < kGridColumns; ++column)
        place(weekdayLabels[static_cast<std::size_t>(column)], layout.WeekdayLabel(column),
              SWP_NOZORDER);
    for (int row = 0; row < kGridRows; ++row) {
        place(weekNumberLabels[static_cast<std::size_t>(row)], layout.WeekNumberLabel(row),
              SWP_NOZORDER);
        for (int column = 0; column < kGridColumns; ++column) {
            CMyEdit& cell = cells[static_cast<std::size_t>(row * kGridColumns + column)];
            // The focused cell keeps its scroll bars on top of its neighbours.
            const bool focused = GetFocus() == cell.window;
            place(cell.window, layout.Cell(row, column),
                  focused ? SWP_FRAMECHANGED | SWP_NOCOPYBITS : SWP_NOZORDER);
        }
    }
    if (positions)
        EndDeferWindowPos(positions);
}

void COrvikCalendarView::ShowMonth() {
    const bool sundayFirst = SundayFirst();
    Date day = FirstGridDate(displayedDate, sundayFirst);
    // Only what changed is set and painted again; the paint comes once the
    // queue is empty, for all cells together. Every cell changes colour when
    // the day has changed since the last fill.
    Date today;
    today.SetToday();
    const bool todayMoved = !(today == filledOnDay);
    filledOnDay = today;
    const bool replaced = document->OutsideReplacements() != filledAfterReplacements;
    filledAfterReplacements = document->OutsideReplacements();
    filling = true;
    for (int row = 0; row < kGridRows; ++row) {
        char week[16];
        std::snprintf(week, sizeof week, "%d", day.WeekOfYear());
        SetWindowTextIfChanged(weekNumberLabels[static_cast<std::size_t>(row)], week);
        for (int column = 0; column < kGridColumns; ++column) {
            CMyEdit& cell = cells[static_cast<std::size_t>(row * kGridColumns + column)];
            if (!cell.Show(day, day.month != displayedDate.month, document->Store().Lookup(day),
                           replaced) &&
                todayMoved)
                cell.Repaint();
            day.PostIncrement();
        }
    }
    filling = false;
    if (host) {
        char caption[64];
        std::snprintf(caption, sizeof caption, "%s %d", displayedDate.Format(2).c_str(),
                      displayedDate.year);
        host->ShowMonthCaption(caption);
    }
}

void COrvikCalendarView::CollectCells() {
    for (CMyEdit& cell : cells)
        document->SetDayText(cell.date, NormalizeLineBreaks(cell.GetText()));
}

MonthExport COrvikCalendarView::CurrentMonth() {
    CollectCells();
    MonthExport month;
    month.displayedDate = displayedDate;
    for (CMyEdit& cell : cells)
        month.days.push_back({cell.date, cell.GetText()});
    month.today.SetToday();
    month.xslTemplate = settings ? settings->XSLTemplate : std::string(ORVIK_DEFAULT_XSL_TEMPLATE);
    month.sundayFirst = SundayFirst();
    month.encoding = EncodingNameForCodePage(GetACP());
    return month;
}

void COrvikCalendarView::UpdateTitle() {
    if (host)
        host->ShowTitle(ORVIK_CAPTION " - " + document->Name());
}

CMyEdit* COrvikCalendarView::CellForDate(const Date& date) {
    for (CMyEdit& cell : cells) {
        if (cell.date == date)
            return &cell;
    }
    return nullptr;
}

void COrvikCalendarView::RestoreFocus() {
    if (currentCell && currentCell->IsWindow())
        SetFocus(currentCell->window);
    else
        FocusToday();
}

void COrvikCalendarView::FocusToday() {
    Date today;
    today.SetToday();
    if (CMyEdit* cell = CellForDate(today)) {
        SetFocus(cell->window);
        const int end = GetWindowTextLengthA(cell->window);
        SendMessageA(cell->window, EM_SETSEL, static_cast<WPARAM>(end), end);
    }
}

void COrvikCalendarView::MoveFocus(DayMove move) {
    Date from;
    from.SetToday();
    if (currentCell)
        from = currentCell->date;
    // A month or a year away is shown as that month, even where the grid
    // shows the day already among the neighbouring month's days.
    const bool showItsMonth = move != DayMove::PreviousDay && move != DayMove::NextDay &&
                              move != DayMove::PreviousWeek && move != DayMove::NextWeek;
    FocusDay(MovedDay(from, move), showItsMonth);
}

void COrvikCalendarView::MoveFocusToToday() {
    Date today;
    FocusDay(today.SetToday(), true);
}

void COrvikCalendarView::FocusDay(const Date& day, bool showItsMonth) {
    if (!CellForDate(day) || (showItsMonth && day.month != displayedDate.month)) {
        displayedDate = day;
        ShowMonthAfterMove();
    }
    if (CMyEdit* cell = CellForDate(day))
        SetFocus(cell->window);
}

void COrvikCalendarView::ShowSelected(const Date& day, int anchor, int caret) {
    displayedDate = day;
    ShowMonthAfterMove();
    CMyEdit* cell = CellForDate(day);
    if (!cell)
        return;
    currentCell = cell;
    SetFocus(cell->window);
    SelectInCell(*cell, anchor, caret);
}

void COrvikCalendarView::SelectInCell(CMyEdit& cell, int anchor, int caret) {
    for (CMyEdit& other : cells) {
        if (&other != &cell)
            other.Deselect();
    }
    cell.Select(anchor, caret);
}

void COrvikCalendarView::ShowMonthAfterMove() {
    CollectCells();
    ShowMonth();
}

void COrvikCalendarView::GoPreviousYear() {
    displayedDate.AddYears(-1);
    ShowMonthAfterMove();
}

void COrvikCalendarView::GoNextYear() {
    displayedDate.AddYears(1);
    ShowMonthAfterMove();
}

void COrvikCalendarView::GoPreviousMonth() {
    Date first(displayedDate.month, displayedDate.year);
    displayedDate = first.SetDayNumber(first.dayNumber - 1);
    ShowMonthAfterMove();
}

void COrvikCalendarView::GoNextMonth() {
    Date next(displayedDate.month, displayedDate.year);
    next.NextMonth();
    // Rebuild the fields from the day number.
    next.SetDayNumber(next.dayNumber - 1);
    next.SetDayNumber(next.dayNumber + 1);
    displayedDate = next;
    ShowMonthAfterMove();
}

void COrvikCalendarView::GoToday() {
    displayedDate.SetToday();
    ShowMonthAfterMove();
}

void COrvikCalendarView::ShowDateInStatusBar(const Date& date) {
    if (host)
        host->ShowStatus(date.Format(3));
}

void COrvikCalendarView::StoreCellText(const Date& date, const std::string& text) {
    document->SetDayText(date, text);
}

void COrvikCalendarView::ShowEditMenu(int x, int y) {
    if (!commandBar || !commandBar->GetMenu())
        return;
    commandBar->TrackPopupMenu(GetSubMenu(commandBar->GetMenu(), 1),
                               TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y);
}

bool COrvikCalendarView::SundayFirst() const {
    return settings && settings->SundayFirst;
}

void COrvikCalendarView::ShowDayLine(const Date& day, const std::string& line) {
    displayedDate = day;
    ShowMonthAfterMove();
    CMyEdit* cell = CellForDate(day);
    if (!cell)
        return;
    SetFocus(cell->window);
    const std::size_t at = cell->GetText().find(line);
    if (at == std::string::npos)
        SelectInCell(*cell, -1, 0);
    else
        SelectInCell(*cell, static_cast<int>(at), static_cast<int>(at + line.size()));
}

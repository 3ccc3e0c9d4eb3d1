#include "view/MyEdit.h"

#include "core/MonthGrid.h"
#include "core/Utf8.h"
#include "framework/AccessibleObject.h"
#include "framework/OwnedHandle.h"
#include "framework/Reflection.h"
#include "framework/WindowText.h"
#include "view/OrvikCalendarView.h"

#include <oleacc.h>

#include <cstdio>

namespace {

// A cell's name is its day, which changes with the month shown; the rest
// is the edit control's (its value is the text).
AccessibleLook NamedByTheCell() {
    AccessibleLook look;
    look.nameFromWindow = true;
    look.textIsValue = true;
    look.role = ROLE_SYSTEM_TEXT;
    return look;
}

const UINT kReflectedEditColour = WM_CTLCOLOREDIT + kReflectedMessage;
// Recalculate the frame without moving, sizing, reordering or activating.
const UINT kFrameChanged =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

WNDPROC editProcedure = nullptr; // the platform EDIT control's own

// Whether the child already has this place in its parent.
bool IsPlacedAt(HWND child, const GridRect& place) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect.left == place.left && rect.top == place.top &&
           rect.right - rect.left == place.width && rect.bottom - rect.top == place.height;
}

} // namespace

CMyEdit::~CMyEdit() {
    // While the cell is whole: its handlers reclaim the day label.
    if (IsWindow())
        DestroyWindow(window);
}

HWND CMyEdit::Create(COrvikCalendarView& owner, const GridRect& place) {
    view = &owner;
    WNDCLASSEXA description{};
    description.cbSize = sizeof description;
    GetClassInfoExA(nullptr, "EDIT", &description);
    editProcedure = description.lpfnWndProc;
    description.hInstance = GetModuleHandleA(nullptr);
    const char* className = RegisterWindowClass(description);
    WindowCreateArgs args;
    args.style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_NOHIDESEL | ES_AUTOHSCROLL |
                 ES_AUTOVSCROLL | ES_MULTILINE;
    args.x = place.left;
    args.y = place.top;
    args.width = place.width;
    args.height = place.height;
    args.parent = owner.window;
    return CreateBoundWindow(className, args);
}

LRESULT CMyEdit::BaseProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(editProcedure, hwnd, message, wParam, lParam);
}

void CMyEdit::ReclaimDayLabel() {
    if (dayLabel && GetParent(dayLabel) != window)
        SetParent(dayLabel, window);
}

bool CMyEdit::Show(const Date& shown, bool inOtherMonth, const std::string& text,
                   bool replacedFromOutside) {
    // A cell just made has no reader's name, no undo history and no paint yet.
    const bool firstDay = date == Date();
    const bool otherDay = !(shown == date);
    const bool looksOther = otherDay || inOtherMonth != otherMonth;
    date = shown;
    otherMonth = inOtherMonth;
    char number[16];
    std::snprintf(number, sizeof number, "%d", date.day);
    SetStaticTextUnpainted(dayLabel, number); // painted with the cell below
    const bool textChanged = SetWindowTextIfChanged(window, text.c_str());
    if (firstDay)
        return true;
    // A screen reader hears the new day, the focused cell's too.
    if (looksOther)
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
    // Else Ctrl+Z would put another day's text, or one replaced, back here.
    if (otherDay || replacedFromOutside)
        SendMessageA(window, EM_EMPTYUNDOBUFFER, 0, 0);
    if (looksOther)
        Repaint(); // the colour depends on the date
    return looksOther || textChanged;
}

void CMyEdit::Repaint() {
    RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
    if (dayLabel && GetParent(dayLabel) != window)
        InvalidateRect(dayLabel, nullptr, TRUE);
}

std::string CMyEdit::GetText() const {
    return WindowText(window);
}

namespace {

// The texts are UTF-8 bytes; in a program running in UTF-8 the control counts
// its positions in UTF-16 units, as it holds the text.
int EditPosition(const std::string& text, int byteOffset) {
    if (byteOffset < 0 || GetACP() != CP_UTF8)
        return byteOffset;
    return static_cast<int>(Utf16Offset(text, static_cast<std::size_t>(byteOffset)));
}

} // namespace

void CMyEdit::Select(int anchor, int caret) {
    const std::string text = GetText();
    SendMessageA(window, EM_SETSEL, static_cast<WPARAM>(EditPosition(text, anchor)),
                 EditPosition(text, caret));
    SendMessageA(window, EM_SCROLLCARET, 0, 0);
}

void CMyEdit::Deselect() {
    DWORD start = 0, end = 0;
    SendMessageA(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    if (start != end)
        SendMessageA(window, EM_SETSEL, static_cast<WPARAM>(-1), 0);
}

bool CMyEdit::HasFocusFrame() const {
    return GetWindowLongA(window, GWL_STYLE) & WS_VSCROLL;
}

bool CMyEdit::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_CREATE:
        result = OnCreate(wParam, lParam);
        return true;
    case WM_SIZE:
        PlaceDayLabel();
        return false;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) != dayLabel)
            return false;
        result = OnDayLabelColour(reinterpret_cast<HDC>(wParam));
        return true;
    case WM_SETFOCUS:
        OnSetFocus(reinterpret_cast<HWND>(wParam));
        return false;
    case WM_ERASEBKGND:
        OnEraseBackground(reinterpret_cast<HDC>(wParam));
        result = 1; // erased: nothing else paints over it
        return true;
    case kReflectedEditColour:
        result = OnEditColour(reinterpret_cast<HDC>(wParam));
        return true;
    case WM_KILLFOCUS:
        OnKillFocus();
        return false;
    case WM_NCPAINT:
        // The scroll bars' corner square is painted over the day label that
        // lies above it while the cell has the focus: draw the label again.
        result = DefaultHandling(message, wParam, lParam);
        if (HasFocusFrame())
            RedrawWindow(dayLabel, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return true;
    case WM_CONTEXTMENU:
        OnContextMenu(lParam);
        result = 0;
        return true;
    case WM_GETOBJECT:
        // The client object only: others (UI Automation's among them) are the platform's.
        if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT))
            return false;
        result = AnswerAccessibleObject(window, wParam, NamedByTheCell());
        return true;
    case kAccessibleNameMessage:
        *reinterpret_cast<std::string*>(wParam) = view->CellNameOf(*this);
        result = 1;
        return true;
    case WM_DESTROY:
        ReclaimDayLabel(); // so that it goes with the cell
        return false;
    case WM_NCDESTROY:
        dayLabel = nullptr;
        return false;
    default:
        return false;
    }
}

LRESULT CMyEdit::OnCreate(WPARAM wParam, LPARAM lParam) {
    otherMonth = false;
    // Made in its place: a move costs a round trip to the window server,
    // and the WM_SIZE after the creation then finds nothing to move.
    RECT client{};
    GetClientRect(window, &client);
    const GridRect place = DayLabelInCell(client.right, static_cast<int>(view->Dpi()));
    dayLabel = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_CENTER, place.left,
                               place.top, place.width, place.height, window, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    HideControlFromReaders(dayLabel); // the cell's name says the day

    const LRESULT created = DefaultHandling(WM_CREATE, wParam, lParam);
    // No limit on what the user types: a day holds as much as the diary file.
    SendMessageA(window, EM_SETLIMITTEXT, 0, 0);
    // Not shown yet: no redraw.
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(view->Fonts().Text()), FALSE);
    SendMessageA(dayLabel, WM_SETFONT, reinterpret_cast<WPARAM>(view->Fonts().Bold()), FALSE);
    return created;
}

void CMyEdit::SetFonts(HFONT text, HFONT label) {
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(text), TRUE);
    SendMessageA(dayLabel, WM_SETFONT, reinterpret_cast<WPARAM>(label), TRUE);
    PlaceDayLabel(); // its size follows the DPI
}

void CMyEdit::PlaceDayLabel() {
    if (!dayLabel)
        return;
    const int dpi = static_cast<int>(view->Dpi());
    if (!HasFocusFrame()) {
        RECT client{};
        GetClientRect(window, &client);
        const GridRect place = DayLabelInCell(client.right, dpi);
        if (!IsPlacedAt(dayLabel, place))
            MoveWindow(dayLabel, place.left, place.top, place.width, place.height, TRUE);
        return;
    }
    // Over the corner square between the two scroll bars, in the view's
    // coordinates: the label is about to become (or is) the view's child.
    RECT frame{};
    GetWindowRect(window, &frame);
    const GridRect place = DayLabelOverCorner(frame.right, frame.bottom, dpi);
    POINT corner{place.left, place.top};
    ScreenToClient(view->window, &corner);
    SetWindowPos(dayLabel, HWND_TOP, corner.x, corner.y, place.width, place.height, SWP_NOACTIVATE);
}

LRESULT CMyEdit::OnDayLabelColour(HDC dc) {
    const CellColours colours = view->ColoursOf(*this);
    const CellPalette& palette = view->Palette();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, palette.Colour(colours.labelText));
    return reinterpret_cast<LRESULT>(palette.Brush(colours.labelFill));
}

void CMyEdit::OnSetFocus(HWND lostFocus) {
    // At most one cell shows a selection.
    if (lostFocus)
        SendMessageA(lostFocus, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    view->ShowDateInStatusBar(date);
    view->currentCell = this;
    if (!HasFocusFrame())
        SetScrollBars(true);
    SetParent(dayLabel, view->window);
    SetWindowPos(dayLabel, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CMyEdit::OnKillFocus() {
    const LRESULT lines = SendMessageA(window, EM_GETLINECOUNT, 0, 0);
    SendMessageA(window, EM_LINESCROLL, static_cast<WPARAM>(-65535), -lines);
    if (HasFocusFrame())
        SetScrollBars(false);
    SetParent(dayLabel, window);
    view->StoreCellText(date, GetText());
}

void CMyEdit::SetScrollBars(bool shown) {
    LONG style = GetWindowLongA(window, GWL_STYLE);
    style = shown ? (style | WS_VSCROLL | WS_HSCROLL) : (style & ~(WS_VSCROLL | WS_HSCROLL));
    SetWindowLongA(window, GWL_STYLE, style);
    SetWindowPos(window, nullptr, 0, 0, 0, 0, kFrameChanged);
}

void CMyEdit::OnEraseBackground(HDC dc) {
    RECT client{};
    GetClientRect(window, &client);
    const COLORREF previous =
        SetBkColor(dc, view->Palette().Colour(view->ColoursOf(*this).background));
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
    SetBkColor(dc, previous);
}

LRESULT CMyEdit::OnEditColour(HDC dc) {
    const CellColours colours = view->ColoursOf(*this);
    const CellPalette& palette = view->Palette();
    SetBkColor(dc, palette.Colour(colours.background));
    SetTextColor(dc, palette.Colour(colours.text));
    // The control fills the space after the text with the brush it is given.
    return reinterpret_cast<LRESULT>(palette.Brush(colours.background));
}

void CMyEdit::OnContextMenu(LPARAM position) {
    POINT at{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    // Shift+F10 and the Menu key say -1, -1: the menu opens under the caret.
    if (at.x == -1 && at.y == -1) {
        GetCaretPos(&at);
        at.y += LineHeight();
        ClientToScreen(window, &at);
    }
    view->ShowEditMenu(at.x, at.y);
}

int CMyEdit::LineHeight() const {
    WindowDC dc(window);
    SelectedObject font(dc.Get(),
                        reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.Get(), &metrics);
    return metrics.tmHeight;
}

bool CMyEdit::TextTallerThanCell() const {
    RECT client{};
    GetClientRect(window, &client);
    const LRESULT lines = SendMessageA(window, EM_GETLINECOUNT, 0, 0);
    return lines * LineHeight() > client.bottom - client.top;
}

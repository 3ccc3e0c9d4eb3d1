#include "tests/support/DateHelpers.h"
#include "tests/support/Screen.h"
#include "tests/support/ScreenReader.h"
#include "tests/window/MainFrameFixture.h"

#include "core/Dpi.h"
#include "res/SelectorIds.h"
#include "res/resource.h"

#include <commctrl.h>

#include <cstdlib>
#include <string>

namespace {

// Today is pinned to Thursday 12 March 2026 for every test here.
class MonthView : public MainFrameTest {
  protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        window = CreateFrame();
        SetForegroundWindow(window);
        PumpUntilIdle();
    }
    CMyEdit& Cell(int index) { return View().cells[static_cast<std::size_t>(index)]; }
    CMyEdit& CellOf(int year, int month, int day) {
        return *View().CellForDate(Ymd(year, month, day));
    }
    std::string Caption() { return WindowText(MonthButton()); }
    static std::string WindowText(HWND window) {
        char text[256] = "";
        GetWindowTextA(window, text, sizeof text);
        return text;
    }
    void ShowMonth(int year, int month) {
        View().displayedDate = Ymd(year, month, 1);
        View().ShowMonth();
        PumpUntilIdle();
    }
    void Click(int buttonId) {
        SendMessageA(GetDlgItem(Navigator().window, buttonId), BM_CLICK, 0, 0);
        PumpUntilIdle();
    }
    void Type(HWND cell, const std::string& text) {
        SetFocus(cell);
        for (char c : text)
            SendMessageA(cell, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1);
        PumpUntilIdle();
    }
    // Runs a message through the loop's filter and dispatch, as the real loop does.
    void ThroughLoop(MSG message) {
        if (!loop.PreTranslateMessage(&message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        PumpUntilIdle();
    }
    PinnedNow today{2026, 3, 12};
    HWND window = nullptr;
};

TEST_F(MonthView, ShowsTheMonthOfTodayWithStoreTextsAndDayNumbers) {
    OpenDiary({{Ymd(2026, 3, 12), "11:00 Dentist"}, {Ymd(2026, 4, 2), "in the next month"}});
    EXPECT_EQ(Caption(), "March 2026");
    EXPECT_EQ(Cell(0).date, Ymd(2026, 2, 23)) << "Monday first: the grid starts in February";
    EXPECT_TRUE(Cell(0).otherMonth);
    EXPECT_FALSE(CellOf(2026, 3, 1).otherMonth);
    EXPECT_TRUE(CellOf(2026, 4, 2).otherMonth);
    EXPECT_EQ(CellOf(2026, 3, 12).GetText(), "11:00 Dentist");
    EXPECT_EQ(CellOf(2026, 4, 2).GetText(), "in the next month");
    EXPECT_EQ(Cell(41).date, Ymd(2026, 4, 5));
    EXPECT_FALSE(Doc().IsModified()) << "showing a month is not an edit";
}

TEST_F(MonthView, WeekdayNamesFollowSundayFirstAtCreation) {
    HWND label = FindWindowExA(View().window, nullptr, "Static", "Monday");
    ASSERT_NE(label, nullptr);
    frame.reset();
    frame = std::make_unique<CMainFrame>();
    Settings().SundayFirst = 1;
    frame->CreateEx();
    PumpUntilIdle();
    EXPECT_EQ(Cell(0).date, Ymd(2026, 3, 1)) << "1 March 2026 is a Sunday";
    RECT sunday{}, monday{};
    GetWindowRect(FindWindowExA(View().window, nullptr, "Static", "Sunday"), &sunday);
    GetWindowRect(FindWindowExA(View().window, nullptr, "Static", "Monday"), &monday);
    EXPECT_LT(sunday.left, monday.left);
}

TEST_F(MonthView, TypingSetsModifiedAndEnablesSave) {
    RunIdle();
    EXPECT_FALSE(frame->UIIsEnabled(ID_FILE_SAVE));
    Type(CellOf(2026, 3, 20).window, "x");
    EXPECT_TRUE(Doc().IsModified());
    RunIdle();
    EXPECT_TRUE(frame->UIIsEnabled(ID_FILE_SAVE));
    ShowMonth(2026, 5);
    EXPECT_TRUE(Doc().IsModified()) << "showing another month keeps the flag";
}

TEST_F(MonthView, EditsSurviveMovingAwayAndBack) {
    Type(CellOf(2026, 3, 20).window, "a\rb"); // Enter types a carriage return
    Type(CellOf(2026, 3, 21).window, "second");
    Click(IDC_NEXT_MONTH);
    EXPECT_EQ(Caption(), "April 2026");
    Click(IDC_PREVIOUS_MONTH);
    EXPECT_EQ(CellOf(2026, 3, 20).GetText(), "a\r\nb");
    EXPECT_EQ(CellOf(2026, 3, 21).GetText(), "second");
    EXPECT_EQ(Store().Lookup(Ymd(2026, 3, 21)), "second");
}

TEST_F(MonthView, CollectCellsNormalisesLineBreaksAndKeepsEmptiedEntries) {
    OpenDiary({{Ymd(2026, 3, 3), "to be cleared"}});
    const struct {
        int day;
        const char* typed;
        const char* stored;
    } cases[] = {
        {10, "a\nb", "a\r\nb"}, {11, "a\r\r\nb", "a\r\nb"}, {12, "a\rb", "ab"}, {3, "", ""}};
    for (const auto& c : cases)
        SetWindowTextA(CellOf(2026, 3, c.day).window, c.typed);
    const int countBefore = Store().GetCount();
    View().CollectCells();
    for (const auto& c : cases)
        EXPECT_EQ(Store().Lookup(Ymd(2026, 3, c.day)), c.stored) << c.day;
    EXPECT_EQ(Store().GetCount(), countBefore + 3) << "the emptied day keeps its entry";
    EXPECT_EQ(Store().FindIndex(Ymd(2026, 3, 3)), 0);
}

TEST_F(MonthView, AHugeDayTextIsKeptWholeAndTakesMore) {
    const std::string huge(100000, 'x');
    OpenDiary({{Ymd(2026, 3, 12), huge}});
    Type(CellOf(2026, 3, 12).window, "y");
    View().CollectCells();
    EXPECT_EQ(Store().Lookup(Ymd(2026, 3, 12)).size(), huge.size() + 1);
}

TEST_F(MonthView, FocusInAndOut) {
    CMyEdit& first = CellOf(2026, 3, 12);
    CMyEdit& second = CellOf(2026, 3, 13);
    SetWindowTextA(first.window, "12 March");
    SetFocus(first.window);
    PumpUntilIdle();
    char status[128] = "";
    SendMessageA(StatusBar(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(status));
    EXPECT_STREQ(status, "Thursday, March 12, 2026");
    EXPECT_EQ(View().currentCell, &first);
    const LONG style = GetWindowLongA(first.window, GWL_STYLE);
    EXPECT_TRUE((style & WS_VSCROLL) && (style & WS_HSCROLL));
    HWND label = FindWindowExA(View().window, nullptr, "Static", "12");
    ASSERT_NE(label, nullptr) << "the day label moved into the view";
    RECT cellRect{}, labelRect{};
    GetWindowRect(first.window, &cellRect);
    GetWindowRect(label, &labelRect);
    EXPECT_EQ(labelRect.right, cellRect.right);
    EXPECT_EQ(labelRect.bottom, cellRect.bottom - 1);
    EXPECT_EQ(labelRect.right - labelRect.left, 18);
    SendMessageA(first.window, EM_SETSEL, 0, 5);

    SetFocus(second.window);
    PumpUntilIdle();
    EXPECT_EQ(View().currentCell, &second);
    EXPECT_EQ(GetWindowLongA(first.window, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);
    EXPECT_EQ(GetParent(label), first.window) << "the label went back into the cell";
    GetWindowRect(label, &labelRect);
    RECT client{};
    GetClientRect(first.window, &client);
    POINT labelCorner{labelRect.left, labelRect.top};
    ScreenToClient(first.window, &labelCorner);
    EXPECT_EQ(labelCorner.x, client.right - 19);
    EXPECT_EQ(labelCorner.y, 1);
    DWORD start = 0, end = 0;
    SendMessageA(first.window, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, end) << "the cell that lost the focus shows no selection";
    EXPECT_EQ(Store().Lookup(Ymd(2026, 3, 12)), "12 March") << "written at focus out";
}

TEST_F(MonthView, NavigatorButtonsAndCaption) {
    const struct {
        int startYear, startMonth, button;
        const char* caption;
    } cases[] = {
        {2026, 1, IDC_PREVIOUS_MONTH, "December 2025"}, {2026, 1, IDC_NEXT_MONTH, "February 2026"},
        {2026, 12, IDC_NEXT_MONTH, "January 2027"},     {2026, 3, IDC_PREVIOUS_YEAR, "March 2025"},
        {2026, 3, IDC_NEXT_YEAR, "March 2027"},         {2024, 7, IDC_MONTH_BUTTON, "March 2026"},
    };
    for (const auto& c : cases) {
        ShowMonth(c.startYear, c.startMonth);
        Click(c.button);
        EXPECT_EQ(Caption(), c.caption)
            << c.startMonth << "/" << c.startYear << " button " << c.button;
    }
}

TEST_F(MonthView, WheelAndMiddleClick) {
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(Caption(), "April 2026");
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(Caption(), "February 2026");
    Type(CellOf(2026, 2, 14).window, "valentine");
    ThroughLoop({CellOf(2026, 2, 14).window, WM_MBUTTONUP, 0, 0, 0, {0, 0}});
    EXPECT_EQ(Caption(), "March 2026");
    EXPECT_EQ(Store().Lookup(Ymd(2026, 2, 14)), "valentine");
}

// The pixel a little inside the lower-left corner, away from text and label,
// as painted: a cell that was not marked for painting shows its old colour.
COLORREF BackgroundPixel(HWND cell) {
    RECT client{};
    GetClientRect(cell, &client);
    RedrawWindow(cell, nullptr, nullptr, RDW_UPDATENOW);
    HDC dc = GetDC(cell);
    const COLORREF pixel = GetPixel(dc, 4, client.bottom - 4);
    ReleaseDC(cell, dc);
    return pixel;
}

TEST_F(MonthView, CellColoursOnScreen) {
    OpenDiary({{Ymd(2026, 3, 13), "a text that stays"}});
    SetFocus(Navigator().window);
    PumpUntilIdle();
    const COLORREF today = RGB(255, 255, 204), thisMonthLater = today,
                   thisMonthPast = RGB(223, 223, 172), otherMonthLater = RGB(240, 240, 160),
                   otherMonthPast = RGB(208, 208, 128);
    // Only cells that changed are painted again: each step changes colours
    // of cells whose text stays.
    const struct {
        const char* step;
        int shownMonth;
        int today; // of March 2026
        int month, day;
        COLORREF colour;
    } cases[] = {
        {"at start", 3, 12, 3, 12, today},
        {"at start", 3, 12, 3, 11, thisMonthPast},
        {"at start", 3, 12, 4, 2, otherMonthLater},
        {"at start", 3, 12, 2, 24, otherMonthPast},
        {"April shown", 4, 12, 4, 2, thisMonthLater},
        {"April shown", 4, 12, 3, 30, otherMonthLater},
        {"back in March", 3, 12, 3, 30, thisMonthLater},
        {"a day later", 3, 13, 3, 13, today},
        {"a day later", 3, 13, 3, 12, thisMonthPast},
    };
    for (const auto& c : cases) {
        if (c.today != 12)
            PinNow(LocalMoment(2026, 3, c.today, 12, 0));
        ShowMonth(2026, c.shownMonth);
        EXPECT_EQ(BackgroundPixel(CellOf(2026, c.month, c.day).window), c.colour)
            << c.step << ": " << c.month << "/" << c.day;
        // A day label shows its new day, not what it showed before.
        for (int index = 0; index < kGridCells; ++index) {
            HWND label = FindWindowExA(Cell(index).window, nullptr, "Static", nullptr);
            EXPECT_EQ(ClientPixels(label, true), ClientPixels(label, false))
                << c.step << ": the day label of cell " << index;
        }
    }
}

int FontHeight(HWND window) {
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    return std::abs(font.lfHeight);
}

RECT RectIn(HWND window, HWND parent) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The grid, a weekday label and a day label where the layout puts them at
// this DPI, and a cell font made for it.
void ExpectLaidOutAt(HWND view, const CMyEdit& firstCell, const CMyEdit& tenthCell, int dpi) {
    RECT client{};
    GetClientRect(view, &client);
    const GridLayout layout = LayoutGrid(client.right, client.bottom, dpi);
    const RECT cell = RectIn(tenthCell.window, view);
    const GridRect expected = layout.Cell(1, 2);
    EXPECT_EQ(cell.left, expected.left);
    EXPECT_EQ(cell.top, expected.top);
    EXPECT_EQ(cell.right - cell.left, expected.width);
    HWND monday = FindWindowExA(view, nullptr, "Static", "Monday");
    ASSERT_NE(monday, nullptr);
    const RECT weekday = RectIn(monday, view);
    EXPECT_EQ(weekday.bottom - weekday.top, ScaleForDpi(20, dpi));
    HWND dayLabel = FindWindowExA(firstCell.window, nullptr, "Static", nullptr);
    ASSERT_NE(dayLabel, nullptr);
    const RECT label = RectIn(dayLabel, firstCell.window);
    EXPECT_EQ(label.right - label.left, ScaleForDpi(18, dpi));
    EXPECT_EQ(label.bottom - label.top, ScaleForDpi(15, dpi));
    EXPECT_GE(FontHeight(firstCell.window), ScaleForDpi(11, dpi)) << "the font follows the DPI";
}

// The monitor's DPI changes as when the window moves to another monitor:
// the message comes through the loop with the rectangle Windows suggests.
TEST_F(MonthView, DpiChangeScalesLayoutFontsAndImages) {
    SendMessageA(window, WM_COMMAND, ID_EDIT_SEARCH_ALL, 0); // a panel that borrows the font
    PumpUntilIdle();
    CMyEdit& focused = CellOf(2026, 3, 27); // 27: no week number's text
    SetFocus(focused.window);
    PumpUntilIdle();
    ASSERT_EQ(View().Dpi(), 96u) << "the test display runs at 96 DPI";
    const int textHeight96 = FontHeight(Cell(0).window);
    const HFONT font96 = reinterpret_cast<HFONT>(SendMessageA(Cell(0).window, WM_GETFONT, 0, 0));
    ASSERT_GT(textHeight96, 0);
    for (const int dpi : {144, 96}) {
        SCOPED_TRACE(testing::Message() << dpi << " DPI");
        RECT suggested{10, 10, 10 + ScaleForDpi(800, dpi), 10 + ScaleForDpi(600, dpi)};
        ThroughLoop({window,
                     WM_DPICHANGED,
                     MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested),
                     0,
                     {0, 0}});
        EXPECT_EQ(View().Dpi(), static_cast<UINT>(dpi));
        RECT placed{};
        GetWindowRect(window, &placed);
        EXPECT_TRUE(EqualRect(&placed, &suggested)) << "the frame takes the suggested rectangle";

        EXPECT_NEAR(FontHeight(Cell(0).window), textHeight96 * dpi / 96, 1);
        EXPECT_EQ(FontHeight(Cell(41).window), FontHeight(Cell(0).window)) << "one font for all";
        EXPECT_EQ(SendDlgItemMessageA(SearchPanel().window, IDC_SEARCH_HITS, WM_GETFONT, 0, 0),
                  SendMessageA(Cell(0).window, WM_GETFONT, 0, 0))
            << "the search panel follows";
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(MonthButton(), WM_GETFONT, 0, 0)),
                  View().Fonts().Bold())
            << "the navigator's month button follows";
        if (dpi != 96) {
            EXPECT_NE(reinterpret_cast<HFONT>(SendMessageA(Cell(0).window, WM_GETFONT, 0, 0)),
                      font96);
        }

        ExpectLaidOutAt(View().window, Cell(0), Cell(9), dpi);
        HWND focusedLabel = FindWindowExA(View().window, nullptr, "Static", "27");
        ASSERT_NE(focusedLabel, nullptr);
        // A screen reader hears the day from its cell, not from the label.
        EXPECT_EQ(HeardOf(focused.window).name, "Friday, March 27, 2026");
        EXPECT_TRUE(HeardOf(focusedLabel).state & STATE_SYSTEM_INVISIBLE);
        RECT cellFrame{}, corner{};
        GetWindowRect(focused.window, &cellFrame);
        GetWindowRect(focusedLabel, &corner);
        EXPECT_EQ(corner.right, cellFrame.right) << "over the focused cell's corner";
        EXPECT_EQ(corner.bottom, cellFrame.bottom - ScaleForDpi(1, dpi));

        int imageWidth = 0, imageHeight = 0;
        ImageList_GetIconSize(
            reinterpret_cast<HIMAGELIST>(SendMessageA(ToolBar(), TB_GETIMAGELIST, 0, 0)),
            &imageWidth, &imageHeight);
        EXPECT_EQ(imageWidth, ScaleForDpi(16, dpi)) << "toolbar images drawn at that size";
        if (dpi == 144) {
            RedrawWindow(window, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            CreateDirectoryA("..\\screenshots", nullptr);
            EXPECT_TRUE(SaveScreenshot("..\\screenshots\\month-view-144dpi.bmp"));
        }
    }
}

// Started on a screen of 144 DPI (the ctest entry window_tests_at_144_dpi
// sets the test prefix so), the view is laid out for it from the start.
using MonthViewAtHighDpi = MonthView;

TEST_F(MonthViewAtHighDpi, IsLaidOutForTheScreenFromTheStart) {
    ASSERT_EQ(View().Dpi(), 144u) << "run by window_tests_at_144_dpi";
    ExpectLaidOutAt(View().window, Cell(0), Cell(9), 144);
    OpenDiary({{Ymd(2026, 3, 12), "11:00 Dentist\r\n14:30 Call Anna"}});
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    CreateDirectoryA("..\\screenshots", nullptr);
    EXPECT_TRUE(SaveScreenshot("..\\screenshots\\month-view-at-144dpi.bmp"));
}

// Notes which popup opens, then closes it once it waits for input.
std::string openedPopup;
LRESULT CALLBACK NotePopup(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITMENUPOPUP) {
        char first[64] = "";
        GetMenuStringA(reinterpret_cast<HMENU>(call->wParam), 0, first, sizeof first,
                       MF_BYPOSITION);
        openedPopup = first;
    }
    if (code == HC_ACTION && call->message == WM_ENTERIDLE && call->wParam == MSGF_MENU)
        EndMenu();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(MonthView, RightClickOpensTheEditMenu) {
    HWND cell = CellOf(2026, 3, 12).window;
    SetFocus(cell);
    openedPopup.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, NotePopup, nullptr, GetCurrentThreadId());
    RECT rect{};
    GetWindowRect(cell, &rect);
    SendMessageA(cell, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(cell),
                 MAKELPARAM(rect.left + 5, rect.top + 5));
    PumpUntilIdle();
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(openedPopup, "&Undo\tCtrl+Z");
}

// For a person to look at.
using MonthViewScreenshot = MonthView;

TEST_F(MonthViewScreenshot, WithTextAndAFocusedCell) {
    OpenDiary({{Ymd(2026, 3, 12), "11:00 Dentist\r\n14:30 Call Anna"},
               {Ymd(2026, 3, 16), "Holiday begins"},
               {Ymd(2026, 3, 27), "09:15 Train to Oslo\r\nPack the red bag"}});
    SetFocus(CellOf(2026, 3, 27).window);
    PumpUntilIdle();
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(ShownUncovered(window));
    CreateDirectoryA("..\\screenshots", nullptr);
    EXPECT_TRUE(SaveScreenshot("..\\screenshots\\month-view.bmp"));
}

} // namespace

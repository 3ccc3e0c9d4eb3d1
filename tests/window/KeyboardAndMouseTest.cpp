// Keys, the wheel and the focus as a user meets them: every message is
// posted and goes through the program's own loop (its filters, the
// accelerators, the command bar), with the modifier keys held in the
// thread's keyboard state as real input would hold them.
#include "tests/support/CommonDialogs.h"
#include "tests/support/DateHelpers.h"
#include "tests/support/ProgramWindows.h"
#include "tests/support/TempFolder.h"
#include "tests/window/MainFrameFixture.h"

#include "res/OptionsIds.h"
#include "res/resource.h"

#include <commctrl.h>
#include <dlgs.h>
#include <prsht.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Today is Thursday 12 March 2026; the grid of March runs from Monday 23
// February to Sunday 5 April.
class KeyboardAndMouse : public MainFrameTest {
  protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        window = CreateFrame();
        SetForegroundWindow(window);
        PumpThroughLoop();
    }
    HWND Cell(int year, int month, int day) {
        CMyEdit* cell = View().CellForDate(Ymd(year, month, day));
        return cell ? cell->window : nullptr;
    }
    void ShowMarchWithFocusOn(int month, int day) {
        View().displayedDate = Ymd(2026, 3, 1);
        View().ShowMonth();
        SetFocus(Cell(2026, month, day));
        PumpThroughLoop();
    }
    std::string Caption() {
        char text[64] = "";
        GetWindowTextA(MonthButton(), text, sizeof text);
        return text;
    }
    PinnedNow today{2026, 3, 12};
    HWND window = nullptr;
};

TEST_F(KeyboardAndMouse, StartsInTodaysCellAndComesBackToTheDayAfterAMessageBox) {
    HWND today = Cell(2026, 3, 12);
    ASSERT_EQ(GetFocus(), today);
    DWORD start = 0, end = 0;
    SendMessageA(today, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, static_cast<DWORD>(GetWindowTextLengthA(today)));
    EXPECT_EQ(start, end) << "the caret at the end of the day's text";

    SetFocus(Cell(2026, 3, 20));
    DialogAnswerer answerer({DialogAnswerer::Press(IDCANCEL)});
    PostMessageA(window, WM_COMMAND, ID_FILE_NEW, 0); // asks "Are you sure?"
    PumpThroughLoop();
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(GetFocus(), Cell(2026, 3, 20));
}

TEST_F(KeyboardAndMouse, MoveKeysGoFromDayToDayAcrossTheMonths) {
    const struct {
        int fromMonth, fromDay;
        WPARAM key;
        int modifiers;
        int toYear, toMonth, toDay;
        const char* shown;
    } cases[] = {
        {2, 23, VK_LEFT, kAlt, 2026, 2, 22, "February 2026"},
        {3, 2, VK_LEFT, kAlt, 2026, 3, 1, "March 2026"},
        {4, 5, VK_RIGHT, kAlt, 2026, 4, 6, "April 2026"},
        {3, 2, VK_UP, kAlt, 2026, 2, 23, "March 2026"},
        {2, 23, VK_UP, kAlt, 2026, 2, 16, "February 2026"},
        {3, 30, VK_DOWN, kAlt, 2026, 4, 6, "April 2026"},
        {3, 31, VK_PRIOR, kControl, 2026, 2, 28, "February 2026"},
        {3, 15, VK_NEXT, kControl, 2026, 4, 15, "April 2026"},
        {3, 20, VK_PRIOR, kControl | kShift, 2025, 3, 20, "March 2025"},
        {3, 20, VK_NEXT, kControl | kShift, 2027, 3, 20, "March 2027"},
        {4, 5, VK_HOME, kAlt, 2026, 3, 12, "March 2026"},
    };
    for (const auto& c : cases) {
        ShowMarchWithFocusOn(c.fromMonth, c.fromDay);
        SetWindowTextA(Cell(2026, c.fromMonth, c.fromDay), "typed");
        PressKey(c.key, c.modifiers);
        EXPECT_EQ(Caption(), c.shown) << c.fromMonth << "/" << c.fromDay << " key " << c.key;
        ASSERT_NE(Cell(c.toYear, c.toMonth, c.toDay), nullptr) << c.toMonth << "/" << c.toDay;
        EXPECT_EQ(GetFocus(), Cell(c.toYear, c.toMonth, c.toDay))
            << c.fromMonth << "/" << c.fromDay << " key " << c.key;
        EXPECT_EQ(Store().Lookup(Ymd(2026, c.fromMonth, c.fromDay)), "typed")
            << "the day left behind is kept";
    }
}

TEST_F(KeyboardAndMouse, TheWheelOverACellChangesTheMonthUnlessItsTextIsTaller) {
    ShowMarchWithFocusOn(3, 12);
    RECT cell{};
    GetWindowRect(Cell(2026, 3, 20), &cell);
    const LPARAM over = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    // Where the system sends it: to the focused cell, or to the one under the pointer.
    PostMessageA(GetFocus(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), over);
    PumpThroughLoop();
    EXPECT_EQ(Caption(), "April 2026");
    PostMessageA(Cell(2026, 4, 16), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                 over);
    PumpThroughLoop();
    EXPECT_EQ(Caption(), "March 2026");

    HWND tall = Cell(2026, 3, 12);
    std::string lines;
    for (int line = 0; line < 40; ++line)
        lines += "line " + std::to_string(line) + "\r\n";
    SetWindowTextA(tall, lines.c_str());
    SetFocus(tall);
    PumpThroughLoop();
    GetWindowRect(tall, &cell);
    PostMessageA(tall, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                 MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
    PumpThroughLoop();
    EXPECT_EQ(Caption(), "March 2026");
    EXPECT_GT(SendMessageA(tall, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "the text scrolled";
}

// A cell's undo belongs to its day: once the cell shows another day, or its
// day's text came from outside the cell, Ctrl+Z brings back nothing.
TEST_F(KeyboardAndMouse, UndoNeverCarriesATextIntoAnotherDay) {
    const struct {
        const char* what;
        std::function<void()> action;
    } cases[] = {
        {"the wheel to the next month",
         [this] {
             RECT place{};
             GetWindowRect(GetFocus(), &place);
             PostMessageA(GetFocus(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
                          MAKELPARAM(place.left + 5, place.top + 5));
             PumpThroughLoop();
         }},
        {"File > New, the text the same",
         [this] {
             DialogAnswerer answerer({DialogAnswerer::Press(IDOK)});
             PressKey('N', kControl);
         }},
    };
    for (const auto& c : cases) {
        ShowMarchWithFocusOn(3, 12);
        HWND cell = GetFocus();
        for (char key : std::string("cut line"))
            PostMessageA(cell, WM_CHAR, static_cast<WPARAM>(key), 1);
        PressKey('A', kControl);
        PressKey(VK_DELETE);
        c.action();
        SetFocus(cell);
        PressKey('Z', kControl);
        EXPECT_EQ(GetWindowTextLengthA(cell), 0) << c.what;
        View().CollectCells();
        for (int i = 0; i < Store().GetCount(); ++i)
            EXPECT_EQ(Store().GetTextAt(i).find("cut line"), std::string::npos) << c.what;
    }
}

// Where the popup menu that opened appeared; it is closed at once.
RECT openedMenu;
LRESULT CALLBACK NoteMenuPlace(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_ENTERIDLE && call->wParam == MSGF_MENU) {
        GetWindowRect(FindWindowA("#32768", nullptr), &openedMenu);
        EndMenu();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(KeyboardAndMouse, ShiftF10OpensTheEditMenuAtTheCaret) {
    ShowMarchWithFocusOn(3, 20);
    HWND cell = GetFocus();
    RECT cellRect{};
    GetWindowRect(cell, &cellRect);
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, NoteMenuPlace, nullptr, GetCurrentThreadId());
    openedMenu = RECT{};
    PressKey(VK_F10, kShift);
    UnhookWindowsHookEx(hook);
    EXPECT_GE(openedMenu.left, cellRect.left);
    EXPECT_LT(openedMenu.left, cellRect.right);
    EXPECT_GT(openedMenu.top, cellRect.top) << "under the caret's line, not at the corner";
    EXPECT_LT(openedMenu.top, cellRect.bottom);
}

TEST_F(KeyboardAndMouse, AltWithOtherKeysReachesTheCell) {
    ShowMarchWithFocusOn(3, 20);
    HWND cell = GetFocus();
    // Alt+0248 on the number pad: Alt goes down, the digits, Alt comes up.
    BYTE state[256] = {};
    state[VK_MENU] = state[VK_LMENU] = 0x80;
    SetKeyboardState(state);
    const LPARAM alt = static_cast<LPARAM>(KF_ALTDOWN) << 16;
    PostMessageA(cell, WM_SYSKEYDOWN, VK_MENU, alt | 1);
    for (WPARAM digit : {VK_NUMPAD0, VK_NUMPAD2, VK_NUMPAD4, VK_NUMPAD8}) {
        PostMessageA(cell, WM_SYSKEYDOWN, digit, alt | 1);
        PostMessageA(cell, WM_SYSKEYUP, digit, alt | (static_cast<LPARAM>(KF_UP) << 16) | 1);
    }
    PumpThroughLoop();
    const BYTE released[256] = {};
    SetKeyboardState(const_cast<BYTE*>(released));
    // The Alt key-up ends the composition: it must reach the cell, not be
    // taken by the menu bar as an Alt pressed alone.
    MSG altUp{cell, WM_KEYUP, VK_MENU, (static_cast<LPARAM>(KF_REPEAT | KF_UP) << 16) | 1, 0, {}};
    EXPECT_FALSE(loop.PreTranslateMessage(&altUp));
    EXPECT_EQ(GetFocus(), cell) << "the menu bar did not take the keyboard";
}

TEST_F(KeyboardAndMouse, FindKeepsTheFocusEnterFindsTheNextAndF3GoesOn) {
    OpenDiary({{Ymd(2026, 3, 20), "dentist at ten"},
               {Ymd(2026, 4, 2), "pay the dentist"},
               {Ymd(2026, 5, 7), "dentist again"}});
    ShowMarchWithFocusOn(3, 12);
    PressKey('F', kControl);
    ASSERT_NE(View().find.Dialog(), nullptr);
    HWND dialog = View().find.Dialog();
    SetDlgItemTextA(dialog, kFindWhat, "dentist");
    const struct { int month, day; } hits[] = {{3, 20}, {4, 2}};
    for (const auto& hit : hits) {
        PressKey(VK_RETURN, kNone, GetDlgItem(dialog, kFindWhat));
        ASSERT_NE(View().currentCell, nullptr);
        EXPECT_EQ(View().currentCell->date, Ymd(2026, hit.month, hit.day));
        EXPECT_EQ(GetActiveWindow(), dialog) << "the focus stays in the dialog";
        DWORD start = 0, end = 0;
        SendMessageA(View().currentCell->window, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(end - start, 7u) << "the hit is selected";
    }
    PressKey('F', kControl, GetDlgItem(dialog, kFindWhat));
    EXPECT_EQ(View().find.Dialog(), dialog) << "Ctrl+F brings the open one forward";
    PressKey(VK_ESCAPE, kNone, GetDlgItem(dialog, kFindWhat));
    EXPECT_EQ(View().find.Dialog(), nullptr);
    EXPECT_EQ(GetFocus(), Cell(2026, 4, 2)) << "back in the cell of the last hit";

    PressKey(VK_F3);
    EXPECT_EQ(GetFocus(), Cell(2026, 5, 7)) << "F3 from the main window moves the focus";
    PressKey(VK_F3, kShift);
    EXPECT_EQ(GetFocus(), Cell(2026, 4, 2));
}

// The rows of Search All's list: "date|line".
std::vector<std::string> ListRows(HWND panel) {
    HWND list = GetDlgItem(panel, IDC_SEARCH_HITS);
    std::vector<std::string> rows;
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        char date[128] = "", line[256] = "";
        ListView_GetItemText(list, row, 0, date, sizeof date);
        ListView_GetItemText(list, row, 1, line, sizeof line);
        rows.push_back(std::string(date) + "|" + line);
    }
    return rows;
}

TEST_F(KeyboardAndMouse, SearchAllListsAsYouTypeAndShowsTheChosenMatch) {
    OpenDiary({{Ymd(2025, 11, 3), "Call Dentist\r\n10:00 dentist again"},
               {Ymd(2026, 4, 2), "pay the dentist"},
               {Ymd(2026, 5, 7), "nothing"}});
    ShowMarchWithFocusOn(3, 12);
    PressKey('F', kControl | kShift);
    HWND panel = SearchPanel().Shown();
    ASSERT_NE(panel, nullptr);
    HWND text = GetDlgItem(panel, IDC_SEARCH_TEXT);
    EXPECT_EQ(GetFocus(), text);
    auto type = [&](const std::string& typed) {
        for (const char c : typed)
            PostMessageA(text, WM_CHAR, static_cast<unsigned char>(c), 1);
        PumpThroughLoop();
    };
    type("de");
    EXPECT_TRUE(ListRows(panel).empty()) << "two characters wait for a pause in the typing";
    PostMessageA(panel, WM_TIMER, 1, 0); // the pause
    PumpThroughLoop();
    EXPECT_EQ(ListRows(panel).size(), 3u);
    type("ntist");
    const std::vector<std::string> newestFirst = {"Thursday, April 2, 2026|pay the dentist",
                                                  "Monday, November 3, 2025|Call Dentist",
                                                  "Monday, November 3, 2025|10:00 dentist again"};
    EXPECT_EQ(ListRows(panel), newestFirst);

    // A click on the date column turns the order round, and back.
    HWND header = ListView_GetHeader(GetDlgItem(panel, IDC_SEARCH_HITS));
    RECT column{};
    Header_GetItemRect(header, 0, &column);
    const LPARAM inColumn =
        MAKELPARAM((column.left + column.right) / 2, (column.top + column.bottom) / 2);
    for (const auto& order :
         {std::vector<std::string>{newestFirst[1], newestFirst[2], newestFirst[0]}, newestFirst}) {
        PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, inColumn);
        PostMessageA(header, WM_LBUTTONUP, 0, inColumn);
        PumpThroughLoop();
        EXPECT_EQ(ListRows(panel), order);
    }
    SendDlgItemMessageA(panel, IDC_SEARCH_MATCH_CASE, BM_CLICK, 0, 0);
    PumpThroughLoop();
    EXPECT_EQ(ListRows(panel), (std::vector<std::string>{newestFirst[0], newestFirst[2]}));

    // Enter shows the first row's day with the match selected; the panel stays.
    PressKey(VK_RETURN, kNone, text);
    ASSERT_NE(View().currentCell, nullptr);
    EXPECT_EQ(GetFocus(), Cell(2026, 4, 2));
    DWORD start = 0, end = 0;
    SendMessageA(GetFocus(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(DWORD{8}, DWORD{15}));
    EXPECT_EQ(SearchPanel().Shown(), panel);

    // A double click on a row shows its day.
    HWND list = GetDlgItem(panel, IDC_SEARCH_HITS);
    RECT row{};
    ListView_GetItemRect(list, 1, &row, LVIR_BOUNDS);
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON,
                 MAKELPARAM(row.left + 5, (row.top + row.bottom) / 2));
    PumpThroughLoop();
    EXPECT_EQ(GetFocus(), Cell(2025, 11, 3));
    SendMessageA(GetFocus(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(DWORD{20}, DWORD{27}));

    // The list follows the diary: the chosen line typed over, then Enter
    // before the list caught up, finds it gone; after File > New, a moment
    // later, the list is empty.
    PostMessageA(GetFocus(), WM_CHAR, 'x', 1);
    PressKey(VK_RETURN, kNone, list);
    EXPECT_NE(ShownText(panel).find("no longer"), std::string::npos) << ShownText(panel);
    EXPECT_EQ(GetWindowTextLengthA(Cell(2025, 11, 3)), 27) << "nothing selected and typed over";
    {
        DialogAnswerer answerer({DialogAnswerer::Press(IDOK)});
        PressKey('N', kControl);
    }
    RunIdle();
    PostMessageA(panel, WM_TIMER, CSearchPanel::kPauseTimer, 0);
    PumpThroughLoop();
    EXPECT_TRUE(ListRows(panel).empty());

    // Escape hides it; Ctrl+Shift+F brings it back as it was.
    PressKey(VK_ESCAPE, kNone, text);
    EXPECT_EQ(SearchPanel().Shown(), nullptr);
    EXPECT_EQ(GetFocus(), Cell(2025, 11, 3)) << "back in the day cell that had it";
    PressKey('F', kControl | kShift);
    EXPECT_EQ(SearchPanel().Shown(), panel);
    EXPECT_TRUE(ListRows(panel).empty());
}

TEST_F(KeyboardAndMouse, CtrlSSavesWhileTheFindDialogHasTheFocus) {
    TempFolder temp;
    const std::string path = temp.PathOf("keys.csv");
    WriteWholeFile(path, "");
    ASSERT_EQ(Doc().Load(path), LoadOutcome::Loaded);
    ShowMarchWithFocusOn(3, 12);
    SetWindowTextA(GetFocus(), "saved from the dialog");
    Doc().MarkModified();
    PressKey('F', kControl);
    HWND text = GetDlgItem(View().find.Dialog(), kFindWhat);
    PressKey('S', kControl, text);
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(ReadWholeFile(path), "\"3/12/2026\";\"saved from the dialog\"\r\n");
}

TEST_F(KeyboardAndMouse, ChangingTheFirstWeekdayRelabelsTheWeekAtOnce) {
    HWND monday = FindWindowExA(View().window, nullptr, "Static", "Monday");
    RECT before{};
    GetWindowRect(monday, &before);
    DialogAnswerer answerer({[](HWND sheet) {
        PropSheet_SetCurSel(sheet, nullptr, 2);
        SendDlgItemMessageA(PropSheet_GetCurrentPageHwnd(sheet), IDC_SUNDAY_FIRST, BM_CLICK, 0, 0);
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    }});
    PostMessageA(window, WM_COMMAND, ID_OPTIONS, 0);
    PumpThroughLoop();
    HWND sunday = FindWindowExA(View().window, nullptr, "Static", "Sunday");
    RECT first{};
    GetWindowRect(sunday, &first);
    EXPECT_EQ(first.left, before.left) << "Sunday now heads the first column";
    EXPECT_EQ(View().cells[0].date, Ymd(2026, 3, 1)) << "and the grid starts on a Sunday";
}

} // namespace

// Popup menus that opened; each is closed at once.
int menusOpened = 0;
LRESULT CALLBACK CountAndCloseMenus(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_ENTERIDLE && call->wParam == MSGF_MENU) {
        ++menusOpened;
        EndMenu();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(KeyboardAndMouse, TheFindDialogHidesWithTheWindowAndTheIconWaitsForAnOpenDialog) {
    PressKey('F', kControl);
    HWND find = View().find.Dialog();
    // The low four bits of a system command are the system's own.
    PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE | 2, 0);
    PumpThroughLoop();
    EXPECT_FALSE(IsWindowVisible(window)) << "hidden in the notification area";
    EXPECT_FALSE(IsWindowVisible(find));
    PostMessageA(window, CSystemTray::kCallbackMessage, CSystemTray::kIconId, WM_LBUTTONUP);
    PumpThroughLoop();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(IsWindowVisible(find));

    HHOOK hook =
        SetWindowsHookExA(WH_CALLWNDPROC, CountAndCloseMenus, nullptr, GetCurrentThreadId());
    menusOpened = 0;
    HWND foreground = nullptr;
    DialogAnswerer answerer({[&](HWND about) {
        PostMessageA(window, CSystemTray::kCallbackMessage, CSystemTray::kIconId, WM_RBUTTONUP);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        foreground = GetForegroundWindow();
        PostMessageA(about, WM_COMMAND, IDOK, 0);
    }});
    PostMessageA(window, WM_COMMAND, ID_APP_ABOUT, 0);
    PumpThroughLoop();
    UnhookWindowsHookEx(hook);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(menusOpened, 0) << "no menu behind the About box";
    EXPECT_NE(foreground, window) << "the About box stays in front";
}

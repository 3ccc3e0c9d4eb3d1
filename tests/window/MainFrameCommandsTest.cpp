#include "tests/support/Screen.h"
#include "tests/support/ShellOpenRecorder.h"
#include "tests/support/TempFolder.h"
#include "tests/window/MainFrameFixture.h"

#include "res/resource.h"
#include "shell/AppFolders.h"
#include "shell/ShellOpen.h"

#include <commctrl.h>

#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// Records the commands that reach one window, whatever sent them.
class CommandRecorder {
  public:
    explicit CommandRecorder(HWND target) {
        watched = target;
        commands.clear();
        hook = SetWindowsHookExA(WH_CALLWNDPROC, OnCall, nullptr, GetCurrentThreadId());
    }
    ~CommandRecorder() { UnhookWindowsHookEx(hook); }
    CommandRecorder(const CommandRecorder&) = delete;
    CommandRecorder& operator=(const CommandRecorder&) = delete;
    static std::vector<int> commands;

  private:
    static LRESULT CALLBACK OnCall(int code, WPARAM wParam, LPARAM lParam) {
        const auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && call->hwnd == watched && call->message == WM_COMMAND)
            commands.push_back(LOWORD(call->wParam));
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static HWND watched;
    HHOOK hook = nullptr;
};
std::vector<int> CommandRecorder::commands;
HWND CommandRecorder::watched = nullptr;

bool BandHidden(HWND rebar, int index) {
    REBARBANDINFOA band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_STYLE;
    SendMessageA(rebar, RB_GETBANDINFOA, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&band));
    return (band.fStyle & RBBS_HIDDEN) != 0;
}

// What the status bar shows: in simple mode the comctl32 of Wine answers the
// simple pane's text for pane 0.
std::string StatusText(HWND statusBar) {
    char text[256] = "";
    SendMessageA(statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

int ClientHeight(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

HMENU FilePopup(CMainFrame& frame) {
    return GetSubMenu(frame.MenuBarMenu(), 0);
}

using MainFrameCommands = MainFrameTest;

TEST_F(MainFrameCommands, TheMenuToolbarAndNavigatorShowAboveTheView) {
    CreateFrame();
    RECT viewRect{}, rebarRect{};
    GetWindowRect(View().window, &viewRect);
    GetWindowRect(ReBar(), &rebarRect);
    for (HWND bar : {CommandBar().window, ToolBar(), Navigator().window}) {
        RECT rect{};
        GetWindowRect(bar, &rect);
        EXPECT_TRUE(IsWindowVisible(bar));
        EXPECT_LE(rect.bottom, rebarRect.bottom);
    }
    EXPECT_EQ(viewRect.top, rebarRect.bottom) << "the view fills the space under the bars";
}

TEST_F(MainFrameCommands, ViewToolbarHidesOnlyTheToolbarBand) {
    HWND window = CreateFrame();
    HWND rebar = ReBar();
    const int viewHeight = ClientHeight(View().window);
    SendMessageA(window, WM_COMMAND, ID_VIEW_TOOLBAR, 0);
    PumpUntilIdle();
    EXPECT_FALSE(BandHidden(rebar, 0)) << "command bar";
    EXPECT_TRUE(BandHidden(rebar, 1)) << "toolbar";
    EXPECT_FALSE(BandHidden(rebar, 2)) << "navigator";
    SendMessageA(window, WM_INITMENUPOPUP,
                 reinterpret_cast<WPARAM>(GetSubMenu(CommandBar().GetMenu(), 2)), 2);
    EXPECT_EQ(GetMenuState(CommandBar().GetMenu(), ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_GE(ClientHeight(View().window), viewHeight);

    SendMessageA(window, WM_COMMAND, ID_VIEW_TOOLBAR, 0);
    PumpUntilIdle();
    EXPECT_FALSE(BandHidden(rebar, 1));
    SendMessageA(window, WM_INITMENUPOPUP,
                 reinterpret_cast<WPARAM>(GetSubMenu(CommandBar().GetMenu(), 2)), 2);
    EXPECT_NE(GetMenuState(CommandBar().GetMenu(), ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED, 0u);
}

TEST_F(MainFrameCommands, ViewStatusBarTogglesAndTheViewTakesTheRoom) {
    HWND window = CreateFrame();
    const int viewHeight = ClientHeight(View().window);
    SendMessageA(window, WM_COMMAND, ID_VIEW_STATUS_BAR, 0);
    PumpUntilIdle();
    EXPECT_FALSE(IsWindowVisible(StatusBar()));
    EXPECT_GT(ClientHeight(View().window), viewHeight);
    EXPECT_FALSE(frame->UIIsChecked(ID_VIEW_STATUS_BAR));
    SendMessageA(window, WM_COMMAND, ID_VIEW_STATUS_BAR, 0);
    PumpUntilIdle();
    EXPECT_TRUE(IsWindowVisible(StatusBar()));
    EXPECT_EQ(ClientHeight(View().window), viewHeight);
    EXPECT_TRUE(frame->UIIsChecked(ID_VIEW_STATUS_BAR));
}

TEST_F(MainFrameCommands, SaveFollowsTheModifiedFlagInMenuAndToolbar) {
    HWND window = CreateFrame();
    TempFolder temp;
    const std::string path = temp.PathOf("save state.csv");
    for (bool modified : {false, true, false}) {
        if (modified) {
            Doc().MarkModified();
        } else if (Doc().IsModified()) {
            ASSERT_TRUE(Doc().SaveAs(path).saved);
        }
        RunIdle();
        SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(FilePopup(*frame)), 0);
        const bool menuGreyed =
            GetMenuState(FilePopup(*frame), ID_FILE_SAVE, MF_BYCOMMAND) & MF_GRAYED;
        EXPECT_EQ(menuGreyed, !modified);
        EXPECT_EQ(SendMessageA(ToolBar(), TB_ISBUTTONENABLED, ID_FILE_SAVE, 0) != 0, modified);
    }
}

TEST_F(MainFrameCommands, CtrlSReachesSaveWhileItIsGreyed) {
    HWND window = CreateFrame();
    RunIdle();
    ASSERT_FALSE(frame->UIIsEnabled(ID_FILE_SAVE));
    CommandRecorder recorder(window);
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    DialogAnswerer cancelSaveAs; // an untitled document asks for a name
    MSG keyDown{window, WM_KEYDOWN, 'S', 0, 0, {0, 0}};
    EXPECT_TRUE(loop.PreTranslateMessage(&keyDown));
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(CommandRecorder::commands, std::vector<int>{ID_FILE_SAVE});
}

// Each item names what it does in its own words: a prompt of its own, none
// for a popup, and the day's date back once the menu closes.
TEST_F(MainFrameCommands, MenuPromptsInTheStatusBar) {
    HWND window = CreateFrame();
    const std::string before = StatusText(StatusBar()); // the focused day's date
    HMENU menu = CommandBar().GetMenu();
    const struct {
        UINT item, flags;
    } cases[] = {
        {ID_FILE_NEW, MF_STRING},           {ID_PREVIEW, MF_STRING}, {ID_HELP, MF_STRING},
        {ID_FILE_MRU_FIRST + 2, MF_STRING}, {SC_CLOSE, MF_SYSMENU},  {SC_RESTORE, MF_SYSMENU},
        {SC_MINIMIZE, MF_SYSMENU},          {0, MF_POPUP},
    };
    std::set<std::string> prompts;
    for (const auto& c : cases) {
        SendMessageA(window, WM_MENUSELECT, MAKEWPARAM(c.item, c.flags),
                     reinterpret_cast<LPARAM>(menu));
        EXPECT_TRUE(SendMessageA(StatusBar(), SB_ISSIMPLE, 0, 0));
        prompts.insert(StatusText(StatusBar()));
    }
    EXPECT_EQ(prompts.size(), std::size(cases)) << "each a prompt of its own";
    EXPECT_EQ(prompts.count(""), 1u) << "none for the popup";
    SendMessageA(window, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_FALSE(SendMessageA(StatusBar(), SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(StatusText(StatusBar()), before);
}

TEST_F(MainFrameCommands, EachToolbarButtonHasATooltipOfItsOwn) {
    HWND window = CreateFrame();
    const int commands[] = {ID_FILE_NEW, ID_FILE_SAVE, ID_PREVIEW, ID_OPTIONS, ID_APP_ABOUT};
    std::set<std::string> tooltips;
    for (int command : commands) {
        NMTTDISPINFOA request{};
        request.hdr.hwndFrom =
            reinterpret_cast<HWND>(SendMessageA(ToolBar(), TB_GETTOOLTIPS, 0, 0));
        request.hdr.idFrom = static_cast<UINT_PTR>(command);
        request.hdr.code = TTN_GETDISPINFOA;
        SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
        ASSERT_NE(request.lpszText, nullptr) << command;
        EXPECT_STRNE(request.lpszText, "") << command;
        tooltips.insert(request.lpszText);
    }
    EXPECT_EQ(tooltips.size(), std::size(commands));
}

TEST_F(MainFrameCommands, EditCommandsActOnTheCurrentCellOnly) {
    HWND window = CreateFrame();
    CMyEdit& dayCell = View().cells[10];
    HWND cell = dayCell.window;
    SetWindowTextA(cell, "11:00 Dentist");
    View().currentCell = &dayCell;
    SendMessageA(window, WM_COMMAND, ID_EDIT_SELECT_ALL, 0);
    DWORD start = 1, end = 0;
    SendMessageA(cell, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 13u);
    SendMessageA(window, WM_COMMAND, ID_EDIT_CUT, 0);
    EXPECT_EQ(GetWindowTextLengthA(cell), 0);
    SendMessageA(window, WM_COMMAND, ID_EDIT_PASTE, 0);
    SendMessageA(window, WM_COMMAND, ID_EDIT_PASTE, 0);
    char text[64] = "";
    GetWindowTextA(cell, text, sizeof text);
    EXPECT_STREQ(text, "11:00 Dentist11:00 Dentist");
    SendMessageA(window, WM_COMMAND, ID_EDIT_UNDO, 0);
    GetWindowTextA(cell, text, sizeof text);
    EXPECT_STREQ(text, "11:00 Dentist");

    // Without a current cell no cell changes, though the clipboard holds a text.
    View().currentCell = nullptr;
    for (int command :
         {ID_EDIT_SELECT_ALL, ID_EDIT_CUT, ID_EDIT_PASTE, ID_EDIT_CLEAR, ID_EDIT_UNDO})
        SendMessageA(window, WM_COMMAND, static_cast<WPARAM>(command), 0);
    for (const CMyEdit& each : View().cells) {
        GetWindowTextA(each.window, text, sizeof text);
        EXPECT_STREQ(text, &each == &dayCell ? "11:00 Dentist" : "") << each.date.day;
    }
}

TEST_F(MainFrameCommands, AboutAndHelpFromMenuAndKeys) {
    HWND window = CreateFrame();
    DialogAnswerer answerer({DialogAnswerer::Press(IDOK)});
    SendMessageA(window, WM_COMMAND, ID_APP_ABOUT, 0);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].caption, "About");

    ShellOpenRecorder opened;
    SendMessageA(window, WM_COMMAND, ID_HELP, 0);
    MSG f1{window, WM_KEYDOWN, VK_F1, 1, 0, {0, 0}};
    EXPECT_TRUE(loop.PreTranslateMessage(&f1));
    const std::string readMe = ProgramFolder() + "ReadMe.txt";
    EXPECT_EQ(opened.Targets(), (std::vector<std::string>{readMe, readMe}));
}

// The items of the drop-down menu that opens, or the picture of it, taken
// once the menu waits for input; the menu is then closed.
std::vector<std::string> menuItems;
const char* menuScreenshot = nullptr;
LRESULT CALLBACK NoteMenuAndClose(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITMENUPOPUP) {
        const HMENU menu = reinterpret_cast<HMENU>(call->wParam);
        menuItems.clear();
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[64] = "";
            GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            menuItems.push_back(text);
        }
    }
    if (code == HC_ACTION && call->message == WM_ENTERIDLE && call->wParam == MSGF_MENU) {
        if (menuScreenshot) {
            CreateDirectoryA("..\\screenshots", nullptr);
            EXPECT_TRUE(SaveScreenshot(menuScreenshot));
        }
        EndMenu();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Alt+F as the program's loop sees it.
void PressAltF(CMessageLoop& loop, HWND window) {
    menuItems.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, NoteMenuAndClose, nullptr, GetCurrentThreadId());
    const LPARAM alt = static_cast<LPARAM>(KF_ALTDOWN) << 16;
    MSG keys[] = {
        {window, WM_SYSKEYDOWN, VK_MENU, alt | 1, 0, {0, 0}},
        {window, WM_SYSKEYDOWN, 'F', alt | 1, 0, {0, 0}},
        {window, WM_SYSCHAR, 'f', alt | 1, 0, {0, 0}},
    };
    for (MSG& key : keys) {
        if (!loop.PreTranslateMessage(&key)) {
            TranslateMessage(&key);
            DispatchMessageA(&key);
        }
    }
    PumpUntilIdle();
    UnhookWindowsHookEx(hook);
}

TEST_F(MainFrameCommands, AltFOpensTheFileMenuThroughTheLoop) {
    HWND window = CreateFrame();
    SetForegroundWindow(window);
    const std::string before = StatusText(StatusBar());
    PressAltF(loop, window);
    ASSERT_FALSE(menuItems.empty()) << "no menu opened";
    EXPECT_EQ(menuItems.back(), "E&xit") << "the File menu, which ends with Exit";
    EXPECT_FALSE(SendMessageA(StatusBar(), SB_ISSIMPLE, 0, 0)) << "the menu closed again";
    EXPECT_EQ(StatusText(StatusBar()), before);
}

// For a person to look at.
using MainFrameScreenshot = MainFrameTest;

TEST_F(MainFrameScreenshot, FileMenu) {
    HWND window = CreateFrame();
    SetForegroundWindow(window);
    EXPECT_TRUE(ShownUncovered(window));
    menuScreenshot = "..\\screenshots\\main-frame-file-menu.bmp";
    PressAltF(loop, window);
    menuScreenshot = nullptr;
    EXPECT_FALSE(menuItems.empty());
}

} // namespace

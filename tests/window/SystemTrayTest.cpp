#include "tests/harness/WindowTestHarness.h"

#include "framework/RegisteredMessages.h"
#include "res/resource.h"
#include "shell/SystemTray.h"
#include "shell/TrayAnimation.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace {

const char kOwnerClass[] = "SystemTrayTestOwner";

struct Call {
    DWORD action;
    NOTIFYICONDATAA data;
};
// A notification area that holds at most our one icon, as the shell does:
// a second add is refused, and so is a change or delete of a missing icon.
struct FakeShell {
    bool running = true;
    bool iconThere = false;
    std::vector<Call> calls;
};
FakeShell shell;

BOOL FakeNotifyIcon(DWORD action, NOTIFYICONDATAA* data) {
    shell.calls.push_back({action, *data});
    if (!shell.running)
        return FALSE;
    switch (action) {
    case NIM_ADD:
        if (shell.iconThere)
            return FALSE;
        shell.iconThere = true;
        return TRUE;
    case NIM_DELETE:
        if (!shell.iconThere)
            return FALSE;
        shell.iconThere = false;
        return TRUE;
    default:
        return shell.iconThere;
    }
}

HICON Icon(int id) {
    return LoadSmallIcon(GetModuleHandleA(nullptr), id);
}

std::string IconName(HICON icon) {
    return icon == Icon(IDR_MAINFRAME) ? "127" : icon == Icon(IDI_BLINK) ? "128" : "?";
}

// The calls since the last look, as "add 127 'OrvikCalendar', modify tip
// 'x', modify icon 128, delete".
std::string TakeCalls() {
    std::string text;
    for (const auto& [action, call] : shell.calls) {
        text += text.empty() ? "" : ", ";
        const std::string tip = std::string("'") + call.szTip + "'";
        if (action == NIM_ADD || action == NIM_MODIFY) {
            text += action == NIM_ADD ? "add" : "modify";
            if (call.uFlags == (NIF_MESSAGE | NIF_ICON | NIF_TIP))
                text += " " + IconName(call.hIcon) + " " + tip;
            else if (call.uFlags == NIF_ICON)
                text += " icon " + IconName(call.hIcon);
            else if (call.uFlags == NIF_TIP)
                text += " tip " + tip;
            else
                text += " flags " + std::to_string(call.uFlags);
        } else {
            text += action == NIM_DELETE ? "delete" : "?";
        }
    }
    shell.calls.clear();
    return text;
}

// The owner does with the icon's messages what the frame does, and notes
// the commands and the message that follows the menu.
struct Owner {
    CSystemTray* tray = nullptr;
    std::string seen;
};
Owner owner;

void Note(const std::string& what) {
    owner.seen += (owner.seen.empty() ? "" : " ") + what;
}

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == g_taskbarCreatedMessage && owner.tray) {
        owner.tray->AddIconAgain();
        return 0;
    }
    switch (message) {
    case CSystemTray::kCallbackMessage:
        if (owner.tray)
            owner.tray->OnTrayNotification(wParam, lParam);
        return 0;
    case WM_COMMAND:
        Note("#" + std::to_string(LOWORD(wParam)));
        return 0;
    case WM_NULL:
        Note("null");
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND CreateOwner(const char* title, int x) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = OwnerProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kOwnerClass;
    RegisterClassA(&windowClass);
    return CreateWindowExA(WS_EX_APPWINDOW, kOwnerClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x,
                           60, 360, 240, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

BOOL CALLBACK FindHiddenWindow(HWND window, LPARAM found) {
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "TrayIconClass") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The icon's own window, among this thread's.
HWND HiddenWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindHiddenWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

class SystemTray : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        shell = FakeShell{};
        realNotifyIcon = g_shellNotifyIcon;
        g_shellNotifyIcon = FakeNotifyIcon;
        window = CreateOwner("Tray owner", 40);
        ASSERT_NE(window, nullptr);
        other = CreateOwner("Other window", 480);
        tray = std::make_unique<CSystemTray>();
        owner = Owner{};
        owner.tray = tray.get();
        PumpUntilIdle();
    }
    void TearDown() override {
        owner.tray = nullptr;
        tray.reset();
        DestroyWindow(other);
        DestroyWindow(window);
        g_shellNotifyIcon = realNotifyIcon;
        WindowTest::TearDown();
    }
    // As the frame creates it; what that sent is taken.
    void CreateTray(HWND target) {
        ASSERT_TRUE(tray->Create(GetModuleHandleA(nullptr), target, Icon(IDR_MAINFRAME)));
        ASSERT_TRUE(tray->LoadAnimationIcons());
        shell.calls.clear();
    }
    // The real timer is stopped, so only the ticks a test sends count.
    void StartBlinking() {
        ASSERT_TRUE(tray->StartAnimation());
        ASSERT_TRUE(KillTimer(HiddenWindow(), CSystemTray::kBlinkTimer));
    }
    static void Tick(WPARAM timer = CSystemTray::kBlinkTimer) {
        SendMessageA(HiddenWindow(), WM_TIMER, timer, 0);
    }
    void Click(LPARAM button, HWND target = nullptr, WPARAM id = CSystemTray::kIconId) {
        SendMessageA(target ? target : window, CSystemTray::kCallbackMessage, id, button);
        PumpUntilIdle();
    }

    BOOL (*realNotifyIcon)(DWORD, NOTIFYICONDATAA*) = nullptr;
    HWND window = nullptr; // the icon's target, as the frame is
    HWND other = nullptr;  // another window of the program, to take the front
    std::unique_ptr<CSystemTray> tray;
};

TEST_F(SystemTray, CreateAddsTheIconForTheTargetAndTheDestructorRemovesIt) {
    ASSERT_TRUE(tray->Create(GetModuleHandleA(nullptr), window, Icon(IDR_MAINFRAME)));
    ASSERT_EQ(shell.calls.size(), 1u);
    const NOTIFYICONDATAA& added = shell.calls[0].data;
    EXPECT_EQ(added.cbSize, 528u);
    EXPECT_EQ(added.hWnd, window);
    EXPECT_EQ(added.uID, 202u);
    EXPECT_EQ(added.uCallbackMessage, CSystemTray::kCallbackMessage);
    EXPECT_EQ(TakeCalls(), "add 127 'OrvikCalendar'");

    HWND hidden = HiddenWindow();
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(IsWindowVisible(hidden));
    const DWORD style = static_cast<DWORD>(GetWindowLongA(hidden, GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_CHILD), static_cast<DWORD>(WS_POPUP));
    EXPECT_EQ(GetClassLongA(hidden, GCL_STYLE), 11u);

    tray.reset();
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].data.hWnd, window);
    EXPECT_EQ(shell.calls[0].data.uID, 202u);
    EXPECT_EQ(TakeCalls(), "delete");
    EXPECT_FALSE(IsWindow(hidden));
}

TEST_F(SystemTray, TheShellTakesTheIcon) {
    g_shellNotifyIcon = realNotifyIcon;
    ASSERT_TRUE(tray->Create(GetModuleHandleA(nullptr), window, Icon(IDR_MAINFRAME)));
    EXPECT_TRUE(tray->SetTooltipText("Changed"));
    EXPECT_TRUE(tray->Remove());
    NOTIFYICONDATAA same{};
    same.cbSize = sizeof same;
    same.hWnd = window;
    same.uID = CSystemTray::kIconId;
    EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &same)) << "the shell has no such icon any more";
}

TEST_F(SystemTray, TooltipKeepsTheFirst127Characters) {
    CreateTray(window);
    for (size_t length : {0u, 13u, 126u, 127u, 128u, 300u}) {
        std::string text;
        for (size_t i = 0; i < length; ++i)
            text += static_cast<char>('a' + i % 26);
        EXPECT_TRUE(tray->SetTooltipText(text.c_str()));
        EXPECT_EQ(TakeCalls(), "modify tip '" + text.substr(0, 127) + "'") << length;
    }
}

// What the icon sends after each step, with the shell refusing or taking it.
struct Step {
    const char* what;
    bool shellRunning;
    bool (*act)(CSystemTray& tray);
    bool result;
    const char* sent;
};

TEST_F(SystemTray, ChangesWaitWhileTheIconIsOutOfTheArea) {
    const Step steps[] = {
        {"tip while the shell is down", false,
         [](CSystemTray& t) { return t.SetTooltipText("Reminder"); }, true, ""},
        {"icon while the shell is down", false,
         [](CSystemTray& t) { return t.SetIcon(Icon(IDI_BLINK)); }, true, ""},
        {"add again, shell still down", false, [](CSystemTray& t) { return t.AddIconAgain(); },
         false, "add 128 'Reminder', modify 128 'Reminder'"},
        {"tip, still out", true, [](CSystemTray& t) { return t.SetTooltipText("Later"); }, true,
         ""},
        {"shell back", true, [](CSystemTray& t) { return t.AddIconAgain(); }, true,
         "add 128 'Later'"},
        {"tip now shows", true, [](CSystemTray& t) { return t.SetTooltipText("Now"); }, true,
         "modify tip 'Now'"},
        {"removed", true, [](CSystemTray& t) { return t.Remove(); }, true, "delete"},
        {"removed twice", true, [](CSystemTray& t) { return t.Remove(); }, true, ""},
    };
    shell.running = false;
    EXPECT_FALSE(tray->Create(GetModuleHandleA(nullptr), window, Icon(IDR_MAINFRAME)));
    EXPECT_EQ(TakeCalls(), "add 127 'OrvikCalendar'");
    for (const Step& step : steps) {
        shell.running = step.shellRunning;
        EXPECT_EQ(step.act(*tray), step.result) << step.what;
        EXPECT_EQ(TakeCalls(), step.sent) << step.what;
    }
}

TEST_F(SystemTray, NothingHappensBeforeCreate) {
    EXPECT_FALSE(tray->SetIcon(Icon(IDI_BLINK)));
    EXPECT_FALSE(tray->SetTooltipText("Early"));
    EXPECT_EQ(tray->GetIcon(), nullptr);
    EXPECT_FALSE(tray->StartAnimation());
    EXPECT_TRUE(tray->Remove());
    EXPECT_EQ(HiddenWindow(), nullptr);
    tray.reset();
    EXPECT_EQ(TakeCalls(), "");
}

TEST_F(SystemTray, TaskbarRestartAddsTheIconAgain) {
    CreateTray(window);
    tray->SetTooltipText("Dentist at 11:00");
    TakeCalls();
    shell.iconThere = false; // the new shell starts empty
    // Sent to every top-level window: the hidden one and the frame.
    SendMessageA(HiddenWindow(), g_taskbarCreatedMessage, 0, 0);
    SendMessageA(window, g_taskbarCreatedMessage, 0, 0);
    EXPECT_EQ(TakeCalls(), "add 127 'Dentist at 11:00', add 127 'Dentist at 11:00', "
                           "modify 127 'Dentist at 11:00'");
    EXPECT_TRUE(tray->SetIcon(Icon(IDI_BLINK)));
    EXPECT_EQ(TakeCalls(), "modify icon 128") << "the second add must not hide the icon";
}

TEST_F(SystemTray, BlinkingAlternatesTheIconsOnEachTick) {
    CreateTray(window);
    StartBlinking();
    EXPECT_EQ(TakeCalls(), "");
    Tick();
    Tick();
    Tick();
    EXPECT_EQ(TakeCalls(), "modify icon 128, modify icon 127, modify icon 128");
    Tick(CSystemTray::kBlinkTimer + 1);
    EXPECT_EQ(TakeCalls(), "") << "another timer";

    EXPECT_FALSE(tray->StartAnimation()) << "already blinking";
    Tick();
    EXPECT_EQ(TakeCalls(), "modify icon 127") << "the second start must not restart the turn";

    tray->StopAnimation();
    EXPECT_EQ(TakeCalls(), "modify icon 127");
    Tick();
    EXPECT_EQ(TakeCalls(), "") << "a tick after the stop";

    // The icon it started from comes back, whichever it was.
    tray->SetIcon(Icon(IDI_BLINK));
    StartBlinking();
    Tick();
    tray->StopAnimation();
    EXPECT_EQ(TakeCalls(), "modify icon 128, modify icon 128, modify icon 128");
}

TEST_F(SystemTray, LeftClickBringsTheWindowToTheFrontAndStopsBlinking) {
    const struct {
        bool hiddenBefore;
        bool blinking;
        const char* sent;
        bool minimisedBefore;
    } cases[] = {
        {false, false, "", false}, {false, true, "modify icon 127", false},
        {true, false, "", false},  {true, true, "modify icon 127", false},
        {false, false, "", true}, // on the taskbar
    };
    CreateTray(window);
    for (const auto& c : cases) {
        // Hidden and back while maximised, then made smaller: a visible window
        // must keep its size, a hidden one come back as it was hidden.
        ShowWindow(window, SW_MAXIMIZE);
        tray->MinimiseToTray(window);
        tray->MaximiseFromTray(window);
        ShowWindow(window, SW_SHOWNORMAL);
        SetForegroundWindow(other);
        if (c.hiddenBefore)
            tray->MinimiseToTray(window);
        if (c.minimisedBefore)
            ShowWindow(window, SW_MINIMIZE);
        if (c.blinking) {
            StartBlinking();
            Tick();
        }
        TakeCalls();
        Click(WM_LBUTTONUP);
        EXPECT_TRUE(IsWindowVisible(window)) << c.hiddenBefore << c.blinking;
        EXPECT_FALSE(IsZoomed(window)) << c.hiddenBefore << c.blinking;
        EXPECT_FALSE(IsIconic(window)) << c.hiddenBefore << c.blinking;
        EXPECT_EQ(GetForegroundWindow(), window) << c.hiddenBefore << c.blinking;
        EXPECT_EQ(TakeCalls(), c.sent) << c.hiddenBefore << c.blinking;
        Tick();
        EXPECT_EQ(TakeCalls(), "") << "still blinking: " << c.hiddenBefore << c.blinking;
    }
}

TEST_F(SystemTray, OtherMouseMessagesAndOtherIconsDoNothing) {
    CreateTray(window);
    tray->MinimiseToTray(window);
    StartBlinking();
    const struct {
        WPARAM id;
        LPARAM message;
    } cases[] = {
        {CSystemTray::kIconId, WM_LBUTTONDOWN},   {CSystemTray::kIconId, WM_MOUSEMOVE},
        {CSystemTray::kIconId, WM_LBUTTONDBLCLK}, {CSystemTray::kIconId, WM_RBUTTONDOWN},
        {CSystemTray::kIconId + 1, WM_LBUTTONUP},
    };
    for (const auto& c : cases) {
        Click(c.message, window, c.id);
        EXPECT_FALSE(IsWindowVisible(window)) << c.id << " " << c.message;
        Tick();
        EXPECT_EQ(TakeCalls(), "modify icon 128") << c.id << " " << c.message;
        Tick();
        TakeCalls();
    }
}

// The popup menu as it opened, and the key that answers it.
struct MenuSeen {
    std::string items;    // "&About E&xit"
    int defaultItem = -1; // by position
    HWND foreground = nullptr;
    WPARAM key = 0; // typed once the menu waits; closed when it waits again
    int idles = 0;
};
MenuSeen menuSeen;

LRESULT CALLBACK AnswerMenu(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITMENUPOPUP) {
        auto popup = reinterpret_cast<HMENU>(call->wParam);
        for (int index = 0; index < GetMenuItemCount(popup); ++index) {
            char text[64] = "";
            GetMenuStringA(popup, static_cast<UINT>(index), text, sizeof text, MF_BYPOSITION);
            menuSeen.items += (menuSeen.items.empty() ? "" : " ") + std::string(text);
        }
        menuSeen.defaultItem = static_cast<int>(GetMenuDefaultItem(popup, TRUE, 0));
        menuSeen.foreground = GetForegroundWindow();
    }
    if (code == HC_ACTION && call->message == WM_ENTERIDLE && call->wParam == MSGF_MENU) {
        if (menuSeen.idles++ == 0 && menuSeen.key)
            PostMessageA(call->hwnd, WM_CHAR, menuSeen.key, 1);
        else
            EndMenu();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(SystemTray, RightClickMenuCommandsReachTheTarget) {
    const struct {
        WPARAM key;
        const char* seen;
    } cases[] = {
        {'a', "#57664 null"}, {'x', "#57665 null"}, {0, "null"}, // closed without a choice
    };
    CreateTray(window);
    for (const auto& c : cases) {
        SetForegroundWindow(other);
        owner.seen.clear();
        menuSeen = MenuSeen{};
        menuSeen.key = c.key;
        HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, AnswerMenu, nullptr, GetCurrentThreadId());
        Click(WM_RBUTTONUP);
        UnhookWindowsHookEx(hook);
        EXPECT_EQ(menuSeen.items, "&About E&xit") << c.key;
        EXPECT_EQ(menuSeen.defaultItem, 0) << c.key;
        EXPECT_EQ(menuSeen.foreground, window) << c.key;
        EXPECT_EQ(owner.seen, c.seen) << c.key;
    }
}

TEST_F(SystemTray, WithoutATargetTheHiddenWindowTakesTheClicks) {
    CreateTray(nullptr);
    HWND hidden = HiddenWindow();
    tray->SetTooltipText("x");
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].data.hWnd, hidden);
    TakeCalls();
    menuSeen = MenuSeen{};
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, AnswerMenu, nullptr, GetCurrentThreadId());
    Click(WM_RBUTTONUP, hidden);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(menuSeen.items, "&About E&xit");
}

// Wine's taskbar has one button window per top-level window, with the
// window's handle as its id. On a taskbar without such buttons: none.
HWND TaskbarButton(HWND window) {
    struct Search {
        HWND window;
        HWND button;
    } search{window, nullptr};
    EnumChildWindows(
        FindWindowA("Shell_TrayWnd", nullptr),
        [](HWND child, LPARAM found) {
            auto& s = *reinterpret_cast<Search*>(found);
            if (GetWindowLongPtrA(child, GWLP_ID) != reinterpret_cast<LONG_PTR>(s.window))
                return TRUE;
            s.button = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.button;
}

// The taskbar lives in another process: give it a moment to catch up.
bool TaskbarButtonShows(HWND button, bool shows) {
    for (int tries = 0; tries < 500; ++tries) {
        PumpUntilIdle();
        if ((IsWindowVisible(button) != FALSE) == shows)
            return true;
        Sleep(10);
    }
    return false;
}

TEST_F(SystemTray, MinimiseHidesTheWindowAndItsTaskbarButtonAndRestoresThePlacement) {
    g_shellNotifyIcon = realNotifyIcon; // the real notification area, as in the program
    CreateTray(window);
    const struct {
        int show;
        bool animate; // the system's setting is not asked: Wine never animates
    } cases[] = {
        {SW_SHOWNORMAL, false},
        {SW_SHOWNORMAL, true},
        {SW_SHOWMAXIMIZED, false},
        {SW_SHOWMAXIMIZED, true},
    };
    for (const auto& c : cases) {
        ShowWindow(window, c.show);
        SetForegroundWindow(window);
        PumpUntilIdle();
        WINDOWPLACEMENT before{};
        before.length = sizeof before;
        GetWindowPlacement(window, &before);
        HWND button = TaskbarButton(window);
        if (button) {
            ASSERT_TRUE(TaskbarButtonShows(button, true));
        }

        WINDOWPLACEMENT saved{};
        MinimiseToTray(window, saved, c.animate);
        PumpUntilIdle();
        EXPECT_FALSE(IsWindowVisible(window)) << c.show << c.animate;
        EXPECT_FALSE(IsIconic(window)) << "a minimised window keeps its taskbar button";
        if (button) {
            EXPECT_TRUE(TaskbarButtonShows(button, false)) << c.show << c.animate;
        }
        // Moved while hidden (a screen that changed): it still comes back where it was.
        SetWindowPos(window, nullptr, 5, 5, 200, 150, SWP_NOZORDER | SWP_NOACTIVATE);

        SetForegroundWindow(other);
        MaximiseFromTray(window, saved, c.animate);
        PumpUntilIdle();
        WINDOWPLACEMENT after{};
        after.length = sizeof after;
        GetWindowPlacement(window, &after);
        EXPECT_TRUE(IsWindowVisible(window)) << c.show << c.animate;
        EXPECT_EQ(after.showCmd, before.showCmd) << c.show << c.animate;
        EXPECT_TRUE(EqualRect(&after.rcNormalPosition, &before.rcNormalPosition));
        EXPECT_EQ(GetForegroundWindow(), window) << c.show << c.animate;
        if (button) {
            EXPECT_TRUE(TaskbarButtonShows(button, true)) << c.show << c.animate;
        }
    }
}

TEST_F(SystemTray, BringingBackBeforeAnyHideShowsTheWindowAsItIs) {
    RECT normal{};
    GetWindowRect(window, &normal);
    for (int show : {SW_SHOWNORMAL, SW_MINIMIZE, SW_HIDE}) {
        ShowWindow(window, SW_SHOWNORMAL);
        ShowWindow(window, show);
        SetForegroundWindow(other);
        PumpUntilIdle();
        tray->MaximiseFromTray(window);
        PumpUntilIdle();
        EXPECT_TRUE(IsWindowVisible(window)) << show;
        EXPECT_FALSE(IsIconic(window)) << show;
        RECT rect{};
        GetWindowRect(window, &rect);
        EXPECT_TRUE(EqualRect(&rect, &normal)) << show;
        EXPECT_EQ(GetForegroundWindow(), window) << show;
    }
}

// A taskbar of our own, with the notification area and its clock as the
// shell's taskbar has them.
struct FakeTaskbar {
    HWND bar = nullptr;
    FakeTaskbar(RECT screen, const RECT* area, const RECT* clock) {
        for (const char* name : {"FakeTaskbar", "TrayNotifyWnd", "TrayClockWClass"}) {
            WNDCLASSA windowClass{};
            windowClass.lpfnWndProc = DefWindowProcA;
            windowClass.hInstance = GetModuleHandleA(nullptr);
            windowClass.lpszClassName = name;
            RegisterClassA(&windowClass);
        }
        bar = CreateWindowExA(WS_EX_TOOLWINDOW, "FakeTaskbar", "", WS_POPUP, screen.left,
                              screen.top, screen.right - screen.left, screen.bottom - screen.top,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        HWND parent = bar;
        RECT origin = screen;
        if (area) {
            parent = Child("TrayNotifyWnd", bar, screen, *area);
            origin = *area;
        }
        if (clock)
            Child("TrayClockWClass", parent, origin, *clock);
    }
    ~FakeTaskbar() { DestroyWindow(bar); }
    static HWND Child(const char* className, HWND parent, RECT origin, RECT screen) {
        return CreateWindowExA(0, className, "", WS_CHILD, screen.left - origin.left,
                               screen.top - origin.top, screen.right - screen.left,
                               screen.bottom - screen.top, parent, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }
};

TEST_F(SystemTray, NotificationAreaEndsAtTheClock) {
    const RECT bottomBar{0, 994, 1280, 1024};
    const RECT bottomArea{1100, 996, 1278, 1022};
    const RECT bottomClock{1220, 996, 1278, 1022};
    const RECT sideBar{1180, 0, 1280, 1024};
    const RECT sideArea{1182, 800, 1278, 1000};
    const RECT sideClock{1182, 800, 1278, 830};
    const struct {
        const char* what;
        RECT bar;
        const RECT* area;
        const RECT* clock;
        RECT expected;
    } cases[] = {
        {"bottom taskbar: left of the clock",
         bottomBar,
         &bottomArea,
         &bottomClock,
         {1100, 996, 1220, 1022}},
        {"side taskbar: below the clock", sideBar, &sideArea, &sideClock, {1182, 830, 1278, 1000}},
        {"no clock: the whole area", bottomBar, &bottomArea, nullptr, bottomArea},
        {"nothing inside: the whole bar", bottomBar, nullptr, nullptr, bottomBar},
        {"clock only: the bar left of it", bottomBar, nullptr, &bottomClock, {0, 994, 1220, 1024}},
    };
    for (const auto& c : cases) {
        FakeTaskbar taskbar(c.bar, c.area, c.clock);
        const RECT rect = NotificationAreaRect(taskbar.bar);
        EXPECT_TRUE(EqualRect(&rect, &c.expected)) << c.what << ": " << rect.left << "," << rect.top
                                                   << "," << rect.right << "," << rect.bottom;
    }
}

} // namespace

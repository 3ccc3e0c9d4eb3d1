#include "tests/harness/WindowTestHarness.h"
#include "tests/support/NotificationArea.h"
#include "tests/support/OwnerWindow.h"

#include "framework/RegisteredMessages.h"
#include "res/resource.h"
#include "shell/SystemTray.h"
#include "shell/TrayAnimation.h"

#include <memory>
#include <string>
#include <vector>

namespace {

HICON Icon(int id) {
    return LoadSmallIcon(GetModuleHandleA(nullptr), id);
}

std::string IconName(HICON icon) {
    return icon == Icon(IDR_MAINFRAME) ? "main" : icon == Icon(IDI_BLINK) ? "blink" : "?";
}

// What the notification area shows: "main 'OrvikCalendar'", or "" for no icon.
std::string Shows(const FakeNotificationArea& area) {
    std::string shown;
    for (const FakeNotificationArea::Icon& icon : area.Icons())
        shown += (shown.empty() ? "" : ", ") + IconName(icon.icon) + " '" + icon.tip + "'";
    return shown;
}

// The owner does with the icon's messages what the frame does, and notes
// the commands it gets.
struct Owner {
    CSystemTray* tray = nullptr;
    std::string seen;
};
Owner owner;

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
        owner.seen += (owner.seen.empty() ? "#" : " #") + std::to_string(LOWORD(wParam));
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
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
        UseNotificationArea(area.Call());
        PumpUntilIdle();
    }
    void TearDown() override {
        owner.tray = nullptr;
        tray.reset();
        WindowTest::TearDown();
    }
    void UseNotificationArea(NotifyIconCall notify) {
        tray = std::make_unique<CSystemTray>(notify);
        owner = Owner{};
        owner.tray = tray.get();
    }
    // As the frame creates it.
    void CreateTray(HWND target) {
        ASSERT_TRUE(tray->Create(GetModuleHandleA(nullptr), target, Icon(IDR_MAINFRAME)));
        ASSERT_TRUE(tray->LoadAnimationIcons());
    }
    // The real timer is stopped, so only the ticks a test sends count.
    void StartBlinking() {
        ASSERT_TRUE(tray->StartAnimation());
        ASSERT_TRUE(KillTimer(HiddenWindow(), CSystemTray::kBlinkTimer));
    }
    static void Tick(WPARAM timer = CSystemTray::kBlinkTimer) {
        SendMessageA(HiddenWindow(), WM_TIMER, timer, 0);
    }
    // What the shell sends when the user clicks the icon.
    void Click(LPARAM button, HWND target = nullptr, WPARAM id = CSystemTray::kIconId) {
        PostMessageA(target ? target : window.window, CSystemTray::kCallbackMessage, id, button);
        PumpUntilIdle();
    }

    FakeNotificationArea area;
    OwnerWindow window{
        {40, 60, 400, 300}, OwnerProc, "Tray owner"}; // the icon's target, as the frame is
    OwnerWindow other{
        {480, 60, 840, 300}, OwnerProc, "Other window"}; // another window, to take the front
    std::unique_ptr<CSystemTray> tray;
};

TEST_F(SystemTray, CreateShowsTheIconForTheTargetAndTheDestructorRemovesIt) {
    ASSERT_TRUE(tray->Create(GetModuleHandleA(nullptr), window, Icon(IDR_MAINFRAME)));
    EXPECT_EQ(Shows(area), "main 'OrvikCalendar'");
    ASSERT_EQ(area.Icons().size(), 1u);
    EXPECT_EQ(area.Icons()[0].window, window.window) << "the clicks go to the target";
    EXPECT_EQ(area.Icons()[0].callbackMessage, CSystemTray::kCallbackMessage);
    EXPECT_EQ(area.Icons()[0].id, CSystemTray::kIconId);

    HWND hidden = HiddenWindow();
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(IsWindowVisible(hidden));
    tray.reset();
    EXPECT_EQ(Shows(area), "");
    EXPECT_FALSE(IsWindow(hidden));
}

TEST_F(SystemTray, TheShellTakesTheIcon) {
    UseNotificationArea(ShellNotifyIcon);
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
        EXPECT_EQ(Shows(area), "main '" + text.substr(0, 127) + "'") << length;
    }
}

TEST_F(SystemTray, ChangesWaitWhileTheIconIsOutOfTheArea) {
    const struct {
        const char* what;
        bool shellRunning;
        bool (*act)(CSystemTray& tray);
        bool result;
        const char* shown;
    } steps[] = {
        {"tip while the shell is down", false,
         [](CSystemTray& t) { return t.SetTooltipText("Reminder"); }, true, ""},
        {"icon while the shell is down", false,
         [](CSystemTray& t) { return t.SetIcon(Icon(IDI_BLINK)); }, true, ""},
        {"add again, shell still down", false, [](CSystemTray& t) { return t.AddIconAgain(); },
         false, ""},
        {"tip, still out", true, [](CSystemTray& t) { return t.SetTooltipText("Later"); }, true,
         ""},
        {"shell back", true, [](CSystemTray& t) { return t.AddIconAgain(); }, true,
         "blink 'Later'"},
        {"tip now shows", true, [](CSystemTray& t) { return t.SetTooltipText("Now"); }, true,
         "blink 'Now'"},
        {"removed", true, [](CSystemTray& t) { return t.Remove(); }, true, ""},
        {"removed twice", true, [](CSystemTray& t) { return t.Remove(); }, true, ""},
    };
    area.running = false;
    EXPECT_FALSE(tray->Create(GetModuleHandleA(nullptr), window, Icon(IDR_MAINFRAME)));
    for (const auto& step : steps) {
        area.running = step.shellRunning;
        EXPECT_EQ(step.act(*tray), step.result) << step.what;
        EXPECT_EQ(Shows(area), step.shown) << step.what;
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
    EXPECT_EQ(Shows(area), "");
}

TEST_F(SystemTray, TaskbarRestartAddsTheIconAgain) {
    CreateTray(window);
    tray->SetTooltipText("Dentist at 11:00");
    area.Restart();
    // Sent to every top-level window: the hidden one and the frame.
    SendMessageA(HiddenWindow(), g_taskbarCreatedMessage, 0, 0);
    SendMessageA(window, g_taskbarCreatedMessage, 0, 0);
    EXPECT_EQ(Shows(area), "main 'Dentist at 11:00'");
    EXPECT_TRUE(tray->SetIcon(Icon(IDI_BLINK)));
    EXPECT_EQ(Shows(area), "blink 'Dentist at 11:00'") << "the second add must not hide the icon";
}

TEST_F(SystemTray, BlinkingAlternatesTheIconsOnEachTick) {
    CreateTray(window);
    StartBlinking();
    EXPECT_EQ(IconName(area.Icons()[0].icon), "main");
    std::string shown;
    for (int tick = 0; tick < 3; ++tick) {
        Tick();
        shown += IconName(area.Icons()[0].icon) + " ";
    }
    EXPECT_EQ(shown, "blink main blink ");
    Tick(CSystemTray::kBlinkTimer + 1);
    EXPECT_EQ(IconName(area.Icons()[0].icon), "blink") << "another timer";

    EXPECT_FALSE(tray->StartAnimation()) << "already blinking";
    Tick();
    EXPECT_EQ(IconName(area.Icons()[0].icon), "main")
        << "the second start must not restart the turn";
    tray->StopAnimation();
    Tick();
    EXPECT_EQ(IconName(area.Icons()[0].icon), "main") << "a tick after the stop";

    // The icon it started from comes back, whichever it was.
    tray->SetIcon(Icon(IDI_BLINK));
    StartBlinking();
    Tick();
    Tick();
    EXPECT_EQ(IconName(area.Icons()[0].icon), "main");
    tray->StopAnimation();
    EXPECT_EQ(IconName(area.Icons()[0].icon), "blink");
}

TEST_F(SystemTray, LeftClickBringsTheWindowToTheFrontAndStopsBlinking) {
    const struct {
        bool hiddenBefore;
        bool blinking;
        bool minimisedBefore; // on the taskbar
    } cases[] = {
        {false, false, false}, {false, true, false}, {true, false, false},
        {true, true, false},   {false, false, true},
    };
    CreateTray(window);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "hidden " << c.hiddenBefore << " blinking " << c.blinking
                                        << " minimised " << c.minimisedBefore);
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
        Click(WM_LBUTTONUP);
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_FALSE(IsZoomed(window));
        EXPECT_FALSE(IsIconic(window));
        EXPECT_EQ(GetForegroundWindow(), window.window);
        EXPECT_EQ(IconName(area.Icons()[0].icon), "main");
        for (int tick = 0; tick < 2; ++tick) {
            Tick();
            EXPECT_EQ(IconName(area.Icons()[0].icon), "main") << "no longer blinking";
        }
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
        EXPECT_EQ(IconName(area.Icons()[0].icon), "blink") << "still blinking: " << c.message;
        Tick();
    }
}

// The popup menu as it opened, and the key that answers it.
struct MenuSeen {
    int opened = 0;
    UINT defaultCommand = 0;
    HWND foreground = nullptr;
    WPARAM key = 0; // typed once the menu waits; closed when it waits again
    int idles = 0;
};
MenuSeen menuSeen;

LRESULT CALLBACK AnswerMenu(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITMENUPOPUP) {
        ++menuSeen.opened;
        menuSeen.defaultCommand =
            GetMenuDefaultItem(reinterpret_cast<HMENU>(call->wParam), FALSE, 0);
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
        std::string seen;
    } cases[] = {
        {'a', "#" + std::to_string(ID_APP_ABOUT)},
        {'x', "#" + std::to_string(ID_APP_EXIT)},
        {0, ""}, // closed without a choice
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
        EXPECT_EQ(menuSeen.opened, 1) << c.key;
        EXPECT_EQ(menuSeen.defaultCommand, static_cast<UINT>(ID_APP_ABOUT)) << c.key;
        EXPECT_EQ(menuSeen.foreground, window.window) << "else the menu stays when clicked away";
        EXPECT_EQ(owner.seen, c.seen) << c.key;
    }
}

TEST_F(SystemTray, WithoutATargetTheHiddenWindowTakesTheClicks) {
    CreateTray(nullptr);
    HWND hidden = HiddenWindow();
    ASSERT_EQ(area.Icons().size(), 1u);
    EXPECT_EQ(area.Icons()[0].window, hidden);
    menuSeen = MenuSeen{};
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, AnswerMenu, nullptr, GetCurrentThreadId());
    Click(WM_RBUTTONUP, hidden);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(menuSeen.opened, 1);
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
    UseNotificationArea(ShellNotifyIcon); // the real notification area, as in the program
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
        EXPECT_EQ(GetForegroundWindow(), window.window) << c.show << c.animate;
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
        EXPECT_EQ(GetForegroundWindow(), window.window) << show;
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

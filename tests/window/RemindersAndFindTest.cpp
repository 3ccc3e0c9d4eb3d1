#include "tests/support/CommonDialogs.h"
#include "tests/support/DateHelpers.h"
#include "tests/support/MainFrameAccess.h"
#include "tests/support/NotificationArea.h"
#include "tests/support/ScreenReader.h"
#include "tests/window/MainFrameFixture.h"

#include "res/resource.h"

#include <string>
#include <vector>

namespace {

// Today is Thursday 12 March 2026, 10:40.
class RemindersAndFind : public MainFrameTest {
  protected:
    HWND Create(bool useReminder) {
        frame = std::make_unique<CMainFrame>(area.Call());
        Settings().UseReminder = useReminder;
        Settings().RemindMinutes = 20;
        HWND window = frame->CreateEx();
        ShowWindow(window, SW_SHOWNORMAL);
        SetForegroundWindow(window);
        RunIdle();
        return window;
    }
    void Tick() {
        PostMessageA(frame->window, WM_TIMER, CReminderController::kTimer, 0);
        PumpUntilIdle();
    }
    const ReminderEngine& Engine() { return MainFrameTestAccess::Reminders(*frame).Engine(); }
    void ClickTrayIcon(UINT what) {
        PostMessageA(frame->window, CSystemTray::kCallbackMessage, CSystemTray::kIconId, what);
        PumpUntilIdle();
    }
    std::pair<DWORD, DWORD> Selection() {
        DWORD start = 0, end = 0;
        SendMessageA(View().currentCell->window, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    // The program's icon in the notification area.
    FakeNotificationArea::Icon& Shown() {
        static FakeNotificationArea::Icon none;
        none = {};
        return area.Icons().size() == 1 ? area.Icons()[0] : none;
    }
    // So that what a later step shows stands out.
    void ForgetShown() {
        Shown().tip.clear();
        Shown().balloonText.clear();
    }
    PinnedNow now{2026, 3, 12, 10, 40};
    FakeNotificationArea area;
};

TEST_F(RemindersAndFind, TheTimerRunsOnlyWithUseReminder) {
    Create(false);
    EXPECT_FALSE(KillTimer(frame->window, CReminderController::kTimer));
    frame.reset();
    Create(true);
    EXPECT_TRUE(KillTimer(frame->window, CReminderController::kTimer));
}

int alerts = 0;
void CALLBACK CountAlert(HWINEVENTHOOK, DWORD, HWND, LONG object, LONG, DWORD, DWORD) {
    alerts += object == CReminderController::kAlertObject;
}

TEST_F(RemindersAndFind, ADueLineBlinksAndNamesItself) {
    Create(true);
    alerts = 0;
    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr,
                                               CountAlert, GetCurrentProcessId(), 0,
                                               WINEVENT_OUTOFCONTEXT);
    Doc().SetDayText(Ymd(2026, 3, 12), "Shopping\r\n11:00 Go to the dentist\r\n11:30 Lunch");
    Tick();
    EXPECT_EQ(Shown().tip, "Thursday, March 12, 2026 - 11:00 Go to the dentist");
    EXPECT_EQ(Shown().balloonTitle, "OrvikCalendar");
    EXPECT_EQ(Shown().balloonText, Shown().tip);
    EXPECT_NE(Shown().balloonIcon, nullptr) << "the alarm icon";
    EXPECT_NE(Shown().balloonIcon, Tray().GetIcon());
    EXPECT_FALSE(Tray().StartAnimation()) << "already blinking";
    EXPECT_EQ(alerts, 1) << "a screen reader is alerted";
    const Heard alert = HeardOf(frame->window, CReminderController::kAlertObject);
    EXPECT_EQ(alert.role, ROLE_SYSTEM_ALERT);
    EXPECT_EQ(alert.name, Shown().tip);
    ForgetShown();
    Tick();
    EXPECT_EQ(Shown().tip, "") << "a line is reminded once";
    EXPECT_EQ(Shown().balloonText, "");
    UnhookWinEvent(hook);
}

TEST_F(RemindersAndFind, ClickingTheBalloonShowsTheLineAndDismissesIt) {
    Create(true);
    Doc().SetDayText(Ymd(2026, 3, 12), "Shopping\r\n11:00 Dentist\r\n11:00 Bus");
    View().ShowMonth();
    Tick();
    EXPECT_EQ(Shown().balloonText, "Thursday, March 12, 2026 - 11:00 Dentist\n"
                                   "Thursday, March 12, 2026 - 11:00 Bus")
        << "lines due in the same minute share one balloon";
    SetFocus(View().CellForDate(Ymd(2026, 3, 20))->window);
    // Where the window usually is when a reminder comes: in the notification area.
    PostMessageA(frame->window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    PumpUntilIdle();
    ASSERT_FALSE(IsWindowVisible(frame->window));
    ClickTrayIcon(NIN_BALLOONUSERCLICK);
    EXPECT_TRUE(IsWindowVisible(frame->window));
    EXPECT_EQ(GetForegroundWindow(), frame->window);
    ASSERT_NE(View().currentCell, nullptr);
    EXPECT_EQ(View().currentCell->date, Ymd(2026, 3, 12));
    EXPECT_EQ(Selection(), std::make_pair(DWORD{10}, DWORD{23}));
    const ReminderMenu left = Engine().Menu(201);
    ASSERT_EQ(left.items.size(), 1u) << "the first line is dismissed";
    EXPECT_EQ(ReminderText(left.items[0]), "Thursday, March 12, 2026 - 11:00 Bus");
    ClickTrayIcon(NIN_BALLOONUSERCLICK);
    EXPECT_EQ(Engine().Menu(201).items.size(), 1u) << "a second click does nothing";
}

// Notes the items and the command ids of the popup that opens, then closes it;
// the test then sends the chosen command as the menu would after closing.
std::vector<std::string> menuItems;
std::vector<UINT> menuCommands;
LRESULT CALLBACK ChooseFromMenu(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITMENUPOPUP) {
        HMENU menu = reinterpret_cast<HMENU>(call->wParam);
        menuItems.clear();
        menuCommands.clear();
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[256] = "";
            GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            menuItems.push_back(text);
            menuCommands.push_back(GetMenuItemID(menu, i));
        }
    }
    if (code == HC_ACTION && call->message == WM_ENTERIDLE && call->wParam == MSGF_MENU)
        EndMenu();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(RemindersAndFind, TheMenuListsPendingNewestFirstAndOpensTheChosenOne) {
    Create(true);
    Doc().SetDayText(Ymd(2026, 3, 12), "11:00 Dentist");
    Tick();
    PinNow(LocalMoment(2026, 3, 12, 10, 50));
    Doc().SetDayText(Ymd(2026, 4, 2), "x");
    Doc().SetDayText(Ymd(2026, 3, 12), "11:00 Dentist\r\n11:10 Bus");
    View().ShowMonth(); // the cells show what the store holds
    Tick();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, ChooseFromMenu, nullptr, GetCurrentThreadId());
    ClickTrayIcon(WM_LBUTTONUP);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(menuItems, (std::vector<std::string>{"Thursday, March 12, 2026 - 11:10 Bus",
                                                   "Thursday, March 12, 2026 - 11:00 Dentist", "",
                                                   "Snooze 5 minutes", "Snooze 15 minutes",
                                                   "Snooze 1 hour", "Dismiss all"}));
    ASSERT_EQ(menuCommands.size(), 7u);
    PostMessageA(frame->window, WM_COMMAND, menuCommands[1], 0); // the older one
    PumpUntilIdle();
    ASSERT_NE(View().currentCell, nullptr);
    EXPECT_EQ(View().currentCell->date, Ymd(2026, 3, 12));
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{13}));
    EXPECT_EQ(Engine().Menu(201).items.size(), 1u) << "the chosen one is dismissed";

    // Snoozed, the line leaves the menu and comes back, blinking, when its time comes.
    PostMessageA(frame->window, WM_COMMAND, menuCommands[3], 0);
    PumpUntilIdle();
    EXPECT_FALSE(Engine().HasPending());
    ForgetShown();
    PinNow(LocalMoment(2026, 3, 12, 10, 54));
    Tick();
    EXPECT_EQ(Shown().balloonText, "");
    PinNow(LocalMoment(2026, 3, 12, 10, 55));
    Tick();
    EXPECT_EQ(Shown().balloonText, "Thursday, March 12, 2026 - 11:10 Bus");
    EXPECT_TRUE(Engine().HasPending());
    PostMessageA(frame->window, WM_COMMAND, menuCommands[6], 0);
    PumpUntilIdle();
    EXPECT_FALSE(Engine().HasPending()) << "dismissed all";
}

// Three timed lines a day for three months, never opened: the menu lists the
// newest that fit, counts the rest, and each item's id stays its own.
TEST_F(RemindersAndFind, AMenuOfMoreRemindersThanFitListsTheNewestAndCountsTheRest) {
    Create(true);
    std::string lines;
    for (int line = 1; line <= 264; ++line)
        lines += "11:00 Event " + std::to_string(line) + "\r\n";
    Doc().SetDayText(Ymd(2026, 3, 12), lines);
    Tick();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, ChooseFromMenu, nullptr, GetCurrentThreadId());
    ClickTrayIcon(WM_LBUTTONUP);
    UnhookWindowsHookEx(hook);
    ASSERT_GT(menuItems.size(), 7u);
    const std::size_t shown = menuItems.size() - 6; // the count, a separator and four commands
    EXPECT_LE(shown, 201u);
    EXPECT_EQ(menuItems[0], "Thursday, March 12, 2026 - 11:00 Event 264") << "the newest first";
    EXPECT_EQ(menuItems[shown],
              std::to_string(264 - shown) + " older reminders; dismiss some to see them");
    EXPECT_TRUE(menuCommands[shown] < ID_REMINDER_FIRST ||
                menuCommands[shown] > ID_REMINDER_DISMISS_ALL);
    for (std::size_t k = 0; k < shown; ++k)
        ASSERT_EQ(menuCommands[k], ID_REMINDER_FIRST + k);
    PostMessageA(frame->window, WM_COMMAND, menuCommands[shown - 1], 0); // the oldest shown
    PumpUntilIdle();
    EXPECT_EQ(Engine().Menu(300).items.size(), 263u);
    EXPECT_EQ(ReminderText(Engine().Menu(300).items[shown - 1]),
              "Thursday, March 12, 2026 - 11:00 Event " + std::to_string(264 - shown))
        << "an older one comes in";
}

TEST_F(RemindersAndFind, FindMovesAcrossMonthsAndSelectsTheHit) {
    Create(false);
    // After today, where the search begins: the focus is in today's cell.
    Doc().SetDayText(Ymd(2026, 4, 3), "11:00 Go to the dentist");
    Doc().SetDayText(Ymd(2026, 4, 5), "Dentist bill");
    Doc().SetDayText(Ymd(2026, 4, 7), "Gr\u00fc\u00dfe, \u0416\u0443\u043a \U0001F600 DENTIST");
    View().ShowMonth(); // the cells of early April show them
    // A selection the user left, which a hit elsewhere takes away.
    HWND left = View().CellForDate(Ymd(2026, 3, 20))->window;
    SetWindowTextA(left, "chosen");
    SendMessageA(left, EM_SETSEL, 0, 3);
    SendMessageA(frame->window, WM_COMMAND, ID_EDIT_FIND, 0);
    ASSERT_NE(View().find.Dialog(), nullptr);
    HWND dialog = View().find.Dialog();
    SendMessageA(frame->window, WM_COMMAND, ID_EDIT_FIND, 0);
    EXPECT_EQ(View().find.Dialog(), dialog) << "a second Find does nothing";
    SetDlgItemTextA(dialog, kFindWhat, "dentist");
    // The box, then the find dialog itself when it becomes active again.
    DialogAnswerer answerer({DialogAnswerer::Press(IDOK), [](HWND) {}});
    const struct {
        int day;
        DWORD start, end;
    } hits[] = {{3, 16, 23}, {5, 0, 7}, {7, 14, 21}}; // in the UTF-16 units the cell counts
    for (const auto& hit : hits) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        PumpUntilIdle();
        ASSERT_NE(View().currentCell, nullptr);
        EXPECT_EQ(View().currentCell->date, Ymd(2026, 4, hit.day));
        EXPECT_EQ(View().displayedDate.month, 4);
        EXPECT_EQ(GetActiveWindow(), dialog) << "Enter finds the next one";
        EXPECT_EQ(Selection(), std::make_pair(hit.start, hit.end));
        int selections = 0;
        for (const CMyEdit& cell : View().cells) {
            DWORD start = 0, end = 0;
            SendMessageA(cell.window, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                         reinterpret_cast<LPARAM>(&end));
            selections += start != end;
        }
        EXPECT_EQ(selections, 1) << "only the hit's cell shows a selection";
    }
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    PumpUntilIdle();
    ASSERT_GE(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].text, "Not Found!");
    EXPECT_EQ(answerer.Seen()[0].caption, "OrvikCalendar");
    EXPECT_EQ(View().currentCell, nullptr);
    SetDlgItemTextW(dialog, 0x480, L"\u0416\u0423\u041a"); // another script, another case
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    PumpUntilIdle();
    ASSERT_NE(View().currentCell, nullptr);
    EXPECT_EQ(View().currentCell->date, Ymd(2026, 4, 7));
    EXPECT_EQ(Selection(), std::make_pair(DWORD{7}, DWORD{10}));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    PumpUntilIdle();
    EXPECT_EQ(View().find.Dialog(), nullptr);
    EXPECT_EQ(View().find.LastText(), "\u0416\u0423\u041a");
}

} // namespace

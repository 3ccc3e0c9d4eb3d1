#pragma once

#include "tests/harness/WindowTestHarness.h"
#include "tests/support/MainFrameAccess.h"

#include "framework/AppModule.h"
#include "res/SelectorIds.h"
#include "shell/MainFrame.h"
#include "storage/CalendarFile.h"

#include <fstream>
#include <memory>
#include <utility>
#include <vector>

enum Modifiers { kNone = 0, kShift = 1, kControl = 2, kAlt = 4 };

// Builds the real main frame the way start-up does: the thread's loop is
// registered with the module before the window.
class MainFrameTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        g_appModule.Init();
        g_appModule.AddMessageLoop(&loop);
    }
    void TearDown() override {
        if (frame)
            Recovery().Remove(); // no later start takes it for one left behind
        frame.reset();
        g_appModule.RemoveMessageLoop();
        WindowTest::TearDown();
    }
    HWND CreateFrame() {
        frame = std::make_unique<CMainFrame>();
        HWND window = frame->CreateEx();
        SetWindowPos(window, nullptr, 0, 0, 800, 600, SWP_NOZORDER);
        ShowWindow(window, SW_SHOWNORMAL);
        RunIdle(); // as the loop does once the queue first runs empty
        return window;
    }
    // Makes the frame's document a diary of these days, read from a file as
    // Open reads it, and shows it.
    void OpenDiary(const std::vector<std::pair<Date, std::string>>& days) {
        EventStore store;
        for (const auto& day : days)
            store.Append(day.first, day.second);
        char folder[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, folder);
        const std::string path = std::string(folder) + "orvik fixture diary.csv";
        std::ofstream(path, std::ios::binary) << FormatCalendar(store);
        ASSERT_EQ(Doc().Load(path), LoadOutcome::Loaded);
        View().ShowMonth();
        View().UpdateTitle();
    }
    // The frame becomes active again after a window of another program was,
    // and the file's next check finds it as it was at the first.
    void ActivateFromAnotherProgram() {
        HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     nullptr, nullptr);
        SendMessageA(frame->window, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(other));
        DestroyWindow(other);
        PumpUntilIdle();
        CheckChangedFileAgain();
    }
    // The half-second check of a diary file changed elsewhere comes round.
    void CheckChangedFileAgain() {
        PostMessageA(frame->window, WM_TIMER, CDocumentCommands::kOutsideChangeTimer, 0);
        PumpUntilIdle();
    }
    // The frame's parts, for arranging a case and reading what no window shows.
    Document& Doc() { return MainFrameTestAccess::DocumentOf(*frame); }
    const EventStore& Store() { return Doc().Store(); }
    COrvikCalendarView& View() { return MainFrameTestAccess::View(*frame); }
    CSelector& Navigator() { return MainFrameTestAccess::Navigator(*frame); }
    AppSettings& Settings() { return MainFrameTestAccess::Settings(*frame); }
    CRecoveryKeeper& Recovery() { return MainFrameTestAccess::Recovery(*frame); }
    CSystemTray& Tray() { return MainFrameTestAccess::Tray(*frame); }
    CCommandBarCtrl& CommandBar() { return MainFrameTestAccess::CommandBar(*frame); }
    CSearchPanel& SearchPanel() { return MainFrameTestAccess::SearchPanel(*frame); }
    RecentFileList& RecentFiles() { return MainFrameTestAccess::RecentFiles(*frame); }
    HWND ToolBar() { return MainFrameTestAccess::ToolBar(*frame); }
    HWND StatusBar() { return MainFrameTestAccess::StatusBar(*frame); }
    HWND ReBar() { return MainFrameTestAccess::ReBar(*frame); }
    HWND MonthButton() { return GetDlgItem(Navigator().window, IDC_MONTH_BUTTON); }

    // Runs what is queued through the loop's filters, as its real loop does.
    void PumpThroughLoop() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!loop.PreTranslateMessage(&message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
    }
    // A key pressed and released with the modifiers held in the thread's
    // keyboard state, as real input holds them, at the focus or the target.
    void PressKey(WPARAM key, int modifiers = kNone, HWND target = nullptr) {
        BYTE state[256] = {};
        if (modifiers & kShift)
            state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
        if (modifiers & kControl)
            state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
        if (modifiers & kAlt)
            state[VK_MENU] = state[VK_LMENU] = 0x80;
        SetKeyboardState(state);
        const bool system = (modifiers & kAlt) || key == VK_F10;
        const LPARAM alt = (modifiers & kAlt) ? (static_cast<LPARAM>(KF_ALTDOWN) << 16) : 0;
        HWND to = target ? target : GetFocus();
        PostMessageA(to, system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, alt | 1);
        PostMessageA(to, system ? WM_SYSKEYUP : WM_KEYUP, key,
                     alt | (static_cast<LPARAM>(KF_REPEAT | KF_UP) << 16) | 1);
        PumpThroughLoop();
        const BYTE released[256] = {};
        SetKeyboardState(const_cast<BYTE*>(released));
    }
    // Runs the loop's idle pass, as when the queue runs empty.
    void RunIdle() {
        PumpUntilIdle();
        loop.OnIdle(0);
    }
    // The exit code the frame posted, or -1 when it posted none.
    static int PostedExitCode() {
        MSG message;
        return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)
                   ? static_cast<int>(message.wParam)
                   : -1;
    }
    CMessageLoop loop;
    std::unique_ptr<CMainFrame> frame;
};

#pragma once

#include "tests/harness/WindowTestHarness.h"

#include "framework/AppModule.h"
#include "shell/MainFrame.h"

#include <memory>

// Builds the real main frame the way start-up does: the thread's loop is
// registered with the module and g_mainFrame is set before the window.
class MainFrameTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        g_appModule.Init();
        g_appModule.AddMessageLoop(&loop);
    }
    void TearDown() override {
        frame.reset();
        g_mainFrame = nullptr;
        g_appModule.RemoveMessageLoop();
        WindowTest::TearDown();
    }
    HWND CreateFrame() {
        frame = std::make_unique<CMainFrame>();
        g_mainFrame = frame.get();
        HWND window = frame->CreateEx();
        SetWindowPos(window, nullptr, 0, 0, 800, 600, SWP_NOZORDER);
        ShowWindow(window, SW_SHOWNORMAL);
        PumpUntilIdle();
        return window;
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

#pragma once

#include "tests/support/ProgramWindows.h"

#include <windows.h>

#include <functional>
#include <string>

// Another process starts and answers on its own time: every wait for it
// polls, and gives up after this long.
const DWORD kProgramPatienceMs = 15000;

// Polls until the condition holds; false when it did not within the time.
inline bool WaitUntil(const std::function<bool()>& condition,
                      DWORD patienceMs = kProgramPatienceMs) {
    for (DWORD waited = 0; waited < patienceMs; waited += 20) {
        if (condition())
            return true;
        Sleep(20);
    }
    return condition();
}

// One started copy of the program at that path, in its own folder; ended by
// force if it is left running.
class StartedProgram {
  public:
    explicit StartedProgram(const std::string& path) {
        const std::string folder = path.substr(0, path.find_last_of("\\/") + 1);
        std::string commandLine = "\"" + path + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started =
            CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                           folder.empty() ? nullptr : folder.c_str(), &startup, &process) != FALSE;
        if (started)
            CloseHandle(process.hThread);
    }
    ~StartedProgram() {
        if (!started)
            return;
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process.hProcess, 99);
        CloseHandle(process.hProcess);
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    bool Started() const { return started; }
    DWORD ProcessId() const { return process.dwProcessId; }
    bool Running() const { return WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; }
    HWND MainWindow() const { return ProgramWindowOf(process.dwProcessId); }
    // Polls for its window, shown and painted; null when it did not come.
    HWND WaitForMainWindow() const {
        HWND window = nullptr;
        WaitUntil([&] {
            window = MainWindow();
            return !Running() || (window && IsWindowVisible(window));
        });
        if (!window || !IsWindowVisible(window))
            return nullptr;
        WaitForInputIdle(process.hProcess, kProgramPatienceMs);
        return window;
    }
    void WaitUntilIdle() const { WaitForInputIdle(process.hProcess, kProgramPatienceMs); }
    // Ends it at once, as a crash or the task manager would: nothing is saved.
    void Kill() const {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, kProgramPatienceMs);
    }
    // The exit code, or -1 when the program did not end in time.
    int WaitForExit(DWORD patienceMs = kProgramPatienceMs) const {
        DWORD code = 0;
        if (WaitForSingleObject(process.hProcess, patienceMs) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(process.hProcess, &code))
            return -1;
        return static_cast<int>(code);
    }

  private:
    PROCESS_INFORMATION process{};
    bool started = false;
};

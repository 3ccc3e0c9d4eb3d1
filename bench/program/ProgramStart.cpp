#include "bench/program/ProgramStart.h"

#include "framework/OwnedHandle.h"

#include <windows.h>

#include <psapi.h>

namespace {

const DWORD kPatienceMs = 30000;
// Polling, not an event: Wine tells no other process that a window shows.
// Two milliseconds are small against starts of some 100 ms, and keep the
// polling from taking much processor time from the program it waits for.
const DWORD kPollMs = 2;
// After the start the program may still finish work it posted itself.
const DWORD kRestMs = 500;

struct WindowSearch {
    const std::string* readyTitle;
    HWND found;
};

BOOL CALLBACK FindReadyWindow(HWND window, LPARAM searchPointer) {
    auto& search = *reinterpret_cast<WindowSearch*>(searchPointer);
    char title[MAX_PATH + 64] = "";
    if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) ||
        !GetWindowTextA(window, title, sizeof title) ||
        std::string(title).find(*search.readyTitle) == std::string::npos)
        return TRUE;
    search.found = window;
    return FALSE;
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

// The main window once it is visible with the ready title; null when the
// process ended or did not get there in time.
HWND WaitForReadyWindow(const PROCESS_INFORMATION& process, const std::string& readyTitle) {
    for (DWORD waited = 0; waited < kPatienceMs; waited += kPollMs) {
        // The windows of the main thread only: cheaper than every window.
        WindowSearch search{&readyTitle, nullptr};
        EnumThreadWindows(process.dwThreadId, FindReadyWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        if (WaitForSingleObject(process.hProcess, kPollMs) != WAIT_TIMEOUT)
            return nullptr;
    }
    return nullptr;
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of("\\/") + 1);
}

} // namespace

StartMeasurement MeasureStart(const ProgramToStart& program) {
    StartMeasurement result;
    std::string commandLine = "\"" + program.path + "\" " + program.arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start, ready;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        FolderOf(program.path).c_str(), &startup, &process)) {
        result.error = "could not start " + program.path;
        return result;
    }
    const OwnedKernelObject thread(process.hThread), running(process.hProcess);
    HWND window = WaitForReadyWindow(process, program.readyTitle);
    DWORD_PTR reply = 0;
    // Answering a message is not yet ready: the window may still have to be
    // painted, and the program is ready when it waits for input.
    if (window &&
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kPatienceMs, &reply) &&
        WaitForInputIdle(process.hProcess, kPatienceMs) == 0) {
        QueryPerformanceCounter(&ready);
        result.milliseconds = Milliseconds(start, ready);
        Sleep(kRestMs);
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory)) {
            result.workingSet = memory.WorkingSetSize;
            result.peakWorkingSet = memory.PeakWorkingSetSize;
            result.measured = true;
        } else {
            result.error = "could not read the memory of " + program.path;
        }
        PostMessageA(window, WM_CLOSE, 0, 0);
    } else {
        result.error = program.path + " did not get ready: a window titled \"" +
                       program.readyTitle + "\" that answers and waits for input";
    }
    if (WaitForSingleObject(process.hProcess, kPatienceMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 99);
        result.measured = false;
        result.error = program.path + " did not end after WM_CLOSE";
    }
    return result;
}

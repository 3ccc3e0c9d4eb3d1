#pragma once

#include <windows.h>

#include <exception>

// Window procedures are called by the system, whose code between them and
// the message loop cannot pass a C++ exception on. An exception that leaves
// a handler (out of memory, most likely) ends there: it is reported through
// this function, which the program may replace, and the message gets the
// default handling. By default it shows the reason in a message box.
inline void (*g_reportEscapedException)(const char* reason) = [](const char* reason) {
    MessageBoxA(nullptr, reason, nullptr, MB_OK | MB_ICONERROR | MB_TASKMODAL);
};

inline void ReportEscapedException(const char* reason) noexcept {
    try {
        g_reportEscapedException(reason);
    } catch (...) {
        // Nothing more can be done from here.
    }
}

// Runs a handler; false when an exception ended it (it has been reported).
template <class Handler> bool CallGuarded(Handler&& handler) noexcept {
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        ReportEscapedException(error.what());
    } catch (...) {
        ReportEscapedException("unknown error");
    }
    return false;
}

// Hands the message to the object's message map:
//   bool ProcessWindowMessage(UINT, WPARAM, LPARAM, LRESULT& result);
template <class T>
bool DispatchGuarded(T& object, UINT message, WPARAM wParam, LPARAM lParam,
                     LRESULT& result) noexcept {
    bool handled = false;
    if (!CallGuarded(
            [&] { handled = object.ProcessWindowMessage(message, wParam, lParam, result); })) {
        result = 0;
        return false;
    }
    return handled;
}

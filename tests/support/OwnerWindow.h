#pragma once

#include <windows.h>

#include <string>

// A plain top-level window of this thread, with a taskbar button as the
// frame has, that owns a test's dialogs or holds its controls; destroyed
// with the object. Its procedure answers what the test needs of it.
class OwnerWindow {
  public:
    explicit OwnerWindow(RECT place = {60, 80, 760, 580}, WNDPROC procedure = DefWindowProcA,
                         const char* title = "Owner") {
        // One class per procedure: a class keeps the procedure it was registered with.
        const std::string className =
            "OrvikTestOwner" + std::to_string(reinterpret_cast<UINT_PTR>(procedure));
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = className.c_str();
        RegisterClassA(&windowClass);
        window = CreateWindowExA(WS_EX_APPWINDOW, className.c_str(), title,
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE, place.left, place.top,
                                 place.right - place.left, place.bottom - place.top, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~OwnerWindow() {
        if (IsWindow(window))
            DestroyWindow(window);
    }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;

    operator HWND() const { return window; }

    HWND window = nullptr; // owned
};

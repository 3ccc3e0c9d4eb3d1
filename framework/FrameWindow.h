#pragma once

#include "framework/Window.h"
#include "res/resource.h"

// A top-level frame: title, menu, icons and accelerators from the resources
// with id IDR_MAINFRAME; quits the thread's loop with exit code 1 when it is
// destroyed.
template <class T> class CFrameWindowImpl : public CWindowImpl<T> {
  public:
    HACCEL accelerators = nullptr; // borrowed from the module's resources

    HWND CreateEx() {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        char title[256] = "";
        LoadStringA(instance, IDR_MAINFRAME, title, sizeof title);
        HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME)); // owned by the window

        WNDCLASSEXA description{};
        description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        description.hInstance = instance;
        description.hIcon = LoadIconResource(GetSystemMetrics(SM_CXICON));
        description.hIconSm = LoadIconResource(GetSystemMetrics(SM_CXSMICON));
        const char* className = CWindowImpl<T>::RegisterWindowClass(description);

        WindowCreateArgs args;
        args.exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
        args.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
        args.title = title;
        args.menuOrId = menu;
        HWND created = CWindowImpl<T>::CreateBoundWindow(className, args);
        if (!created) {
            DestroyMenu(menu);
            return nullptr;
        }
        accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
        return created;
    }

  protected:
    // The frame's own handling, for the messages the derived map leaves.
    bool ProcessWindowMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message == WM_DESTROY) {
            PostQuitMessage(1);
            result = 0;
            return false; // the default handling runs as well
        }
        return false;
    }

  private:
    static HICON LoadIconResource(int size) {
        // Shared icons belong to the module: nothing to destroy.
        return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr),
                                             MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, size,
                                             size, LR_SHARED));
    }
};

#pragma once

#include "framework/GuardedDispatch.h"

#include <windows.h>

#include <cstdio>

struct WindowCreateArgs {
    DWORD exStyle = 0;
    DWORD style = 0;
    const char* title = "";
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    HWND parent = nullptr;
    HMENU menuOrId = nullptr;
};

// Binds a C++ object to its window from WM_NCCREATE (through the create
// parameters) to WM_NCDESTROY, and hands every message to the derived
// class's message map:
//   bool ProcessWindowMessage(UINT, WPARAM, LPARAM, LRESULT& result);
// Messages the map leaves, and every message to a window whose object is
// gone, go to T::BaseProcedure: DefWindowProc, or for a superclassed control
// the control's own procedure, which a derived class provides instead.
template <class T> class CWindowImpl {
  public:
    HWND window = nullptr; // the object's window while it exists

    CWindowImpl() = default;
    CWindowImpl(const CWindowImpl&) = delete;
    CWindowImpl& operator=(const CWindowImpl&) = delete;

    bool IsWindow() const { return window != nullptr && ::IsWindow(window); }

    static LRESULT BaseProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

  protected:
    // A window still there when its object goes is destroyed, but only after
    // it stopped routing to the object, which is half gone by then. A class
    // that needs its handlers while its window goes destroys it itself.
    ~CWindowImpl() {
        if (!IsWindow())
            return;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
        window = nullptr;
    }

    // Registers a class for T once per process, named after the address of
    // its description. The window procedure is filled in here.
    static const char* RegisterWindowClass(WNDCLASSEXA description) {
        static char className[32] = "";
        if (className[0] == '\0') {
            std::snprintf(className, sizeof className, "ATL:%p", static_cast<void*>(className));
            description.cbSize = sizeof description;
            description.lpfnWndProc = WindowProc;
            description.lpszClassName = className;
            if (!RegisterClassExA(&description))
                className[0] = '\0';
        }
        return className;
    }

    HWND CreateBoundWindow(const char* className, const WindowCreateArgs& args) {
        return CreateWindowExA(args.exStyle, className, args.title, args.style, args.x, args.y,
                               args.width, args.height, args.parent, args.menuOrId,
                               GetModuleHandleA(nullptr), static_cast<T*>(this));
    }

    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
        return T::BaseProcedure(window, message, wParam, lParam);
    }

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        T* self = nullptr;
        if (message == WM_NCCREATE) {
            self = static_cast<T*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->window = hwnd;
        } else {
            self = reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        }
        if (!self)
            return T::BaseProcedure(hwnd, message, wParam, lParam);
        LRESULT result = 0;
        if (!DispatchGuarded(*self, message, wParam, lParam, result))
            result = self->DefaultHandling(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            self->window = nullptr;
        }
        return result;
    }
};

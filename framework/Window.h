#pragma once

#include "framework/MessageRouting.h"

#include <windows.h>

#include <cassert>
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
            if (!RegisterClassExA(&description)) {
                assert(!"the class was registered already");
                className[0] = '\0';
            }
        }
        return className;
    }

    HWND CreateBoundWindow(const char* className, const WindowCreateArgs& args) {
        assert(!IsWindow() && "an object has one window at a time");
        return CreateWindowExA(args.exStyle, className, args.title, args.style, args.x, args.y,
                               args.width, args.height, args.parent, args.menuOrId,
                               GetModuleHandleA(nullptr), static_cast<T*>(this));
    }

    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
        return T::BaseProcedure(window, message, wParam, lParam);
    }

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        T* arriving =
            message == WM_NCCREATE
                ? static_cast<T*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams)
                : nullptr;
        LRESULT result = 0;
        if (MessageRouting<T>::Route(hwnd, GWLP_USERDATA, arriving, message, wParam, lParam,
                                     result))
            return result;
        // Left by the map, or for a window whose object is gone (the map's
        // WM_NCDESTROY has unbound it by now, so no object is used here).
        return T::BaseProcedure(hwnd, message, wParam, lParam);
    }
};

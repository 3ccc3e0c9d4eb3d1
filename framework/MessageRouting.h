#pragma once

#include "framework/GuardedDispatch.h"

#include <windows.h>

// How a window, a dialog and a property page reach their C++ object: the
// object comes with the first message that carries it (WM_NCCREATE,
// WM_INITDIALOG) and is kept in the window's slot (GWLP_USERDATA, DWLP_USER)
// until WM_NCDESTROY; every message in between goes to its message map
//   bool ProcessWindowMessage(UINT, WPARAM, LPARAM, LRESULT& result);
// through DispatchGuarded. Route is false when no object is bound or the
// map left the message.
template <class T> class MessageRouting {
  public:
    // `arriving` is the object the message carries, or null.
    static bool Route(HWND hwnd, int slot, T* arriving, UINT message, WPARAM wParam, LPARAM lParam,
                      LRESULT& result) {
        T* self = arriving;
        if (self) {
            SetWindowLongPtrA(hwnd, slot, reinterpret_cast<LONG_PTR>(self));
            self->window = hwnd;
        } else {
            self = reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, slot));
        }
        if (!self)
            return false;
        const bool handled = DispatchGuarded(*self, message, wParam, lParam, result);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(hwnd, slot, 0);
            self->window = nullptr;
        }
        return handled;
    }
};

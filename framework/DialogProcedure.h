#pragma once

#include "framework/DialogResult.h"
#include "framework/GuardedDispatch.h"

#include <windows.h>

// The dialog procedure of a dialog or property page bound to an object of T
// from WM_INITDIALOG to WM_NCDESTROY. ObjectFromInit finds the object in the
// init parameter. Every message goes to the object's message map:
//   bool ProcessWindowMessage(UINT, WPARAM, LPARAM, LRESULT& result);
// Messages the map leaves get the dialog manager's default handling.
template <class T, T* (*ObjectFromInit)(LPARAM)>
INT_PTR CALLBACK BoundDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    T* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = ObjectFromInit(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->window = dialog;
    } else {
        self = reinterpret_cast<T*>(GetWindowLongPtrA(dialog, DWLP_USER));
    }
    if (!self)
        return FALSE;
    LRESULT result = 0;
    const bool handled = DispatchGuarded(*self, message, wParam, lParam, result);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        self->window = nullptr;
    }
    if (!handled)
        return FALSE;
    if (ReturnsResultDirectly(message))
        return static_cast<INT_PTR>(result);
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

// Destroys a modeless dialog that is still there when its object goes, after
// it stopped routing to the object.
inline void DestroyUnbound(HWND& dialog) {
    if (!dialog || !IsWindow(dialog))
        return;
    SetWindowLongPtrA(dialog, DWLP_USER, 0);
    DestroyWindow(dialog);
    dialog = nullptr;
}

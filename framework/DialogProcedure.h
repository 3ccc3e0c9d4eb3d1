#pragma once

#include "framework/DialogResult.h"
#include "framework/MessageRouting.h"

#include <windows.h>

// The dialog procedure of a dialog or property page bound to an object of T
// (see MessageRouting); ObjectFromInit finds the object in WM_INITDIALOG's
// parameter. Messages the map leaves get the dialog manager's default
// handling.
template <class T, T* (*ObjectFromInit)(LPARAM)>
INT_PTR CALLBACK BoundDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    T* arriving = message == WM_INITDIALOG ? ObjectFromInit(lParam) : nullptr;
    LRESULT result = 0;
    if (!MessageRouting<T>::Route(dialog, DWLP_USER, arriving, message, wParam, lParam, result))
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

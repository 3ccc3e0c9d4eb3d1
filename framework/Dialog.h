#pragma once

#include "framework/DialogResult.h"

#include <windows.h>

// A window made from the dialog resource T::kDialogId of the program's
// module. The object is bound to its window from WM_INITDIALOG (it comes as
// the init parameter) to WM_NCDESTROY, and every message goes to the derived
// class's message map:
//   bool ProcessWindowMessage(UINT, WPARAM, LPARAM, LRESULT& result);
// Messages the map leaves get the dialog manager's default handling.
template <class T> class CDialogImpl {
  public:
    HWND window = nullptr; // the object's window while it exists

    CDialogImpl() = default;
    CDialogImpl(const CDialogImpl&) = delete;
    CDialogImpl& operator=(const CDialogImpl&) = delete;

    // Runs the dialog's own modal loop; returns what EndDialog was given.
    INT_PTR DoModal(HWND owner) {
        return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(T::kDialogId), owner,
                               DialogProc, reinterpret_cast<LPARAM>(static_cast<T*>(this)));
    }

    // A modeless dialog; the object destroys it at the latest when it goes.
    HWND Create(HWND parent) {
        return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(T::kDialogId), parent,
                                  DialogProc, reinterpret_cast<LPARAM>(static_cast<T*>(this)));
    }

    void EndDialog(int result) { ::EndDialog(window, result); }

  protected:
    ~CDialogImpl() {
        if (window != nullptr && IsWindow(window))
            DestroyWindow(window);
    }

  private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        T* self = nullptr;
        if (message == WM_INITDIALOG) {
            self = reinterpret_cast<T*>(lParam);
            SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
            self->window = dialog;
        } else {
            self = reinterpret_cast<T*>(GetWindowLongPtrA(dialog, DWLP_USER));
        }
        if (!self)
            return FALSE;
        LRESULT result = 0;
        const bool handled = self->ProcessWindowMessage(message, wParam, lParam, result);
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
};

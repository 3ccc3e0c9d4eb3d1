#pragma once

#include "framework/DialogProcedure.h"

#include <windows.h>

#include <cassert>

// A window made from the dialog resource T::kDialogId of the program's
// module, bound to its object (it comes as the init parameter) as
// BoundDialogProc describes.
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
        assert(!window && "an object has one window at a time");
        return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(T::kDialogId), parent,
                                  DialogProc, reinterpret_cast<LPARAM>(static_cast<T*>(this)));
    }

    void EndDialog(int result) { ::EndDialog(window, result); }

  protected:
    ~CDialogImpl() { DestroyUnbound(window); }

  private:
    static T* FromInit(LPARAM parameter) { return reinterpret_cast<T*>(parameter); }
    static constexpr DLGPROC DialogProc = BoundDialogProc<T, FromInit>;
};

#pragma once

#include "framework/DialogResult.h"

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <vector>

// One page of a property sheet, made from the dialog resource T::kDialogId
// of the program's module; its tab shows the template's caption. The object
// is bound to its window from WM_INITDIALOG to WM_NCDESTROY, and every
// message goes to the derived class's message map:
//   bool ProcessWindowMessage(UINT, WPARAM, LPARAM, LRESULT& result);
// The sheet creates a page only when it is first shown.
template <class T> class CPropertyPageImpl {
  public:
    HWND window = nullptr; // the page's window while it exists

    CPropertyPageImpl() = default;
    CPropertyPageImpl(const CPropertyPageImpl&) = delete;
    CPropertyPageImpl& operator=(const CPropertyPageImpl&) = delete;

    // What the sheet needs to create the page; the sheet takes a copy.
    PROPSHEETPAGEA Description() {
        PROPSHEETPAGEA page{};
        page.dwSize = sizeof page;
        page.dwFlags = PSP_DEFAULT;
        page.hInstance = GetModuleHandleA(nullptr);
        page.pszTemplate = MAKEINTRESOURCEA(T::kDialogId);
        page.pfnDlgProc = DialogProc;
        page.lParam = reinterpret_cast<LPARAM>(static_cast<T*>(this));
        return page;
    }

  protected:
    // The sheet destroys its pages before it returns, so a page object on
    // the caller's stack outlives its window.
    ~CPropertyPageImpl() = default;

  private:
    static INT_PTR CALLBACK DialogProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
        T* self = nullptr;
        if (message == WM_INITDIALOG) {
            // The init parameter is the sheet's copy of the description.
            self = reinterpret_cast<T*>(reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam);
            SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
            self->window = page;
        } else {
            self = reinterpret_cast<T*>(GetWindowLongPtrA(page, DWLP_USER));
        }
        if (!self)
            return FALSE;
        LRESULT result = 0;
        const bool handled = self->ProcessWindowMessage(message, wParam, lParam, result);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(page, DWLP_USER, 0);
            self->window = nullptr;
        }
        if (!handled)
            return FALSE;
        if (ReturnsResultDirectly(message))
            return static_cast<INT_PTR>(result);
        SetWindowLongPtrA(page, DWLP_MSGRESULT, result);
        return TRUE;
    }
};

// A modal property sheet with OK and Cancel (no Apply), its pages in the
// order they were added, the first one active.
class CPropertySheet {
  public:
    explicit CPropertySheet(const char* caption) : caption(caption) {}

    template <class T> void AddPage(CPropertyPageImpl<T>& page) {
        pages.push_back(page.Description());
    }

    // Runs the sheet's modal loop: IDOK when it was closed with OK, 0 when
    // it was cancelled, -1 when it could not be shown.
    INT_PTR DoModal(HWND owner);

  private:
    const char* caption;
    std::vector<PROPSHEETPAGEA> pages;
};

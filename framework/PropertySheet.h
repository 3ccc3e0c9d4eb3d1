#pragma once

#include "framework/DialogProcedure.h"

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <vector>

// One page of a property sheet, made from the dialog resource T::kDialogId
// of the program's module; its tab shows the template's caption. The object
// is bound to its window as BoundDialogProc describes. The sheet creates a
// page only when it is first shown.
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
    // The init parameter is the sheet's copy of the description.
    static T* FromInit(LPARAM parameter) {
        return reinterpret_cast<T*>(reinterpret_cast<PROPSHEETPAGEA*>(parameter)->lParam);
    }
    static constexpr DLGPROC DialogProc = BoundDialogProc<T, FromInit>;
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

#pragma once

#include <windows.h>

#include <commdlg.h>

// The platform's modeless find dialog. The object must outlive the dialog:
// the dialog reads and writes its request record while it is open.
class CFindReplaceDialog {
  public:
    CFindReplaceDialog() = default;
    ~CFindReplaceDialog();
    CFindReplaceDialog(const CFindReplaceDialog&) = delete;
    CFindReplaceDialog& operator=(const CFindReplaceDialog&) = delete;

    // Find only, direction down; its notifications go to the owner.
    HWND Create(HWND owner, const char* initialText);
    HWND window = nullptr; // destroyed by the platform when the user closes it

  private:
    FINDREPLACEA request{};
    char findWhat[128] = "";
};

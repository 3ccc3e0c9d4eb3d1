#pragma once

#include <windows.h>

#include <string>

// The platform's open and save dialogs. The filter is the usual list of
// "name\0pattern\0" pairs ending in an extra zero.
class CFileDialog {
  public:
    CFileDialog(bool openDialog, const char* defaultExtension, const char* filter);
    // True when the user chose a path.
    bool DoModal(HWND owner);
    const std::string& Path() const { return path; }

  private:
    bool openDialog;
    const char* defaultExtension;
    const char* filter;
    std::string path;
};

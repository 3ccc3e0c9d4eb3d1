#pragma once

#include "framework/Dialog.h"
#include "res/resource.h"

// The About box: version, copyright, and buttons that open the project's
// web page and a new mail to it. OK ends it with 1, Escape or close with 2.
class CAboutDlg : public CDialogImpl<CAboutDlg> {
  public:
    static constexpr int kDialogId = IDD_ABOUTBOX;

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  private:
    LRESULT OnInitDialog();
    bool OnCommand(WORD id, WORD notification);
};

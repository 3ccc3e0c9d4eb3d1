#include "shell/AboutDlg.h"

#include "res/Maker.h"
#include "shell/ShellOpen.h"

namespace {

// Over the owner while the owner is on screen; otherwise (hidden in the
// notification area, minimised) in the middle of the work area. Kept inside
// the work area either way.
void CenterOverOwner(HWND dialog) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    RECT area = work;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &area);

    RECT own;
    GetWindowRect(dialog, &own);
    const int width = own.right - own.left, height = own.bottom - own.top;
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    if (x + width > work.right)
        x = work.right - width;
    if (x < work.left)
        x = work.left;
    if (y + height > work.bottom)
        y = work.bottom - height;
    if (y < work.top)
        y = work.top;
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

bool CAboutDlg::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
    case WM_INITDIALOG:
        result = OnInitDialog();
        return true;
    case WM_COMMAND:
        result = 0;
        return OnCommand(LOWORD(wParam), HIWORD(wParam));
    default:
        return false;
    }
}

LRESULT CAboutDlg::OnInitDialog() {
    CenterOverOwner(window);
    return TRUE;
}

bool CAboutDlg::OnCommand(WORD id, WORD notification) {
    switch (id) {
    case IDOK:
    case IDCANCEL:
        EndDialog(id);
        return true;
    case IDC_WEB_ADDRESS:
        if (notification != BN_CLICKED)
            return false;
        ShellOpen(ORVIK_WEB_ADDRESS);
        return true;
    case IDC_MAIL_ADDRESS:
        if (notification != BN_CLICKED)
            return false;
        ShellOpen("mailto:" ORVIK_MAIL_ADDRESS);
        return true;
    default:
        return false;
    }
}

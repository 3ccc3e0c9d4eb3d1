#include "view/Selector.h"

#include "res/SelectorIds.h"

HWND g_monthButton = nullptr;

bool CSelector::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
    case WM_INITDIALOG:
        result = OnInitDialog();
        return true;
    case WM_COMMAND:
        result = 0;
        return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_DESTROY:
        OnDestroy();
        return false;
    default:
        return false;
    }
}

LRESULT CSelector::OnInitDialog() {
    // The view gives it a font for the monitor's DPI.
    g_monthButton = GetDlgItem(window, IDC_MONTH_BUTTON);
    return TRUE;
}

bool CSelector::OnCommand(WORD id, WORD notification) {
    if (notification != BN_CLICKED)
        return false;
    switch (id) {
    case IDC_PREVIOUS_YEAR:
        GoPreviousYear();
        return true;
    case IDC_NEXT_YEAR:
        GoNextYear();
        return true;
    case IDC_PREVIOUS_MONTH:
        GoPreviousMonth();
        return true;
    case IDC_NEXT_MONTH:
        GoNextMonth();
        return true;
    case IDC_MONTH_BUTTON:
        GoToday();
        return true;
    default:
        return false;
    }
}

void CSelector::OnDestroy() {
    if (g_monthButton && GetParent(g_monthButton) == window)
        g_monthButton = nullptr;
}

void CSelector::GoPreviousYear() {
    if (navigation)
        navigation->GoPreviousYear();
}

void CSelector::GoNextYear() {
    if (navigation)
        navigation->GoNextYear();
}

void CSelector::GoPreviousMonth() {
    if (navigation)
        navigation->GoPreviousMonth();
}

void CSelector::GoNextMonth() {
    if (navigation)
        navigation->GoNextMonth();
}

void CSelector::GoToday() {
    if (navigation)
        navigation->GoToday();
}

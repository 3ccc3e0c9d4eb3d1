#include "view/Selector.h"

#include "framework/AccessibleObject.h"
#include "framework/WindowText.h"
#include "res/MessageTexts.h"
#include "res/SelectorIds.h"

bool CSelector::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        // No button of the bar takes the focus: the frame gives it to a day
        // cell once it shows, and a focus given now costs a start 10 ms.
        result = FALSE;
        return true;
    case WM_COMMAND:
        result = 0;
        return OnCommand(LOWORD(wParam), HIWORD(wParam));
    default:
        return false;
    }
}

void CSelector::OnInitDialog() {
    // What the arrows mean, for a screen reader; the middle button says its month.
    const struct {
        int id;
        const char* name;
    } names[] = {{IDC_PREVIOUS_YEAR, ORVIK_NAME_PREVIOUS_YEAR},
                 {IDC_PREVIOUS_MONTH, ORVIK_NAME_PREVIOUS_MONTH},
                 {IDC_NEXT_MONTH, ORVIK_NAME_NEXT_MONTH},
                 {IDC_NEXT_YEAR, ORVIK_NAME_NEXT_YEAR}};
    for (const auto& button : names)
        NameControl(GetDlgItem(window, button.id), button.name);
}

HWND CSelector::MonthButton() const {
    return GetDlgItem(window, IDC_MONTH_BUTTON);
}

void CSelector::ShowMonth(const std::string& caption) {
    SetWindowTextIfChanged(MonthButton(), caption.c_str());
}

void CSelector::SetMonthFont(HFONT font) {
    SendMessageA(MonthButton(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
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

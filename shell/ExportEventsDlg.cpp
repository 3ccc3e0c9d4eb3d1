#include "shell/ExportEventsDlg.h"

#include "res/MessageTexts.h"
#include "shell/Texts.h"

#include <string>

bool CExportEventsDlg::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        result = TRUE;
        return true;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            OnOk();
            return true;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(IDCANCEL);
            return true;
        }
        return false;
    default:
        return false;
    }
}

void CExportEventsDlg::OnInitDialog() {
    const std::string month = shown.Format(2) + " " + std::to_string(shown.year);
    SetDlgItemTextA(window, IDC_EXPORT_MONTH, FormatText(ORVIK_EXPORT_MONTH, month).c_str());
    SetDlgItemTextA(window, IDC_EXPORT_YEAR,
                    FormatText(ORVIK_EXPORT_YEAR, std::to_string(shown.year)).c_str());
    CheckRadioButton(window, IDC_EXPORT_MONTH, IDC_EXPORT_EVERYTHING, IDC_EXPORT_MONTH);
}

void CExportEventsDlg::OnOk() {
    if (IsDlgButtonChecked(window, IDC_EXPORT_YEAR))
        range = ExportRange::Year;
    else if (IsDlgButtonChecked(window, IDC_EXPORT_EVERYTHING))
        range = ExportRange::Everything;
    else
        range = ExportRange::Month;
    EndDialog(IDOK);
}

#include "shell/OptionsDialog.h"

#include "framework/FileDialog.h"
#include "framework/PropertySheet.h"
#include "framework/WindowText.h"
#include "res/MessageTexts.h"
#include "res/OptionsIds.h"
#include "res/resource.h"
#include "shell/AppFolders.h"
#include "storage/SettingsTable.h"

#include <cstdint>

// The pages read their controls back when they are destroyed, which the
// sheet does at its end whichever button closed it; only OK copies the
// values into the settings. A page that was never shown keeps its copies.
// The sheet places the pages itself, so they are not centred here.

namespace {

std::string ControlText(HWND page, int id) {
    return WindowText(GetDlgItem(page, id));
}

std::int32_t CheckState(HWND page, int id) {
    return IsDlgButtonChecked(page, id) == BST_CHECKED ? 1 : 0;
}

// Any non-zero stored value counts as on, as everywhere else.
void SetCheck(HWND page, int id, std::int32_t value) {
    CheckDlgButton(page, id, value != 0 ? BST_CHECKED : BST_UNCHECKED);
}

// The settings the table puts on a page, into its controls and back.
void ShowSettings(HWND page, int pageId, const AppSettings& settings) {
    for (const Setting& setting : kSettings) {
        if (setting.page != pageId)
            continue;
        switch (setting.type) {
        case SettingType::Text:
            SetDlgItemTextA(page, setting.control, (settings.*setting.text).c_str());
            break;
        case SettingType::Switch:
            SetCheck(page, setting.control, settings.*setting.number);
            break;
        case SettingType::Count:
            SendDlgItemMessageA(page, setting.spinner, UDM_SETRANGE32, 0, setting.maximum);
            SetDlgItemInt(page, setting.control, static_cast<UINT>(settings.*setting.number), TRUE);
            break;
        }
    }
}

// No range check: a number typed beyond the spinner's range is kept, and
// anything that is not a number counts as 0; any text is taken, the empty
// one too.
void TakeSettings(HWND page, int pageId, AppSettings& settings) {
    for (const Setting& setting : kSettings) {
        if (setting.page != pageId)
            continue;
        switch (setting.type) {
        case SettingType::Text:
            settings.*setting.text = ControlText(page, setting.control);
            break;
        case SettingType::Switch:
            settings.*setting.number = CheckState(page, setting.control);
            break;
        case SettingType::Count:
            settings.*setting.number =
                static_cast<std::int32_t>(GetDlgItemInt(page, setting.control, nullptr, TRUE));
            break;
        }
    }
}

// What every page does with its settings; T adds its own behaviour.
template <class T> class COptionsPage : public CPropertyPageImpl<T> {
  public:
    AppSettings* edited = nullptr; // borrowed: the sheet's copy of the settings

  protected:
    void Show() { ShowSettings(this->window, T::kDialogId, *edited); }
    void Take() { TakeSettings(this->window, T::kDialogId, *edited); }
};

class COptionsReminder : public COptionsPage<COptionsReminder> {
  public:
    static constexpr int kDialogId = IDD_OPTIONS_REMINDER;

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        switch (message) {
        case WM_INITDIALOG:
            Show();
            EnableLeadTime();
            result = TRUE;
            return true;
        case WM_COMMAND:
            if (LOWORD(wParam) != IDC_USE_REMINDER || HIWORD(wParam) != BN_CLICKED)
                return false;
            EnableLeadTime();
            return true;
        case WM_DESTROY:
            Take();
            return true;
        default:
            return false;
        }
    }

  private:
    void EnableLeadTime() {
        const bool use = CheckState(window, IDC_USE_REMINDER) != 0;
        for (int id = IDC_REMIND_DAYS; id <= IDC_REMIND_MINUTES_SPIN; ++id)
            EnableWindow(GetDlgItem(window, id), use);
    }
};

class COptionsXML : public COptionsPage<COptionsXML> {
  public:
    static constexpr int kDialogId = IDD_OPTIONS_FILE;

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        switch (message) {
        case WM_INITDIALOG:
            Show();
            result = TRUE;
            return true;
        case WM_COMMAND:
            if (LOWORD(wParam) != IDC_BROWSE)
                return false;
            OnBrowse();
            return true;
        case WM_DESTROY:
            Take();
            return true;
        default:
            return false;
        }
    }

  private:
    void OnBrowse() {
        CFileDialog dialog(true, "xsl", ORVIK_STYLESHEET_FILTER);
        if (!dialog.DoModal(window))
            return;
        SetDlgItemTextA(window, IDC_XSL_TEMPLATE,
                        StylesheetFieldText(dialog.Path(), ProgramFolder()).c_str());
    }
};

class COptionsAdvanced : public COptionsPage<COptionsAdvanced> {
  public:
    static constexpr int kDialogId = IDD_OPTIONS_GENERAL;

    bool ProcessWindowMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
        switch (message) {
        case WM_INITDIALOG:
            Show();
            result = TRUE;
            return true;
        case WM_DESTROY:
            Take();
            return true;
        default:
            return false;
        }
    }
};

} // namespace

bool ShowOptions(HWND owner, AppSettings& settings) {
    AppSettings edited = settings;
    COptionsReminder reminder;
    COptionsXML stylesheet;
    COptionsAdvanced advanced;
    reminder.edited = stylesheet.edited = advanced.edited = &edited;

    // The Reminder page's spinners.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    CPropertySheet sheet(ORVIK_OPTIONS_CAPTION);
    sheet.AddPage(reminder);
    sheet.AddPage(stylesheet);
    sheet.AddPage(advanced);
    if (sheet.DoModal(owner) != IDOK)
        return false;
    settings = edited;
    return true;
}

std::string StylesheetFieldText(const std::string& path, const std::string& programFolder) {
    // The name starts after the last separator; walked by characters so that
    // a trail byte of a double-byte character is never taken for one.
    const char* name = path.c_str();
    for (const char* c = path.c_str(); *c != '\0'; c = CharNextA(c))
        if (*c == '\\')
            name = c + 1;
    const std::string folder(path.c_str(), name);
    return lstrcmpiA(folder.c_str(), programFolder.c_str()) == 0 ? std::string(name) : path;
}

#include "shell/OptionsDialog.h"

#include "framework/FileDialog.h"
#include "framework/PropertySheet.h"
#include "res/OptionsIds.h"
#include "res/resource.h"
#include "shell/AppFolders.h"

#include <cstdint>
#include <vector>

// The pages read their controls back when they are destroyed, which the
// sheet does at its end whichever button closed it; only OK copies the
// values into the settings. A page that was never shown keeps its copies.
// The sheet places the pages itself, so they are not centred here.

namespace {

const char kStylesheetFilter[] = "XSL templates (*.xsl)\0*.xsl\0All Files (*.*)\0*.*\0";

std::string ControlText(HWND page, int id) {
    HWND control = GetDlgItem(page, id);
    std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
    return text.data();
}

std::int32_t CheckState(HWND page, int id) {
    return IsDlgButtonChecked(page, id) == BST_CHECKED ? 1 : 0;
}

// Any non-zero stored value counts as on, as everywhere else.
void SetCheck(HWND page, int id, std::int32_t value) {
    CheckDlgButton(page, id, value != 0 ? BST_CHECKED : BST_UNCHECKED);
}

class COptionsReminder : public CPropertyPageImpl<COptionsReminder> {
  public:
    static constexpr int kDialogId = IDD_OPTIONS_REMINDER;

    std::int32_t RemindDays = 0;
    std::int32_t RemindHours = 0;
    std::int32_t RemindMinutes = 0;
    std::int32_t UseReminder = 0;

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        switch (message) {
        case WM_INITDIALOG:
            result = OnInitDialog();
            return true;
        case WM_COMMAND:
            return LOWORD(wParam) == IDC_USE_REMINDER && HIWORD(wParam) == BN_CLICKED &&
                   OnUseReminderClicked();
        case WM_DESTROY:
            OnDestroy();
            return true;
        default:
            return false;
        }
    }

  private:
    struct LeadTimeField {
        int edit;
        int spin;
        int maximum;
        std::int32_t COptionsReminder::*value;
    };
    static constexpr LeadTimeField kFields[] = {
        {IDC_REMIND_DAYS, IDC_REMIND_DAYS_SPIN, 366, &COptionsReminder::RemindDays},
        {IDC_REMIND_HOURS, IDC_REMIND_HOURS_SPIN, 23, &COptionsReminder::RemindHours},
        {IDC_REMIND_MINUTES, IDC_REMIND_MINUTES_SPIN, 59, &COptionsReminder::RemindMinutes},
    };

    LRESULT OnInitDialog() {
        SetCheck(window, IDC_USE_REMINDER, UseReminder);
        for (const LeadTimeField& field : kFields) {
            SendDlgItemMessageA(window, field.spin, UDM_SETRANGE32, 0, field.maximum);
            SetDlgItemInt(window, field.edit, static_cast<UINT>(this->*field.value), TRUE);
        }
        EnableLeadTime();
        return TRUE;
    }

    bool OnUseReminderClicked() {
        UseReminder = CheckState(window, IDC_USE_REMINDER);
        EnableLeadTime();
        return true;
    }

    // No range check: a number typed beyond the spinner's range is kept,
    // and anything that is not a number counts as 0.
    void OnDestroy() {
        for (const LeadTimeField& field : kFields)
            this->*field.value =
                static_cast<std::int32_t>(GetDlgItemInt(window, field.edit, nullptr, TRUE));
    }

    void EnableLeadTime() {
        for (int id = IDC_REMIND_DAYS; id <= IDC_REMIND_MINUTES_SPIN; ++id)
            EnableWindow(GetDlgItem(window, id), UseReminder != 0);
    }
};

class COptionsXML : public CPropertyPageImpl<COptionsXML> {
  public:
    static constexpr int kDialogId = IDD_OPTIONS_FILE;

    std::string XSLTemplate;

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        switch (message) {
        case WM_INITDIALOG:
            SetDlgItemTextA(window, IDC_XSL_TEMPLATE, XSLTemplate.c_str());
            result = TRUE;
            return true;
        case WM_COMMAND:
            if (LOWORD(wParam) != IDC_BROWSE)
                return false;
            OnBrowse();
            return true;
        case WM_DESTROY:
            // Any text is taken, the empty one too.
            XSLTemplate = ControlText(window, IDC_XSL_TEMPLATE);
            return true;
        default:
            return false;
        }
    }

  private:
    void OnBrowse() {
        CFileDialog dialog(true, "xsl", kStylesheetFilter);
        if (!dialog.DoModal(window))
            return;
        SetDlgItemTextA(window, IDC_XSL_TEMPLATE,
                        StylesheetFieldText(dialog.Path(), ProgramFolder()).c_str());
    }
};

class COptionsAdvanced : public CPropertyPageImpl<COptionsAdvanced> {
  public:
    static constexpr int kDialogId = IDD_OPTIONS_GENERAL;

    std::int32_t MinimizeOnClose = 0;
    std::int32_t SundayFirst = 0;
    std::int32_t AllowMultipleInstances = 0;

    bool ProcessWindowMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
        switch (message) {
        case WM_INITDIALOG:
            for (const Switch& item : kSwitches)
                SetCheck(window, item.id, this->*item.value);
            result = TRUE;
            return true;
        case WM_DESTROY:
            for (const Switch& item : kSwitches)
                this->*item.value = CheckState(window, item.id);
            return true;
        default:
            return false;
        }
    }

  private:
    struct Switch {
        int id;
        std::int32_t COptionsAdvanced::*value;
    };
    static constexpr Switch kSwitches[] = {
        {IDC_MINIMIZE_ON_CLOSE, &COptionsAdvanced::MinimizeOnClose},
        {IDC_SUNDAY_FIRST, &COptionsAdvanced::SundayFirst},
        {IDC_MULTIPLE_INSTANCES, &COptionsAdvanced::AllowMultipleInstances},
    };
};

} // namespace

bool ShowOptions(HWND owner, AppSettings& settings) {
    COptionsReminder reminder;
    reminder.UseReminder = settings.UseReminder;
    reminder.RemindDays = settings.RemindDays;
    reminder.RemindHours = settings.RemindHours;
    reminder.RemindMinutes = settings.RemindMinutes;
    COptionsXML stylesheet;
    stylesheet.XSLTemplate = settings.XSLTemplate;
    COptionsAdvanced advanced;
    advanced.MinimizeOnClose = settings.MinimizeOnClose;
    advanced.SundayFirst = settings.SundayFirst;
    advanced.AllowMultipleInstances = settings.AllowMultipleInstances;

    // The Reminder page's spinners.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    CPropertySheet sheet("Options...");
    sheet.AddPage(reminder);
    sheet.AddPage(stylesheet);
    sheet.AddPage(advanced);
    if (sheet.DoModal(owner) != IDOK)
        return false;

    settings.UseReminder = reminder.UseReminder;
    settings.RemindDays = reminder.RemindDays;
    settings.RemindHours = reminder.RemindHours;
    settings.RemindMinutes = reminder.RemindMinutes;
    settings.XSLTemplate = stylesheet.XSLTemplate;
    settings.MinimizeOnClose = advanced.MinimizeOnClose;
    settings.SundayFirst = advanced.SundayFirst;
    settings.AllowMultipleInstances = advanced.AllowMultipleInstances;
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

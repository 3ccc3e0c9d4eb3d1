#include "shell/SyncDialog.h"

#include "framework/WindowText.h"
#include "res/MessageTexts.h"
#include "shell/Credentials.h"
#include "shell/SyncController.h"
#include "shell/Texts.h"

#include <cstdlib>

namespace {

std::string FieldText(HWND dialog, int field) {
    return WindowText(GetDlgItem(dialog, field));
}

std::string Describe(const ServerFailure& failure) {
    switch (failure.kind) {
    case ServerFailure::Kind::NotReached:
        return "The server was not reached: " + failure.detail;
    case ServerFailure::Kind::PasswordRefused:
        return "The server refused the user name or password.";
    default:
        return failure.detail.empty() ? "The server answered " + std::to_string(failure.status)
                                      : failure.detail;
    }
}

// The wait cursor while the dialog talks to the server.
class WaitCursor {
  public:
    WaitCursor() : previous(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    HCURSOR previous;
};

} // namespace

bool CSyncDlg::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        result = TRUE;
        return true;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_SYNC_FIND:
            OnFind();
            return true;
        case IDC_SYNC_NEW:
            OnNew();
            return true;
        case IDOK:
            OnOk();
            return true;
        case IDCANCEL:
            EndDialog(IDCANCEL);
            return true;
        default:
            return false;
        }
    default:
        return false;
    }
}

void CSyncDlg::OnInitDialog() {
    SetDlgItemTextA(window, IDC_SYNC_SERVER, settings.SyncServer.c_str());
    SetDlgItemTextA(window, IDC_SYNC_USER, settings.SyncUser.c_str());
    SetDlgItemInt(window, IDC_SYNC_MINUTES, static_cast<UINT>(std::max(0, settings.SyncMinutes)),
                  FALSE);
    SetDlgItemTextA(window, IDC_SYNC_LAST, LastSyncText().c_str());
    if (!settings.SyncCalendar.empty())
        calendars.push_back({settings.SyncCalendar, settings.SyncCalendar});
    ShowCalendars(settings.SyncCalendar);
}

bool CSyncDlg::ReadAccount(std::string& server, std::string& user, std::string& password) {
    server = FieldText(window, IDC_SYNC_SERVER);
    user = FieldText(window, IDC_SYNC_USER);
    password = FieldText(window, IDC_SYNC_PASSWORD);
    if (server.empty() || user.empty()) {
        Tell(ORVIK_SYNC_NEED_ADDRESS, MB_ICONINFORMATION);
        return false;
    }
    if (server.find("://") == std::string::npos)
        server = "https://" + server;
    if (!MaySendPassword(server)) {
        Tell(ORVIK_SYNC_NOT_SAFE, MB_ICONWARNING);
        return false;
    }
    if (password.empty())
        password = StoredSyncPassword(server, user).value_or("");
    return true;
}

void CSyncDlg::OnFind() {
    std::string server, user, password;
    if (!ReadAccount(server, user, password))
        return;
    Discovery found;
    {
        WaitCursor waiting;
        HttpClient http(user, password);
        found = FindCalendars(http, server);
    }
    calendars = found.calendars;
    homeUrl = found.homeUrl;
    ShowCalendars(settings.SyncCalendar);
    SetDlgItemTextA(window, IDC_SYNC_FOUND,
                    FormatText(ORVIK_SYNC_FOUND, std::to_string(calendars.size())).c_str());
    if (calendars.empty())
        Tell(FormatText(ORVIK_SYNC_FIND_FAILED, {server, Describe(found.failure)}), MB_ICONWARNING);
}

void CSyncDlg::OnNew() {
    std::string server, user, password;
    if (!ReadAccount(server, user, password))
        return;
    if (homeUrl.empty()) {
        Tell(ORVIK_SYNC_NO_HOME, MB_ICONINFORMATION);
        return;
    }
    ServerFailure failure;
    std::string made;
    {
        WaitCursor waiting;
        HttpClient http(user, password);
        made = MakeCalendar(http, homeUrl, diaryName, failure);
    }
    if (made.empty()) {
        Tell(FormatText(ORVIK_SYNC_NEW_FAILED, Describe(failure)), MB_ICONWARNING);
        return;
    }
    calendars.push_back({made, diaryName});
    ShowCalendars(made);
}

void CSyncDlg::ShowCalendars(const std::string& chosen) {
    HWND list = GetDlgItem(window, IDC_SYNC_CALENDARS);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (std::size_t i = 0; i < calendars.size(); ++i) {
        const FoundCalendar& calendar = calendars[i];
        const std::string shown = calendar.name.empty() || calendar.name == calendar.url
                                      ? calendar.url
                                      : calendar.name + " (" + calendar.url + ")";
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
        if (calendar.url == chosen)
            SendMessageA(list, LB_SETCURSEL, i, 0);
    }
}

void CSyncDlg::OnOk() {
    const LRESULT chosen = SendDlgItemMessageA(window, IDC_SYNC_CALENDARS, LB_GETCURSEL, 0, 0);
    std::string server, user, password;
    // Without a calendar nothing syncs and nothing needs to be filled in.
    if (chosen != LB_ERR) {
        if (!ReadAccount(server, user, password))
            return;
        if (!password.empty() && !StoreSyncPassword(server, user, password)) {
            Tell(ORVIK_SYNC_PASSWORD_NOT_KEPT, MB_ICONERROR);
            return;
        }
        settings.SyncServer = server;
        settings.SyncUser = user;
        settings.SyncCalendar = calendars[static_cast<std::size_t>(chosen)].url;
    } else {
        settings.SyncCalendar.clear();
    }
    BOOL read = FALSE;
    const UINT minutes = GetDlgItemInt(window, IDC_SYNC_MINUTES, &read, FALSE);
    if (read)
        settings.SyncMinutes = static_cast<std::int32_t>(std::min<UINT>(minutes, 24 * 60));
    EndDialog(IDOK);
}

void CSyncDlg::Tell(const std::string& text, UINT icon) {
    MessageBoxA(window, text.c_str(), ORVIK_CAPTION, MB_OK | icon);
}

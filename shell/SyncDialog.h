#pragma once

#include "framework/Dialog.h"
#include "res/resource.h"
#include "shell/CalDavServer.h"
#include "storage/AppSettings.h"

#include <string>
#include <vector>

// File > Sync...: the server, the user, the password (kept in the
// Credential Manager), the calendar found there or made anew, and how often
// to sync. OK ends it with IDOK and `settings` changed.
class CSyncDlg : public CDialogImpl<CSyncDlg> {
  public:
    static constexpr int kDialogId = IDD_SYNC;

    CSyncDlg(const AppSettings& settings, std::string diaryName)
        : settings(settings), diaryName(std::move(diaryName)) {}

    AppSettings settings;

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  private:
    void OnInitDialog();
    void OnFind();
    void OnNew();
    void OnOk();
    // The fields' server, user and password; false with the user told.
    bool ReadAccount(std::string& server, std::string& user, std::string& password);
    void ShowCalendars(const std::string& chosen);
    void Tell(const std::string& text, UINT icon);

    std::string diaryName;
    std::vector<FoundCalendar> calendars;
    std::string homeUrl;
};

#include "res/MessageTexts.h"
#include "shell/Credentials.h"
#include "shell/HttpClient.h"
#include "shell/SyncDialog.h"
#include "tests/harness/WindowTestHarness.h"
#include "tests/support/OwnerWindow.h"

#include <gtest/gtest.h>

TEST(Sync, ThePasswordGoesOnlyOverHttpsOrToThisComputer) {
    const struct {
        const char* url;
        bool allowed;
    } cases[] = {
        {"https://cloud.example.com/remote.php/dav", true},
        {"http://127.0.0.1:5232/", true},
        {"http://localhost/dav/", true},
        {"http://[::1]:5232/", true},
        {"http://cloud.example.com/", false},
        {"http://127.0.0.1.example.com/", false},
        {"http://localhost.example.com:5232/", false},
        {"ftp://127.0.0.1/", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MaySendPassword(c.url), c.allowed) << c.url;
}

using SyncDialog = WindowTest;

// What the dialog keeps, and what it refuses before any network is used.
TEST_F(SyncDialog, KeepsTheChosenCalendarAndThePasswordAndRefusesPlainHttp) {
    const struct {
        const char* how;
        const char* server;
        int button;           // pressed after the fields are filled
        const char* told;     // the message box's text, if one comes
        const char* calendar; // SyncCalendar afterwards
        int minutes;
    } cases[] = {
        {"a calendar kept, its password stored", "cloud.example.com", IDOK, nullptr,
         "https://cloud.example.com/cal/", 30},
        {"plain http to another computer refused", "http://cloud.example.com", IDC_SYNC_FIND,
         ORVIK_SYNC_NOT_SAFE, "https://cloud.example.com/cal/", 15},
    };
    for (const auto& c : cases) {
        OwnerWindow owner;
        AppSettings settings;
        settings.SyncCalendar = "https://cloud.example.com/cal/";
        DialogAnswerer answerer({[&](HWND dialog) {
            SetDlgItemTextA(dialog, IDC_SYNC_SERVER, c.server);
            SetDlgItemTextA(dialog, IDC_SYNC_USER, "anna");
            SetDlgItemTextA(dialog, IDC_SYNC_PASSWORD, "app password");
            SetDlgItemTextA(dialog, IDC_SYNC_MINUTES, "30");
            DialogAnswerer::Press(c.button)(dialog);
            // Ends it where the button did not (a dialog is answered once).
            DialogAnswerer::Press(IDCANCEL)(dialog);
        }});
        CSyncDlg dialog(settings, "diary.csv");
        const bool ok = dialog.DoModal(owner.window) == IDOK;
        if (ok)
            settings = dialog.settings;
        EXPECT_EQ(settings.SyncCalendar, c.calendar) << c.how;
        EXPECT_EQ(settings.SyncMinutes, c.minutes) << c.how;
        const bool toldSomething = answerer.Seen().size() > 1;
        EXPECT_EQ(toldSomething, c.told != nullptr) << c.how;
        if (c.told && toldSomething) {
            EXPECT_EQ(answerer.Seen()[1].text, c.told) << c.how;
        }
        if (ok) {
            EXPECT_EQ(settings.SyncServer, "https://cloud.example.com") << c.how;
            EXPECT_EQ(StoredSyncPassword(settings.SyncServer, "anna").value_or(""), "app password")
                << c.how;
        }
    }
}

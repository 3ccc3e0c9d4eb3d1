// Drives the whole program for the sync scenarios, one step per run, so
// that a script can let the "phone" change the calendar in between:
//   SyncDriver discover SERVER USER PASSWORD   prints the calendar found or made
//   SyncDriver configure SERVER USER PASSWORD CALENDAR DIARY [INSTALLATION]
//   SyncDriver run PROGRAM then-save|then-discard|then-close
//       starts the program on the diary, waits for the sync's last word in
//       the status bar, prints it, saves or not, and closes it
//   SyncDriver close-while-syncing PROGRAM
//       closes it while the sync waits and prints how long the close took
//   SyncDriver forget                          removes the sync's settings
#include "res/RegistryNames.h"
#include "res/resource.h"
#include "shell/CalDavServer.h"
#include "shell/Credentials.h"
#include "tests/harness/WindowTestHarness.h"
#include "tests/support/StartedProgram.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// A sync waits for the server: longer than a start.
const DWORD kSyncPatienceMs = 30000;

// In one message: the text may change between asking its length and asking it.
std::string StatusText(HWND frame) {
    HWND bar = FindWindowExA(frame, nullptr, "msctls_statusbar32", nullptr);
    char text[512] = "";
    if (bar)
        SendMessageTimeoutA(bar, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                            SMTO_BLOCK, 2000, nullptr);
    return text;
}

bool IsLastWord(const std::string& status) {
    return status.rfind("Synced", 0) == 0 || status.rfind("Sync failed", 0) == 0 ||
           status.rfind("Sync:", 0) == 0;
}

bool WaitForLastWord(HWND frame, std::string& status) {
    return WaitUntil([&] { return IsLastWord(status = StatusText(frame)); }, kSyncPatienceMs);
}

// Posts the close, answers a question about unsaved changes, and gives how
// long the program took to end (-1: it did not).
long Close(const StartedProgram& program, HWND frame, int answer) {
    const DWORD start = GetTickCount();
    PostMessageA(frame, WM_CLOSE, 0, 0);
    while (program.Running()) {
        if (GetTickCount() - start > kSyncPatienceMs)
            return -1;
        if (HWND question = DialogOf(program.ProcessId()))
            PostMessageA(question, WM_COMMAND, answer, 0);
        Sleep(50);
    }
    return static_cast<long>(GetTickCount() - start);
}

int Discover(const std::string& server, const std::string& user, const std::string& password) {
    HttpClient http(user, password);
    Discovery found = FindCalendars(http, server);
    if (found.calendars.empty() && !found.homeUrl.empty()) {
        ServerFailure failure;
        const std::string made = MakeCalendar(http, found.homeUrl, "Diary", failure);
        if (!made.empty())
            found.calendars.push_back({made, "Diary"});
    }
    if (found.calendars.empty()) {
        std::printf("nothing found: %d %s\n", found.failure.status, found.failure.detail.c_str());
        return 1;
    }
    std::printf("%s\n", found.calendars.front().url.c_str());
    return 0;
}

int Configure(char** argv, int argc) {
    const std::string server = argv[2], user = argv[3];
    if (!StoreSyncPassword(server, user, argv[4]))
        return 1;
    StoreSettingsText(ORVIK_VALUE_SYNC_SERVER, server);
    StoreSettingsText(ORVIK_VALUE_SYNC_USER, user);
    StoreSettingsText(ORVIK_VALUE_SYNC_CALENDAR, argv[5]);
    StoreSettingsDWord(ORVIK_VALUE_SYNC_MINUTES, 0);
    StoreSettingsDWord(ORVIK_VALUE_USE_REMINDER, 1);
    StoreSettingsDWord(ORVIK_VALUE_REMIND_MINUTES, 15);
    StoreSettingsDWord(ORVIK_VALUE_DOCUMENT_COUNT, 4, ORVIK_RECENT_SUBKEY);
    StoreSettingsText("Document1", argv[6], ORVIK_RECENT_SUBKEY);
    if (argc > 7)
        StoreSettingsText(ORVIK_VALUE_INSTALLATION_ID, argv[7]);
    return 0;
}

int Run(const std::string& path, const std::string& then) {
    StartedProgram program(path);
    HWND frame = program.WaitForMainWindow();
    if (!frame) {
        std::printf("no window\n");
        return 1;
    }
    std::string status;
    WaitForLastWord(frame, status);
    std::printf("%s\n", status.c_str());
    if (then == "then-save") {
        PostMessageA(frame, WM_COMMAND, ID_FILE_SAVE, 0);
        // The save syncs again: wait for its word too.
        Sleep(300);
        WaitForLastWord(frame, status);
    }
    return Close(program, frame, then == "then-discard" ? IDNO : IDYES) < 0 ? 1 : 0;
}

int CloseWhileSyncing(const std::string& path) {
    StartedProgram program(path);
    HWND frame = program.WaitForMainWindow();
    if (!frame ||
        !WaitUntil([&] { return StatusText(frame).rfind("Syncing", 0) == 0; }, kSyncPatienceMs))
        return 1;
    const long elapsed = Close(program, frame, IDNO);
    std::printf("%ld\n", elapsed);
    return elapsed < 0 ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "discover" && argc == 5)
        return Discover(argv[2], argv[3], argv[4]);
    if (command == "configure" && argc >= 7)
        return Configure(argv, argc);
    if (command == "run" && argc == 4)
        return Run(argv[2], argv[3]);
    if (command == "close-while-syncing" && argc == 3)
        return CloseWhileSyncing(argv[2]);
    if (command == "forget") {
        ResetSettingsKey();
        return 0;
    }
    std::fprintf(stderr, "usage: see the top of SyncDriver.cpp\n");
    return 2;
}

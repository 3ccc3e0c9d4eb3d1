#include "tests/harness/WindowTestHarness.h"

#include "res/RegistryNames.h"
#include "res/resource.h"
#include "shell/SystemTray.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

const DWORD kPatienceMs = 15000;

std::string ProgramFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindProgramWindow(HWND window, LPARAM searchPointer) {
    auto& search = *reinterpret_cast<WindowSearch*>(searchPointer);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[64] = "", className[16] = "";
    GetWindowTextA(window, title, sizeof title);
    GetClassNameA(window, className, sizeof className);
    // Its message boxes bear the program's name too.
    if (owner == search.processId && std::string(title).rfind("OrvikCalendar", 0) == 0 &&
        lstrcmpA(className, "#32770") != 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

// One started OrvikCalendar.exe; ended by force if a test leaves it running.
class RunningProgram {
  public:
    RunningProgram() {
        const std::string folder = ProgramFolder();
        std::string commandLine = "\"" + folder + "OrvikCalendar.exe\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                 folder.c_str(), &startup, &process) != FALSE;
        if (started)
            CloseHandle(process.hThread);
    }
    ~RunningProgram() {
        if (!started)
            return;
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process.hProcess, 99);
        CloseHandle(process.hProcess);
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return started; }
    DWORD ProcessId() const { return process.dwProcessId; }
    bool Running() const { return WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; }
    HWND MainWindow() const {
        WindowSearch search{process.dwProcessId, nullptr};
        EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    // Another process starts on its own time: poll for its window.
    HWND WaitForMainWindow() const {
        for (DWORD waited = 0; waited < kPatienceMs && Running(); waited += 20) {
            HWND window = MainWindow();
            if (window && IsWindowVisible(window)) {
                WaitForInputIdle(process.hProcess, kPatienceMs); // shown and painted
                return window;
            }
            Sleep(20);
        }
        return nullptr;
    }
    // The exit code, or -1 when the program did not end in time.
    void WaitUntilIdle() const { WaitForInputIdle(process.hProcess, kPatienceMs); }
    // Ends it at once, as a crash or the task manager would: nothing is saved.
    void Kill() const {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, kPatienceMs);
    }
    int WaitForExit() const {
        DWORD code = 0;
        if (WaitForSingleObject(process.hProcess, kPatienceMs) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(process.hProcess, &code))
            return -1;
        return static_cast<int>(code);
    }

  private:
    PROCESS_INFORMATION process{};
    bool started = false;
};

// Every test starts with no copy running: a copy that just ended may still
// hold its single-instance mutex for a moment while its process is torn down.
class WholeProgram : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        for (DWORD waited = 0; waited < kPatienceMs; waited += 20) {
            HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, "OrvikCalendar_RUDORAVIRIVI");
            if (!mutex)
                return;
            CloseHandle(mutex);
            Sleep(20);
        }
    }
};

TEST_F(WholeProgram, ClosingTheWindowEndsWithExitCode1AndSavesSettings) {
    RunningProgram program;
    ASSERT_TRUE(program.Started());
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    CreateDirectoryA("..\\screenshots", nullptr);
    EXPECT_TRUE(SaveScreenshot("..\\screenshots\\program-started.bmp"));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 1);
    StoredValue placement;
    EXPECT_TRUE(ReadStoredValue(ORVIK_VALUE_WINDOW_PLACEMENT, placement));
}

TEST_F(WholeProgram, SecondCopyShowsTheFirstOneAndEndsWithoutAWindow) {
    RunningProgram first;
    HWND window = first.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window));

    RunningProgram second;
    ASSERT_TRUE(second.Started());
    bool secondHadAWindow = false;
    while (second.Running())
        secondHadAWindow = secondHadAWindow || second.MainWindow() != nullptr;
    EXPECT_EQ(second.WaitForExit(), 0);
    EXPECT_FALSE(secondHadAWindow);
    EXPECT_FALSE(IsIconic(window)) << "the first copy came back";
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(GetForegroundWindow(), window);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.WaitForExit(), 1);
}

TEST_F(WholeProgram, AllowMultipleInstancesRunsTwoCopies) {
    StoreSettingsDWord(ORVIK_VALUE_ALLOW_MULTIPLE_INSTANCES, 1);
    RunningProgram first;
    HWND firstWindow = first.WaitForMainWindow();
    RunningProgram second;
    HWND secondWindow = second.WaitForMainWindow();
    ASSERT_NE(firstWindow, nullptr);
    ASSERT_NE(secondWindow, nullptr);
    EXPECT_NE(firstWindow, secondWindow);
    PostMessageA(secondWindow, WM_CLOSE, 0, 0);
    PostMessageA(firstWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(second.WaitForExit(), 1);
    EXPECT_EQ(first.WaitForExit(), 1);
}

TEST_F(WholeProgram, StoredMaximisedPlacementStartsMaximised) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    placement.showCmd = SW_SHOWMAXIMIZED;
    placement.rcNormalPosition = {40, 40, 640, 480};
    StoreSettingsValue(ORVIK_VALUE_WINDOW_PLACEMENT, REG_BINARY, &placement, sizeof placement);
    RunningProgram program;
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsZoomed(window));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 1);
}

struct CellSearch {
    std::vector<HWND> cells;
};

BOOL CALLBACK CollectCells(HWND child, LPARAM searchPointer) {
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    const LONG dayCell = ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL | WS_TABSTOP;
    if ((style & dayCell) == dayCell)
        reinterpret_cast<CellSearch*>(searchPointer)->cells.push_back(child);
    return TRUE;
}

// The 42 day cells of the program's month view, in grid order.
std::vector<HWND> DayCells(HWND frame) {
    CellSearch search;
    EnumChildWindows(frame, CollectCells, reinterpret_cast<LPARAM>(&search));
    return search.cells;
}

HWND WaitForDialogOf(DWORD processId) {
    for (DWORD waited = 0; waited < kPatienceMs; waited += 20) {
        HWND dialog = nullptr;
        while ((dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr)) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(dialog, &owner);
            if (owner == processId && IsWindowVisible(dialog))
                return dialog;
        }
        Sleep(20);
    }
    return nullptr;
}

TEST_F(WholeProgram, SavedTextComesBackAtTheNextStart) {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "orvik whole program.csv";
    DeleteFileA(path.c_str());
    {
        RunningProgram program;
        HWND window = program.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        const std::vector<HWND> cells = DayCells(window);
        ASSERT_EQ(cells.size(), 42u);
        for (char c : std::string("11:00 Dentist"))
            PostMessageA(cells[17], WM_CHAR, static_cast<WPARAM>(c), 1);
        PostMessageA(window, WM_COMMAND, ID_FILE_SAVE, 0); // what Ctrl+S sends
        HWND saveAs = WaitForDialogOf(program.ProcessId());
        ASSERT_NE(saveAs, nullptr) << "an untitled diary asks for a name";
        if (!SetDlgItemTextA(saveAs, 0x47C, path.c_str()))
            SetDlgItemTextA(saveAs, 0x480, path.c_str());
        PostMessageA(saveAs, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        for (DWORD waited = 0;
             waited < kPatienceMs && GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
             waited += 20)
            Sleep(20);
        PostMessageA(window, WM_COMMAND, ID_APP_EXIT, 0);
        EXPECT_EQ(program.WaitForExit(), 1);
    }
    RunningProgram again;
    HWND window = again.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    char title[512] = "";
    GetWindowTextA(window, title, sizeof title);
    EXPECT_EQ(std::string(title), "OrvikCalendar - " + path);
    const std::vector<HWND> cells = DayCells(window);
    ASSERT_EQ(cells.size(), 42u);
    char text[64] = "";
    // Another process's control: only WM_GETTEXT asks the control itself.
    SendMessageA(cells[17], WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "11:00 Dentist");
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(again.WaitForExit(), 1);
    DeleteFileA(path.c_str());
}

// A drop-down menu window of that process, or null.
HWND OpenMenuOf(DWORD processId);
void PostKey(HWND window, UINT down, WPARAM key, LPARAM flags = 0);

// Receives the item texts of every popup menu a program opens, from a hook
// that runs in that program.
class MenuSpy {
  public:
    explicit MenuSpy(HWND programWindow) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Receive;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "OrvikMenuSpyReceiver";
        RegisterClassA(&windowClass);
        receiver = CreateWindowA(windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                 nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrA(receiver, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        library = LoadLibraryA((ProgramFolder() + "menu_spy.dll").c_str());
        const auto hook = reinterpret_cast<HOOKPROC>(
            reinterpret_cast<void*>(GetProcAddress(library, "MenuSpyHook")));
        if (hook)
            installed = SetWindowsHookExA(WH_CALLWNDPROC, hook, library,
                                          GetWindowThreadProcessId(programWindow, nullptr));
    }
    ~MenuSpy() {
        if (installed)
            UnhookWindowsHookEx(installed);
        DestroyWindow(receiver);
        FreeLibrary(library);
    }
    MenuSpy(const MenuSpy&) = delete;
    MenuSpy& operator=(const MenuSpy&) = delete;

    bool Installed() const { return installed != nullptr; }
    // The items of the last menu seen, after waiting up to that long for one.
    std::vector<std::string> WaitForMenu(DWORD patienceMs) {
        for (DWORD waited = 0; waited < patienceMs && items.empty(); waited += 20) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
            Sleep(20);
        }
        return items;
    }

  private:
    static LRESULT CALLBACK Receive(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* spy = reinterpret_cast<MenuSpy*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message != WM_COPYDATA || !spy)
            return DefWindowProcA(window, message, wParam, lParam);
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        const std::string texts(static_cast<const char*>(data->lpData), data->cbData);
        spy->items.clear();
        for (std::size_t start = 0, end; (end = texts.find('\n', start)) != std::string::npos;
             start = end + 1)
            spy->items.push_back(texts.substr(start, end - start));
        return TRUE;
    }

    HWND receiver = nullptr;
    HMODULE library = nullptr;
    HHOOK installed = nullptr;
    std::vector<std::string> items;
};

// The texts of the reminder menu that a left click on the icon opens, once
// there are pending reminders; empty when none came within the time.
std::vector<std::string> ReminderMenu(HWND window, DWORD patienceMs) {
    MenuSpy spy(window);
    EXPECT_TRUE(spy.Installed());
    std::vector<std::string> items;
    for (DWORD waited = 0; waited < patienceMs && items.empty(); waited += 250) {
        PostMessageA(window, CSystemTray::kCallbackMessage, CSystemTray::kIconId, WM_LBUTTONUP);
        items = spy.WaitForMenu(250);
    }
    if (!items.empty())
        PostKey(window, WM_KEYDOWN, VK_ESCAPE);
    return items;
}

// Writes a calendar file of one day and makes it the document of the next start.
std::string DiaryOfToday(const std::string& lines) {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "orvik reminder.csv";
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const std::string record = "\"" + std::to_string(now.wMonth) + "/" + std::to_string(now.wDay) +
                               "/" + std::to_string(now.wYear) + "\";\"" + lines + "\"\r\n";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
    StoreSettingsDWord(ORVIK_VALUE_USE_REMINDER, 1);
    StoreSettingsDWord(ORVIK_VALUE_DOCUMENT_COUNT, 4, ORVIK_RECENT_SUBKEY);
    StoreSettingsText("Document1", path, ORVIK_RECENT_SUBKEY);
    return path;
}

// A time of today as a line starts: "09:05".
std::string MinutesFromNow(int minutes) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const int of = ((now.wHour * 60 + now.wMinute + minutes) % 1440 + 1440) % 1440;
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", of / 60, of % 60);
    return text;
}

TEST_F(WholeProgram, ALineForThisMinuteIsRemindedWithinTenSeconds) {
    // This minute and the next, so that a minute turning over changes nothing.
    const std::string path =
        DiaryOfToday(MinutesFromNow(0) + " now\n" + MinutesFromNow(1) + " next");
    RunningProgram program;
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(ReminderMenu(window, 12000).empty()) << "no reminder within the time";
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 1);
    DeleteFileA(path.c_str());
}

TEST_F(WholeProgram, ALineDueWhileTheProgramWasNotRunningIsRemindedAsMissed) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    if (now.wHour * 60 + now.wMinute < 60)
        GTEST_SKIP() << "the line would stand on yesterday";
    const std::string line = MinutesFromNow(-30) + " Dentist";
    const std::string path = DiaryOfToday(line);
    StoreSettingsDWord(ORVIK_VALUE_LAST_REMINDER_CHECK,
                       static_cast<DWORD>(std::time(nullptr) - 60 * 60));
    RunningProgram program;
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const std::vector<std::string> menu = ReminderMenu(window, kPatienceMs);
    ASSERT_FALSE(menu.empty()) << "not reminded";
    EXPECT_NE(menu.front().find(" - missed: " + line), std::string::npos) << menu.front();
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 1);
    DeleteFileA(path.c_str());
}

HWND OpenMenuOf(DWORD processId) {
    HWND menu = nullptr;
    while ((menu = FindWindowExA(nullptr, menu, "#32768", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(menu, &owner);
        if (owner == processId && IsWindowVisible(menu))
            return menu;
    }
    return nullptr;
}

void PostKey(HWND window, UINT down, WPARAM key, LPARAM flags) {
    PostMessageA(window, down, key, flags | 1);
    PostMessageA(window, down + 1, key, flags | (static_cast<LPARAM>(KF_REPEAT | KF_UP) << 16) | 1);
}

TEST_F(WholeProgram, AltFOpensTheFileMenuFromTheMenuBar) {
    RunningProgram program;
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    // Menus only show in the active program; the instance message makes the
    // program bring itself to the front, as a user's click would.
    SendMessageA(window, RegisterWindowMessageA("OrvikCalendar_RUDORAVIRIVI"), 0, 0);
    const LPARAM alt = static_cast<LPARAM>(KF_ALTDOWN) << 16;
    PostMessageA(window, WM_SYSKEYDOWN, VK_MENU, alt | 1);
    PostKey(window, WM_SYSKEYDOWN, 'F', alt);
    PostMessageA(window, WM_KEYUP, VK_MENU, (static_cast<LPARAM>(KF_REPEAT | KF_UP) << 16) | 1);
    HWND menu = nullptr;
    for (DWORD waited = 0; waited < kPatienceMs && !menu; waited += 20) {
        Sleep(20);
        menu = OpenMenuOf(program.ProcessId());
    }
    ASSERT_NE(menu, nullptr) << "no drop-down menu opened";
    PostKey(window, WM_KEYDOWN, VK_ESCAPE);
    PostKey(window, WM_KEYDOWN, VK_ESCAPE);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 1);
}

// The recovery files of every copy, in the user's local application data.
std::string RecoveryFolder() {
    char root[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, root);
    return std::string(root) + "\\OrvikCalendar\\Recovery\\";
}

std::vector<std::string> RecoveryFiles() {
    std::vector<std::string> files;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((RecoveryFolder() + "*.orvik").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    do
        files.push_back(RecoveryFolder() + found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return files;
}

void RemoveRecoveryFiles() {
    for (const std::string& file : RecoveryFiles())
        DeleteFileA(file.c_str());
}

std::string CellText(HWND cell) {
    char text[256] = "";
    // Another process's control: only WM_GETTEXT asks the control itself.
    SendMessageA(cell, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

BOOL CALLBACK FindSaveButton(HWND child, LPARAM enabled) {
    char className[32] = "";
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, TOOLBARCLASSNAMEA) == 0 &&
        SendMessageA(child, TB_COMMANDTOINDEX, ID_FILE_SAVE, 0) >= 0 &&
        SendMessageA(child, TB_ISBUTTONENABLED, ID_FILE_SAVE, 0))
        *reinterpret_cast<bool*>(enabled) = true;
    return TRUE;
}

// Whether the toolbar's Save button is enabled (the diary is modified).
bool SaveEnabled(HWND frame) {
    bool enabled = false;
    EnumChildWindows(frame, FindSaveButton, reinterpret_cast<LPARAM>(&enabled));
    return enabled;
}

// A saved diary that is opened at start, typed into, and the program killed
// before it was saved; then started again.
class Recovery : public WholeProgram {
  protected:
    void SetUp() override {
        WholeProgram::SetUp();
        RemoveRecoveryFiles();
        char temp[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, temp);
        path = std::string(temp) + "orvik recovered.csv";
        HANDLE file =
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, "", 0, &written, nullptr);
        CloseHandle(file);
        StoreSettingsDWord(ORVIK_VALUE_DOCUMENT_COUNT, 4, ORVIK_RECENT_SUBKEY);
        StoreSettingsText("Document1", path, ORVIK_RECENT_SUBKEY);
    }
    void TearDown() override {
        RemoveRecoveryFiles();
        DeleteFileA(path.c_str());
        WholeProgram::TearDown();
    }
    void TypeAndKill() {
        RunningProgram program;
        HWND window = program.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        const std::vector<HWND> cells = DayCells(window);
        ASSERT_EQ(cells.size(), 42u);
        for (char c : std::string("typed, never saved"))
            PostMessageA(cells[17], WM_CHAR, static_cast<WPARAM>(c), 1);
        for (DWORD waited = 0; waited < kPatienceMs && RecoveryFiles().empty(); waited += 100)
            Sleep(100);
        ASSERT_EQ(RecoveryFiles().size(), 1u) << "kept a few seconds after the typing";
        program.Kill();
    }
    std::string path;
};

TEST_F(Recovery, AfterAKillTheChangesComeBackWhenWanted) {
    for (const bool wanted : {true, false}) {
        TypeAndKill();
        RunningProgram again;
        HWND question = WaitForDialogOf(again.ProcessId());
        ASSERT_NE(question, nullptr) << wanted;
        PostMessageA(question, WM_COMMAND, MAKEWPARAM(wanted ? IDYES : IDNO, BN_CLICKED), 0);
        HWND window = again.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        const std::vector<HWND> cells = DayCells(window);
        ASSERT_EQ(cells.size(), 42u);
        char title[512] = "";
        GetWindowTextA(window, title, sizeof title);
        EXPECT_EQ(std::string(title), "OrvikCalendar - " + path) << wanted;
        EXPECT_EQ(CellText(cells[17]), wanted ? "typed, never saved" : "") << wanted;
        again.WaitUntilIdle(); // the toolbar is brought up to date when the program idles
        EXPECT_EQ(SaveEnabled(window), wanted) << "recovered changes are unsaved";
        // Another recovery file is this copy's own, kept at once for what it holds.
        EXPECT_EQ(RecoveryFiles().size(), wanted ? 1u : 0u) << wanted;
        again.Kill();
        RemoveRecoveryFiles();
    }
}

TEST_F(Recovery, TheEndOfTheSessionKeepsEverythingAndDoesNotWait) {
    StoreSettingsText("Document9", "C:\\stale.csv", ORVIK_RECENT_SUBKEY);
    RunningProgram program;
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    HWND cell = DayCells(window)[17];
    PostMessageA(cell, WM_CHAR, 'x', 1);
    for (DWORD waited = 0; waited < kPatienceMs && CellText(cell) != "x"; waited += 20)
        Sleep(20);
    DWORD_PTR reply = 0;
    ASSERT_TRUE(SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK,
                                    kPatienceMs, &reply));
    EXPECT_EQ(reply, static_cast<DWORD_PTR>(TRUE)) << "the log-off goes on";
    SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK, kPatienceMs,
                        &reply);
    EXPECT_EQ(RecoveryFiles().size(), 1u);
    StoredValue value;
    EXPECT_TRUE(ReadStoredValue(ORVIK_VALUE_WINDOW_PLACEMENT, value));
    EXPECT_TRUE(ReadStoredValue(ORVIK_VALUE_USE_REMINDER, value)) << "the settings";
    EXPECT_FALSE(ReadStoredValue("Document9", value, ORVIK_RECENT_SUBKEY)) << "the recent list";
    EXPECT_TRUE(program.Running()) << "nothing ended the program but the system";
}

// The file's text as the program writes a day's record.
std::string Record(const SYSTEMTIME& day, const std::string& text) {
    return "\"" + std::to_string(day.wMonth) + "/" + std::to_string(day.wDay) + "/" +
           std::to_string(day.wYear) + "\";\"" + text + "\"\r\n";
}

void WriteDiary(const std::string& path, const std::string& bytes, LONGLONG secondsFromNow) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{};
    time.LowPart = now.dwLowDateTime;
    time.HighPart = now.dwHighDateTime;
    time.QuadPart += static_cast<ULONGLONG>(secondsFromNow) * 10000000ULL;
    const FILETIME later{time.LowPart, time.HighPart};
    SetFileTime(file, nullptr, nullptr, &later);
    CloseHandle(file);
}

std::string ReadDiary(const std::string& path) {
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    char buffer[4096];
    DWORD read = 0;
    while (file != INVALID_HANDLE_VALUE && ReadFile(file, buffer, sizeof buffer, &read, nullptr) &&
           read > 0)
        bytes.append(buffer, read);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return bytes;
}

HWND CellShowing(HWND frame, const std::string& text) {
    for (HWND cell : DayCells(frame)) {
        if (CellText(cell) == text)
            return cell;
    }
    return nullptr;
}

// "Thursday, March 12, 2026", as the program names a day.
std::string DayName(const SYSTEMTIME& day) {
    static const char* const weekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                           "Thursday", "Friday", "Saturday"};
    static const char* const months[] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};
    return std::string(weekdays[day.wDayOfWeek]) + ", " + months[day.wMonth - 1] + " " +
           std::to_string(day.wDay) + ", " + std::to_string(day.wYear);
}

TEST_F(WholeProgram, AChangeFromAnotherComputerIsMergedDayByDayAndSaved) {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "orvik synced.csv";
    // Day A is today, whose cell has the focus at start; day B another day of its month.
    SYSTEMTIME dayA{};
    GetLocalTime(&dayA);
    SYSTEMTIME dayB = dayA;
    dayB.wDay = dayA.wDay == 1 ? 2 : 1;
    WriteDiary(path, Record(dayB, "B as it was"), 0);
    StoreSettingsDWord(ORVIK_VALUE_DOCUMENT_COUNT, 4, ORVIK_RECENT_SUBKEY);
    StoreSettingsText("Document1", path, ORVIK_RECENT_SUBKEY);

    RunningProgram program;
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread));
    HWND cellA = thread.hwndFocus;
    ASSERT_NE(cellA, nullptr);
    for (char c : std::string("mine"))
        PostMessageA(cellA, WM_CHAR, static_cast<WPARAM>(c), 1);
    for (DWORD waited = 0; waited < kPatienceMs && CellText(cellA) != "mine"; waited += 20)
        Sleep(20);
    ASSERT_EQ(CellText(cellA), "mine");
    HWND cellB = CellShowing(window, "B as it was");
    ASSERT_NE(cellB, nullptr);

    // The other computer's save, brought by the sync client.
    WriteDiary(path, Record(dayB, "B from there") + Record(dayA, "A from there"), 60);
    // Another program is active; then the user comes back to ours.
    HWND other = CreateWindowExA(0, "STATIC", "another program", WS_POPUP | WS_VISIBLE, 0, 0, 80,
                                 40, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    PumpUntilIdle();
    SendMessageA(window, RegisterWindowMessageA("OrvikCalendar_RUDORAVIRIVI"), 0, 0);

    HWND report = WaitForDialogOf(program.ProcessId());
    ASSERT_NE(report, nullptr) << "the user is told what was merged";
    char text[2048] = "";
    SendMessageA(GetDlgItem(report, 0xFFFF), WM_GETTEXT, sizeof text,
                 reinterpret_cast<LPARAM>(text));
    EXPECT_NE(std::string(text).find(DayName(dayA)), std::string::npos) << text;
    PostMessageA(report, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    DestroyWindow(other);

    const std::string mergedA = "mine\r\n----- from the other copy -----\r\nA from there";
    EXPECT_EQ(CellText(cellA), mergedA);
    EXPECT_EQ(CellText(cellB), "B from there");

    PostMessageA(window, WM_COMMAND, ID_FILE_SAVE, 0);
    const std::string saved = Record(dayB, "B from there") +
                              Record(dayA, "mine\n----- from the other copy -----\nA from there");
    for (DWORD waited = 0; waited < kPatienceMs && ReadDiary(path) != saved; waited += 50)
        Sleep(50);
    EXPECT_EQ(ReadDiary(path), saved);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 1) << "saved: closed without a question";
    DeleteFileA(path.c_str());
}

} // namespace

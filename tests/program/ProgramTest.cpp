#include "tests/harness/WindowTestHarness.h"
#include "tests/support/CommonDialogs.h"
#include "tests/support/ProgramWindows.h"
#include "tests/support/Screen.h"
#include "tests/support/ScreenReader.h"
#include "tests/support/StartedProgram.h"
#include "tests/support/TempFolder.h"

#include "res/RegistryNames.h"
#include "res/resource.h"
#include "shell/InstanceMessage.h"
#include "shell/SystemTray.h"

#include <commctrl.h>
#include <dlgs.h>
#include <sys/utime.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace {

std::string ProgramFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

// One started OrvikCalendar: its build whose clock a test can pin.
class RunningProgram : public StartedProgram {
  public:
    RunningProgram() : StartedProgram(ProgramFolder() + "OrvikCalendarPinnedClock.exe") {}
};

// The recent-file list names this diary, so that the program opens it.
void ReopenAtStart(const std::string& path) {
    StoreSettingsDWord(ORVIK_VALUE_DOCUMENT_COUNT, 4, ORVIK_RECENT_SUBKEY);
    StoreSettingsText("Document1", path, ORVIK_RECENT_SUBKEY);
}

// Every test starts with no copy running: a copy that just ended may still
// hold its single-instance mutex for a moment while its process is torn down.
class WholeProgram : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(WaitUntil([] {
            HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, ORVIK_INSTANCE_NAME);
            if (mutex)
                CloseHandle(mutex);
            return mutex == nullptr;
        })) << "a copy of an earlier test still runs";
    }
    void TearDown() override {
        SetEnvironmentVariableA("ORVIK_PINNED_NOW", nullptr);
        WindowTest::TearDown();
    }
    TempFolder temp;
};

TEST_F(WholeProgram, ClosingTheWindowEndsWithExitCode1AndSavesSettings) {
    RunningProgram program;
    ASSERT_TRUE(program.Started());
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
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
    EXPECT_TRUE(WaitUntil([&] {
        secondHadAWindow = secondHadAWindow || second.MainWindow() != nullptr;
        return !second.Running();
    })) << "the second copy did not end";
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

HWND WaitForDialogOf(DWORD processId) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = DialogOf(processId)) != nullptr; });
    return found;
}

// Types as the keyboard would, through the program's own message loop.
void TypeInto(HWND cell, const std::string& text) {
    for (char c : text)
        PostMessageA(cell, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1);
}

TEST_F(WholeProgram, SavedTextComesBackAtTheNextStart) {
    const std::string path = temp.PathOf("whole program.csv");
    {
        RunningProgram program;
        HWND window = program.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        const std::vector<HWND> cells = DayCells(window);
        ASSERT_EQ(cells.size(), 42u);
        TypeInto(cells[17], "11:00 Dentist");
        PostMessageA(window, WM_COMMAND, ID_FILE_SAVE, 0); // what Ctrl+S sends
        HWND saveAs = WaitForDialogOf(program.ProcessId());
        ASSERT_NE(saveAs, nullptr) << "an untitled diary asks for a name";
        ChooseFile(path)(saveAs);
        EXPECT_TRUE(
            WaitUntil([&] { return ReadWholeFile(path).find("Dentist") != std::string::npos; }));
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
    EXPECT_EQ(ShownText(cells[17]), "11:00 Dentist");
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(again.WaitForExit(), 1);
}

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

// Copies started from now on run with their clock standing at Thursday
// 12 March 2026, 11:00:30 local time; the fixture lets the clock go after
// each test. Returns that moment.
std::time_t PinClock() {
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 12;
    local.tm_hour = 11;
    local.tm_sec = 30;
    local.tm_isdst = -1;
    const std::time_t moment = std::mktime(&local);
    SetEnvironmentVariableA("ORVIK_PINNED_NOW", std::to_string(moment).c_str());
    return moment;
}

// Reminders on, and a diary of that day's lines that the program opens.
std::string DiaryOfThe12th(const TempFolder& temp, const std::string& lines) {
    const std::string path = temp.PathOf("reminder.csv");
    WriteWholeFile(path, "\"3/12/2026\";\"" + lines + "\"\r\n");
    StoreSettingsDWord(ORVIK_VALUE_USE_REMINDER, 1);
    ReopenAtStart(path);
    return path;
}

TEST_F(WholeProgram, ALineOfThisMinuteIsReminded) {
    PinClock();
    DiaryOfThe12th(temp, "11:00 now\n11:01 next");
    RunningProgram program;
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const std::vector<std::string> menu = ReminderMenu(window, kProgramPatienceMs);
    ASSERT_FALSE(menu.empty()) << "no reminder within the time";
    EXPECT_NE(menu.front().find("11:00 now"), std::string::npos) << menu.front();
    EXPECT_EQ(
        std::count_if(menu.begin(), menu.end(),
                      [](const std::string& item) { return item.find("11:01") != item.npos; }),
        0)
        << "a minute not yet come";
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 1);
}

TEST_F(WholeProgram, ALineDueWhileTheProgramWasNotRunningIsRemindedAsMissed) {
    const std::time_t now = PinClock();
    const std::string line = "10:30 Dentist";
    DiaryOfThe12th(temp, line);
    StoreSettingsDWord(ORVIK_VALUE_LAST_REMINDER_CHECK, static_cast<DWORD>(now - 60 * 60));
    RunningProgram program;
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const std::vector<std::string> menu = ReminderMenu(window, kProgramPatienceMs);
    ASSERT_FALSE(menu.empty()) << "not reminded";
    EXPECT_NE(menu.front().find(" - missed: " + line), std::string::npos) << menu.front();
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 1);
}

void PostKey(HWND window, UINT down, WPARAM key, LPARAM flags) {
    PostMessageA(window, down, key, flags | 1);
    PostMessageA(window, down + 1, key, flags | (static_cast<LPARAM>(KF_REPEAT | KF_UP) << 16) | 1);
}

BOOL CALLBACK FindNavigatorButton(HWND child, LPARAM search) {
    auto& [id, found] = *reinterpret_cast<std::pair<int, HWND>*>(search);
    if (GetDlgCtrlID(child) == id)
        found = child;
    return TRUE;
}

// Every cell names its day as a screen reader says it; the navigator's
// buttons say what they do.
TEST_F(WholeProgram, AScreenReaderHearsEachDayAndEachButton) {
    PinClock(); // Thursday 12 March 2026
    WriteWholeFile(temp.PathOf("read.csv"), "\"3/12/2026\";\"Dentist\"\r\n");
    ReopenAtStart(temp.PathOf("read.csv"));
    RunningProgram program;
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    CoInitialize(nullptr);
    std::vector<HWND> cells = DayCells(window);
    ASSERT_EQ(cells.size(), 42u);
    const Heard today = HeardOf(cells[17]);
    EXPECT_EQ(today.name, "Thursday, March 12, 2026, today");
    EXPECT_EQ(today.value, "Dentist");
    EXPECT_EQ(today.role, ROLE_SYSTEM_TEXT);
    EXPECT_EQ(HeardOf(cells[0]).name, "Monday, February 23, 2026, previous month");
    EXPECT_EQ(HeardOf(cells[41]).name, "Sunday, April 5, 2026, next month");
    EXPECT_EQ(HeardOf(cells[18]).name, "Friday, March 13, 2026");
    const char* const weekdays[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                    "Friday", "Saturday", "Sunday"};
    for (std::size_t k = 0; k < cells.size(); ++k)
        EXPECT_EQ(HeardOf(cells[k]).name.rfind(std::string(weekdays[k % 7]) + ", ", 0), 0u) << k;

    const struct {
        int id;
        const char* name;
    } buttons[] = {{1000, "Previous year"},
                   {1002, "Previous month"},
                   {1013, "March 2026"},
                   {1003, "Next month"},
                   {1001, "Next year"}};
    std::pair<int, HWND> search;
    for (const auto& button : buttons) {
        search = {button.id, nullptr};
        EnumChildWindows(window, FindNavigatorButton, reinterpret_cast<LPARAM>(&search));
        EXPECT_EQ(HeardOf(search.second).name, button.name);
    }
    PostMessageA(search.second, BM_CLICK, 0, 0); // Next year
    EXPECT_TRUE(WaitUntil([&] { return HeardOf(cells[0]).name == "Monday, March 1, 2027"; }))
        << HeardOf(cells[0]).name;
    EXPECT_EQ(HeardOf(cells[11]).name, "Friday, March 12, 2027");
    CoUninitialize();
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 1);
}

TEST_F(WholeProgram, AltFOpensTheFileMenuFromTheMenuBar) {
    RunningProgram program;
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    MenuSpy spy(window);
    ASSERT_TRUE(spy.Installed());
    // Menus only show in the active program; the instance message makes the
    // program bring itself to the front, as a user's click would.
    SendMessageA(window, RegisterWindowMessageA(ORVIK_INSTANCE_NAME), 0, 0);
    const LPARAM alt = static_cast<LPARAM>(KF_ALTDOWN) << 16;
    PostMessageA(window, WM_SYSKEYDOWN, VK_MENU, alt | 1);
    PostKey(window, WM_SYSKEYDOWN, 'F', alt);
    PostMessageA(window, WM_KEYUP, VK_MENU, (static_cast<LPARAM>(KF_REPEAT | KF_UP) << 16) | 1);
    const std::vector<std::string> items = spy.WaitForMenu(kProgramPatienceMs);
    ASSERT_FALSE(items.empty()) << "no drop-down menu opened";
    EXPECT_EQ(items.back(), "E&xit") << "the File menu, which ends with Exit";
    PostKey(window, WM_KEYDOWN, VK_ESCAPE);
    PostKey(window, WM_KEYDOWN, VK_ESCAPE);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 1);
}

void RemoveRecoveryFiles() {
    for (const std::string& file : RecoveryFiles())
        DeleteFileA(file.c_str());
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
        path = temp.PathOf("recovered.csv");
        WriteWholeFile(path, "");
        ReopenAtStart(path);
    }
    void TearDown() override {
        RemoveRecoveryFiles();
        WholeProgram::TearDown();
    }
    void TypeAndKill() {
        RunningProgram program;
        HWND window = program.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        const std::vector<HWND> cells = DayCells(window);
        ASSERT_EQ(cells.size(), 42u);
        TypeInto(cells[17], "typed, never saved");
        WaitUntil([] { return !RecoveryFiles().empty(); });
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
        EXPECT_EQ(ShownText(cells[17]), wanted ? "typed, never saved" : "") << wanted;
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
    WaitUntil([&] { return ShownText(cell) == "x"; });
    DWORD_PTR reply = 0;
    ASSERT_TRUE(SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK,
                                    kProgramPatienceMs, &reply));
    EXPECT_EQ(reply, static_cast<DWORD_PTR>(TRUE)) << "the log-off goes on";
    SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK,
                        kProgramPatienceMs, &reply);
    EXPECT_EQ(RecoveryFiles().size(), 1u);
    StoredValue value;
    EXPECT_TRUE(ReadStoredValue(ORVIK_VALUE_WINDOW_PLACEMENT, value));
    EXPECT_TRUE(ReadStoredValue(ORVIK_VALUE_USE_REMINDER, value)) << "the settings";
    EXPECT_FALSE(ReadStoredValue("Document9", value, ORVIK_RECENT_SUBKEY)) << "the recent list";
    EXPECT_TRUE(program.Running()) << "nothing ended the program but the system";
}

// For a person to look at: the program as it starts, uncovered.
using WholeProgramScreenshot = WholeProgram;

TEST_F(WholeProgramScreenshot, Started) {
    RunningProgram program;
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(ShownUncovered(window));
    CreateDirectoryA("..\\screenshots", nullptr);
    EXPECT_TRUE(SaveScreenshot("..\\screenshots\\program-started.bmp"));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 1);
}

// The file's text as the program writes a day's record.
std::string Record(const SYSTEMTIME& day, const std::string& text) {
    return "\"" + std::to_string(day.wMonth) + "/" + std::to_string(day.wDay) + "/" +
           std::to_string(day.wYear) + "\";\"" + text + "\"\r\n";
}

// Writes the diary as another computer's save would, dated that much later.
void WriteDiaryLater(const std::string& path, const std::string& bytes, int seconds) {
    WriteWholeFile(path, bytes);
    _utimbuf times{};
    times.actime = times.modtime = std::time(nullptr) + seconds;
    _utime(path.c_str(), &times);
}

HWND CellShowing(HWND frame, const std::string& text) {
    for (HWND cell : DayCells(frame)) {
        if (ShownText(cell) == text)
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
    const std::string path = temp.PathOf("synced.csv");
    // Day A is today, whose cell has the focus at start; day B another day of its month.
    SYSTEMTIME dayA{};
    GetLocalTime(&dayA);
    SYSTEMTIME dayB = dayA;
    dayB.wDay = dayA.wDay == 1 ? 2 : 1;
    WriteWholeFile(path, Record(dayB, "B as it was"));
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
    TypeInto(cellA, "mine");
    ASSERT_TRUE(WaitUntil([&] { return ShownText(cellA) == "mine"; }));
    HWND cellB = CellShowing(window, "B as it was");
    ASSERT_NE(cellB, nullptr);

    // The other computer's save, brought by the sync client.
    WriteDiaryLater(path, Record(dayB, "B from there") + Record(dayA, "A from there"), 60);
    // Another program is active; then the user comes back to ours.
    HWND other = CreateWindowExA(0, "STATIC", "another program", WS_POPUP | WS_VISIBLE, 0, 0, 80,
                                 40, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    PumpUntilIdle();
    SendMessageA(window, RegisterWindowMessageA(ORVIK_INSTANCE_NAME), 0, 0);

    HWND report = WaitForDialogOf(program.ProcessId());
    ASSERT_NE(report, nullptr) << "the user is told what was merged";
    char text[2048] = "";
    SendMessageA(GetDlgItem(report, 0xFFFF), WM_GETTEXT, sizeof text,
                 reinterpret_cast<LPARAM>(text));
    EXPECT_NE(std::string(text).find(DayName(dayA)), std::string::npos) << text;
    PostMessageA(report, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    DestroyWindow(other);

    const std::string mergedA = "mine\r\n----- from the other copy -----\r\nA from there";
    EXPECT_EQ(ShownText(cellA), mergedA);
    EXPECT_EQ(ShownText(cellB), "B from there");

    PostMessageA(window, WM_COMMAND, ID_FILE_SAVE, 0);
    const std::string saved = Record(dayB, "B from there") +
                              Record(dayA, "mine\n----- from the other copy -----\nA from there");
    WaitUntil([&] { return ReadWholeFile(path) == saved; });
    EXPECT_EQ(ReadWholeFile(path), saved);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 1) << "saved: closed without a question";
}

} // namespace

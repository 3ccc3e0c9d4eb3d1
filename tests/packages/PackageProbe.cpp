// Drives an installed or unpacked OrvikCalendar.exe from outside, for
// check-packages:
//
//   package_probe run PROGRAM FOLDER [COMMAND]
//     starts PROGRAM in FOLDER (its current folder) and waits for its window;
//     runs COMMAND meanwhile, which must give up with exit code 2 (an
//     installer refusing while the program runs); has the program make its
//     preview and checks the page that the shell was asked to open; closes
//     the program.
//   package_probe record FILE TARGET
//     what the shell runs for a web page meanwhile: writes TARGET to FILE.
//
// Says what it saw and ends with 0 when everything held.
#include "res/resource.h"

#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const DWORD kPatienceMs = 20000;
const DWORD kInstallerPatienceMs = 60000;
const DWORD kAbortedByInstaller = 2; // what an installer's Abort ends with
const char kPageClass[] = "OrvikCalendar.PackageProbe.Page";
const char kRecordName[] = "shell-opened.txt";
const int kDaysInTheGrid = 42;

bool Fail(const std::string& what) {
    std::printf("FAILED: %s\n", what.c_str());
    return false;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ThisProgram() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string LocalAppData() {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// Web pages open with "package_probe record" while the object lives. Wine
// looks up associations in the machine's classes only, and the test prefix
// has none for web pages (no Gecko). The keys are volatile, so even a killed
// probe leaves nothing behind once the Wine server ends; an association that
// is there already is never touched.
class PageAssociation {
  public:
    explicit PageAssociation(const std::string& recordFile) {
        const std::string command =
            "\"" + ThisProgram() + "\" record \"" + recordFile + "\" \"%1\"";
        ownsExtension = CreateVolatileKey(".html", kPageClass);
        ownsClass = CreateVolatileKey(std::string(kPageClass) + "\\shell\\open\\command", command);
    }
    ~PageAssociation() {
        if (ownsExtension)
            RegDeleteTreeA(HKEY_CLASSES_ROOT, ".html");
        if (ownsClass)
            RegDeleteTreeA(HKEY_CLASSES_ROOT, kPageClass);
    }
    PageAssociation(const PageAssociation&) = delete;
    PageAssociation& operator=(const PageAssociation&) = delete;

    bool Made() const { return ownsExtension && ownsClass; }

  private:
    // True when the key is new, and so ours; only then is its value set.
    static bool CreateVolatileKey(const std::string& path, const std::string& value) {
        HKEY key = nullptr;
        DWORD disposition = 0;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                            KEY_SET_VALUE, nullptr, &key, &disposition) != ERROR_SUCCESS)
            return false;
        const bool created = disposition == REG_CREATED_NEW_KEY;
        if (created)
            RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
        return created;
    }

    bool ownsExtension = false; // we made the key, so we delete it
    bool ownsClass = false;
};

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM searchPointer) {
    auto& search = *reinterpret_cast<WindowSearch*>(searchPointer);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    if (owner == search.processId && IsWindowVisible(window) &&
        std::string(title).rfind("OrvikCalendar", 0) == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

// One started program; ended by force when it is left running.
class StartedProgram {
  public:
    StartedProgram(const std::string& commandLine, const char* folder) {
        std::string line = commandLine;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder,
                                 &startup, &process) != FALSE;
        if (started)
            CloseHandle(process.hThread);
    }
    ~StartedProgram() {
        if (!started)
            return;
        if (Running())
            TerminateProcess(process.hProcess, 99);
        CloseHandle(process.hProcess);
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    bool Started() const { return started; }
    bool Running() const { return WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; }

    HWND WaitForMainWindow() const {
        for (DWORD waited = 0; waited < kPatienceMs && Running(); waited += 50) {
            WindowSearch search{process.dwProcessId, nullptr};
            EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
            if (search.found) {
                WaitForInputIdle(process.hProcess, kPatienceMs);
                return search.found;
            }
            Sleep(50);
        }
        return nullptr;
    }

    // The exit code, or -1 when the program did not end in time.
    long WaitForExit(DWORD patienceMs) const {
        DWORD code = 0;
        if (WaitForSingleObject(process.hProcess, patienceMs) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(process.hProcess, &code))
            return -1;
        return static_cast<long>(code);
    }

  private:
    PROCESS_INFORMATION process{};
    bool started = false;
};

bool CommandIsRefused(const std::string& command) {
    StartedProgram installer(command, nullptr);
    if (!installer.Started())
        return Fail("could not start " + command);
    const long code = installer.WaitForExit(kInstallerPatienceMs);
    if (code != static_cast<long>(kAbortedByInstaller))
        return Fail("while the program ran, " + command + " ended with " + std::to_string(code));
    std::printf("While the program ran, the installer gave up (exit code %ld).\n", code);
    return true;
}

// The preview page the shell was asked to open: the month, made from the
// stylesheet beside the program, in the program's own folder.
bool PreviewWorks(HWND window, const std::string& recordFile) {
    const std::string page = LocalAppData() + "\\OrvikCalendar\\Preview\\OrvikCalendar.html";
    DeleteFileA(page.c_str());
    PostMessageA(window, WM_COMMAND, ID_PREVIEW, 0);
    for (DWORD waited = 0; !Exists(recordFile); waited += 50) {
        if (waited >= kPatienceMs)
            return Fail("the shell was never asked to open the preview");
        Sleep(50);
    }
    const std::string opened = ReadWholeFile(recordFile);
    if (lstrcmpiA(opened.c_str(), page.c_str()) != 0)
        return Fail("the shell was asked to open " + opened + " instead of " + page);
    const std::string html = ReadWholeFile(page);
    int days = 0;
    for (size_t at = html.find("<td class=\"day"); at != std::string::npos;
         at = html.find("<td class=\"day", at + 1))
        ++days;
    if (days != kDaysInTheGrid)
        return Fail("the preview page has " + std::to_string(days) + " day cells");
    std::printf("The preview made the month page %s and the shell opened it.\n", page.c_str());
    return true;
}

bool Run(const std::string& program, const std::string& folder, const std::string& refused) {
    const std::string recordFile = folder + "\\" + kRecordName;
    DeleteFileA(recordFile.c_str());
    PageAssociation association(recordFile);
    if (!association.Made())
        return Fail("could not make a temporary association for web pages");

    StartedProgram started("\"" + program + "\"", folder.c_str());
    if (!started.Started())
        return Fail("could not start " + program);
    HWND window = started.WaitForMainWindow();
    if (!window)
        return Fail("no window of " + program);
    std::printf("%s shows its window, started in %s.\n", program.c_str(), folder.c_str());

    if (!refused.empty() && !CommandIsRefused(refused))
        return false;
    if (!PreviewWorks(window, recordFile))
        return false;

    PostMessageA(window, WM_CLOSE, 0, 0);
    const long code = started.WaitForExit(kPatienceMs);
    if (code < 0)
        return Fail("the program did not end after its window was closed");
    std::printf("The program ended with exit code %ld.\n", code);
    return true;
}

// Written beside and then moved, so the probe never reads half of it.
bool Record(const std::string& file, const std::string& target) {
    const std::string part = file + ".part";
    std::ofstream(part, std::ios::binary) << target;
    return MoveFileExA(part.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "record" && argc == 4)
        return Record(argv[2], argv[3]) ? 0 : 1;
    if (mode == "run" && (argc == 4 || argc == 5))
        return Run(argv[2], argv[3], argc == 5 ? argv[4] : "") ? 0 : 1;
    std::printf("usage: package_probe run PROGRAM FOLDER [COMMAND] | record FILE TARGET\n");
    return 2;
}

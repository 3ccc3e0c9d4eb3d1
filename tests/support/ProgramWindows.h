#pragma once

#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

// What a user sees of the program's main window, from this process or from
// another one, and the recovery files it keeps.

struct ProgramWindowSearch {
    DWORD processId;
    HWND found;
};

inline BOOL CALLBACK FindProgramWindow(HWND window, LPARAM searchPointer) {
    auto& search = *reinterpret_cast<ProgramWindowSearch*>(searchPointer);
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

// The main window of the program running as that process, if it has one yet.
inline HWND ProgramWindowOf(DWORD processId) {
    ProgramWindowSearch search{processId, nullptr};
    EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A dialog or message box that process shows, if any.
inline HWND DialogOf(DWORD processId) {
    for (HWND found = nullptr; (found = FindWindowExA(nullptr, found, "#32770", nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        if (owner == processId && IsWindowVisible(found))
            return found;
    }
    return nullptr;
}

inline BOOL CALLBACK CollectTextBoxes(HWND child, LPARAM found) {
    // Only a text box answers how many lines it has; the cells are the frame's only ones.
    if (SendMessageA(child, EM_GETLINECOUNT, 0, 0) > 0)
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
    return TRUE;
}

// The day cells of the month view, row by row, left to right.
inline std::vector<HWND> DayCells(HWND frame) {
    std::vector<HWND> cells;
    EnumChildWindows(frame, CollectTextBoxes, reinterpret_cast<LPARAM>(&cells));
    auto place = [](HWND cell) {
        RECT rect{};
        GetWindowRect(cell, &rect);
        return std::make_pair(rect.top, rect.left);
    };
    std::stable_sort(cells.begin(), cells.end(),
                     [&](HWND one, HWND other) { return place(one) < place(other); });
    return cells;
}

// The text of a window: a cell, a caption.
inline std::string ShownText(HWND cell) {
    // Another process's control: only WM_GETTEXT asks the control itself.
    std::string text(static_cast<std::size_t>(SendMessageA(cell, WM_GETTEXTLENGTH, 0, 0)) + 1,
                     '\0');
    text.resize(static_cast<std::size_t>(
        SendMessageA(cell, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]))));
    return text;
}

// The recovery files of every copy, in the user's local application data.
inline std::vector<std::string> RecoveryFiles() {
    char root[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, root);
    const std::string folder = std::string(root) + "\\OrvikCalendar\\Recovery\\";
    std::vector<std::string> files;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "*.orvik").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        files.push_back(folder + found.cFileName);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    return files;
}

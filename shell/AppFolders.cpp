#include "shell/AppFolders.h"

#include <windows.h>

#include <shlobj.h>

#include <vector>

namespace {
const char kProgramFolderName[] = "OrvikCalendar";

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return folder;
}
} // namespace

std::string ProgramFolder() {
    std::vector<char> path(MAX_PATH);
    DWORD length = 0;
    // Long paths need a larger buffer than MAX_PATH: grow until it fits.
    while ((length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
           path.size())
        path.resize(path.size() * 2);
    const std::string program(path.data(), length);
    return program.substr(0, program.find_last_of("\\/") + 1);
}

std::string UserDataFolder(const char* name) {
    char root[MAX_PATH] = "";
    if (SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                         SHGFP_TYPE_CURRENT, root) != S_OK)
        return std::string();
    std::string folder = WithSeparator(root) + kProgramFolderName;
    CreateDirectoryA(folder.c_str(), nullptr);
    folder += std::string("\\") + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::string();
    return folder + "\\";
}

std::string CurrentFolder() {
    const DWORD length = GetCurrentDirectoryA(0, nullptr);
    std::vector<char> path(length + 1);
    GetCurrentDirectoryA(static_cast<DWORD>(path.size()), path.data());
    return WithSeparator(path.data());
}

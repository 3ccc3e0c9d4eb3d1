#include "storage/StylesheetLocation.h"

namespace {
bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}
} // namespace

bool IsAbsolutePath(const std::string& path) {
    const bool drive = path.size() >= 3 && path[1] == ':' && IsSeparator(path[2]);
    const bool share = path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
    return drive || share;
}

std::string ResolveStylesheet(const std::string& setting, const std::string& programFolder,
                              const std::string& currentFolder,
                              const std::function<bool(const std::string&)>& exists) {
    if (IsAbsolutePath(setting))
        return setting;
    const std::string besideProgram = programFolder + setting;
    if (exists(besideProgram))
        return besideProgram;
    const std::string inCurrentFolder = currentFolder + setting;
    return exists(inCurrentFolder) ? inCurrentFolder : besideProgram;
}

std::string FileNameOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

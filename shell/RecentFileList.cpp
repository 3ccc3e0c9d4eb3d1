#include "shell/RecentFileList.h"

#include "res/resource.h"

#include <windows.h>

#include <cstdio>

namespace {

const DWORD kPathBytes = 260;
const std::size_t kLongestPath = kPathBytes - 1;

} // namespace

bool RecentFileList::ReadFromRegistry() {
    const std::optional<StoredRecentFiles> stored = ReadRecentFiles();
    if (!stored)
        return false;
    maximum = stored->maximum;
    entries = stored->paths;
    UpdateMenu();
    return true;
}

bool RecentFileList::WriteToRegistry() const {
    return WriteRecentFiles(Stored());
}

void RecentFileList::SetMenu(HMENU fileMenu) {
    menu = fileMenu;
    char text[kPathBytes] = "";
    if (GetMenuStringA(menu, ID_FILE_MRU_FIRST, text, sizeof text, MF_BYCOMMAND) > 0)
        emptyText = text;
}

bool RecentFileList::AddToList(const std::string& path) {
    const std::string entry = path.substr(0, kLongestPath);
    for (auto existing = entries.begin(); existing != entries.end(); ++existing) {
        if (lstrcmpiA(existing->c_str(), entry.c_str()) == 0) {
            entries.erase(existing);
            break;
        }
    }
    if (static_cast<int>(entries.size()) >= maximum)
        entries.pop_back();
    entries.insert(entries.begin(), entry);
    return UpdateMenu();
}

int RecentFileList::IndexOf(int command) const {
    const int index = command - ID_FILE_MRU_FIRST;
    return index >= 0 && index < static_cast<int>(entries.size()) ? index : -1;
}

bool RecentFileList::MoveToTop(int command) {
    const int index = IndexOf(command);
    if (index < 0)
        return false;
    const std::string entry = entries[static_cast<std::size_t>(index)];
    entries.erase(entries.begin() + index);
    entries.insert(entries.begin(), entry);
    return UpdateMenu();
}

bool RecentFileList::GetFromList(int command, std::string& path) const {
    const int index = IndexOf(command);
    if (index < 0 || entries[static_cast<std::size_t>(index)].size() >= kPathBytes)
        return false;
    path = entries[static_cast<std::size_t>(index)];
    return true;
}

bool RecentFileList::UpdateMenu() {
    if (!menu)
        return false;
    int position = 0;
    for (int item = 0; item < GetMenuItemCount(menu); ++item) {
        if (GetMenuItemID(menu, item) == ID_FILE_MRU_FIRST) {
            position = item;
            break;
        }
    }
    for (int command = ID_FILE_MRU_FIRST + 1; command <= ID_FILE_MRU_LAST; ++command)
        DeleteMenu(menu, static_cast<UINT>(command), MF_BYCOMMAND);
    const UINT at = static_cast<UINT>(position);
    if (entries.empty()) {
        InsertMenuA(menu, at, MF_BYPOSITION | MF_STRING | MF_GRAYED, ID_FILE_MRU_FIRST,
                    emptyText.c_str());
        DeleteMenu(menu, at + 1, MF_BYPOSITION);
        return true;
    }
    for (std::size_t j = 0; j < entries.size(); ++j) {
        char text[kPathBytes + 8];
        std::snprintf(text, sizeof text, "&%i %s", static_cast<int>(j + 1), entries[j].c_str());
        InsertMenuA(menu, at + static_cast<UINT>(j), MF_BYPOSITION | MF_STRING,
                    static_cast<UINT_PTR>(ID_FILE_MRU_FIRST + static_cast<int>(j)), text);
    }
    DeleteMenu(menu, at + static_cast<UINT>(entries.size()), MF_BYPOSITION);
    return true;
}

#include "shell/RecoveryKeeper.h"

#include "shell/AppFolders.h"
#include "storage/FileTime.h"
#include "storage/SafeSave.h"

#include <cstdio>

namespace {

const char kFilePrefix[] = "recovery-";
const char kFileExtension[] = ".orvik";

std::string MutexName(const std::string& id) {
    return "OrvikCalendar recovery " + id;
}

} // namespace

CRecoveryKeeper::CRecoveryKeeper() : folder(UserDataFolder("Recovery")) {
    char text[64];
    std::snprintf(text, sizeof text, "%lu-%llu", static_cast<unsigned long>(GetCurrentProcessId()),
                  static_cast<unsigned long long>(GetTickCount64()));
    id = text;
    ownFile = folder.empty() ? std::string() : folder + kFilePrefix + id + kFileExtension;
    running.Reset(CreateMutexA(nullptr, FALSE, MutexName(id).c_str()));
}

void CRecoveryKeeper::Keep(const Document& document) {
    if (ownFile.empty())
        return;
    if (!document.IsModified()) {
        Remove();
        return;
    }
    // A recovery file that cannot be written leaves the last one whole; the
    // diary itself is still open.
    std::string error;
    SaveFileSafely(ownFile,
                   FormatRecovery(document.HasFile() ? document.Name() : std::string(),
                                  document.FileTime(), document.Store()),
                   error);
}

void CRecoveryKeeper::Remove() {
    if (!ownFile.empty())
        DeleteFileA(ownFile.c_str());
}

std::optional<CRecoveryKeeper::Left> CRecoveryKeeper::NewestLeft() const {
    std::optional<Left> newest;
    if (folder.empty())
        return newest;
    WIN32_FIND_DATAA found{};
    const std::string pattern = folder + kFilePrefix + "*" + kFileExtension;
    const OwnedSearch search(FindFirstFileA(pattern.c_str(), &found));
    if (!search)
        return newest;
    do {
        const std::string name = found.cFileName;
        const std::string fileId =
            name.substr(sizeof kFilePrefix - 1,
                        name.size() - (sizeof kFilePrefix - 1) - (sizeof kFileExtension - 1));
        // The copy that writes it still runs: not one left behind.
        if (OwnedKernelObject(OpenMutexA(SYNCHRONIZE, FALSE, MutexName(fileId).c_str())))
            continue;
        const std::string file = folder + name;
        const std::int64_t time = FileModificationTime(file);
        if (!newest || time > newest->time)
            newest = Left{file, time};
    } while (FindNextFileA(search.Get(), &found));
    return newest;
}

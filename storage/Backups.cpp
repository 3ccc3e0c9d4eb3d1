#include "storage/Backups.h"

#include "core/Date.h"
#include "core/Now.h"
#include "storage/FileBytes.h"
#include "storage/FileTime.h"
#include "storage/SafeSave.h"
#include "storage/StylesheetLocation.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

// Two diaries of one name in different folders keep their copies apart.
std::uint32_t PathHash(const std::string& path) {
    std::uint32_t hash = 2166136261u;
    for (const char c : path) {
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        hash = (hash ^ static_cast<unsigned char>(lower == '/' ? '\\' : lower)) * 16777619u;
    }
    return hash;
}

std::string CopyName(const std::string& fileName, const std::tm& now) {
    const std::size_t dot = fileName.find_last_of('.');
    const std::string stem = dot == std::string::npos ? fileName : fileName.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : fileName.substr(dot);
    char stamp[80];
    std::snprintf(stamp, sizeof stamp, ".%04d-%02d-%02d-%02d%02d%02d", now.tm_year + 1900,
                  now.tm_mon + 1, now.tm_mday, now.tm_hour, now.tm_min, now.tm_sec);
    return stem + stamp + extension;
}

// The copies are named by their time, so the names sort oldest first.
void KeepNewest(const std::string& folder, int kept) {
    std::error_code error;
    std::vector<std::filesystem::path> copies;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        copies.push_back(entry.path());
    std::sort(copies.begin(), copies.end());
    for (std::size_t i = 0; i + kept < copies.size(); ++i)
        std::filesystem::remove(copies[i], error);
}

} // namespace

std::string Backups::FolderFor(const std::string& path) const {
    if (root.empty())
        return std::string();
    char hash[16];
    std::snprintf(hash, sizeof hash, "%08x", static_cast<unsigned>(PathHash(path)));
    const std::filesystem::path folder =
        std::filesystem::path(root) / (FileNameOf(path) + " (" + hash + ")");
    return (folder / "").string();
}

void Backups::BeforeReplacing(const std::string& path) {
    const std::tm now = LocalNow();
    const std::uint32_t today = Date(now).dayNumber;
    const auto last = lastCopied.find(path);
    if (root.empty() || !FileExists(path) || (last != lastCopied.end() && last->second == today))
        return;
    std::string bytes;
    if (ReadFileBytes(path, bytes) != LoadOutcome::Loaded)
        return;
    const std::string folder = FolderFor(path);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::string failure;
    if (!SaveFileSafely((std::filesystem::path(folder) / CopyName(FileNameOf(path), now)).string(),
                        bytes, failure))
        return;
    lastCopied[path] = today;
    KeepNewest(folder, kKept);
}

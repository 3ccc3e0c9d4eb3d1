// The one storage file that includes <windows.h>: the C runtime's rename()
// refuses to replace an existing file on Windows, only ReplaceFile keeps the
// replaced file's attributes, security and alternate streams, and only the
// file's index tells two paths to one file apart from two files.
#include "core/Owned.h"
#include "storage/FileTime.h"
#include "storage/SafeSave.h"

#include <windows.h>

#include <optional>

namespace {

// Another program may hold the file for a moment (a sync client, a virus
// scanner): tries this often, this far apart, before the replace fails.
const int kAttempts = 10;
const DWORD kPauseMs = 100;

std::string SystemMessage(DWORD code) {
    char text[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, text, sizeof text, nullptr);
    if (length == 0)
        return "system error " + std::to_string(code);
    // The messages end in ".\r\n"; the caller adds its own punctuation.
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' ||
                          text[length - 1] == '.' || text[length - 1] == ' '))
        --length;
    return std::string(text, length);
}

// Both files keep their names after these (ReplaceFile with a backup name
// documents it for 1175 and 1176): trying again may succeed.
bool IsMomentary(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED || error == ERROR_UNABLE_TO_REMOVE_REPLACED ||
           error == ERROR_UNABLE_TO_MOVE_REPLACEMENT;
}

// The volume cannot replace in place (some network shares, FAT): the move
// is the next best.
bool CannotReplaceHere(DWORD error) {
    return error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED ||
           error == ERROR_INVALID_PARAMETER;
}

unsigned long SystemReplace(const std::string& target, const std::string& replacement,
                            const std::string& backup) {
    return ReplaceFileA(target.c_str(), replacement.c_str(), backup.c_str(),
                        REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
               ? ERROR_SUCCESS
               : GetLastError();
}

unsigned long SystemMove(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) ? ERROR_SUCCESS
                                                                         : GetLastError();
}

unsigned long MoveOver(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? ERROR_SUCCESS
               : GetLastError();
}

std::optional<WIN32_FILE_ATTRIBUTE_DATA> StateOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA state{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &state))
        return std::nullopt;
    return state;
}

// A rename keeps both; a write changes at least the time.
bool Untouched(const std::optional<WIN32_FILE_ATTRIBUTE_DATA>& now,
               const WIN32_FILE_ATTRIBUTE_DATA& before) {
    return now && now->nFileSizeLow == before.nFileSizeLow &&
           now->nFileSizeHigh == before.nFileSizeHigh &&
           CompareFileTime(&now->ftLastWriteTime, &before.ftLastWriteTime) == 0;
}

} // namespace

Placement PlaceNewFile(const std::string& from, const std::string& to, const std::string& backup,
                       const PlacementCalls& calls, std::string& reason) {
    const auto replace = calls.replace ? calls.replace : SystemReplace;
    const auto move = calls.move ? calls.move : SystemMove;
    const std::optional<WIN32_FILE_ATTRIBUTE_DATA> old = StateOf(to);
    // Wine's ReplaceFile would move a folder aside and take its place.
    if (old && (old->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        reason = SystemMessage(ERROR_ACCESS_DENIED);
        return Placement::OldFileKept;
    }
    DeleteFileA(backup.c_str()); // a crash's leftover would stop the replace
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (attempt > 0)
            Sleep(kPauseMs);
        // After 1176 without a backup or 1177 the old file has lost its name
        // and the new one still has its own: it moves into the free name.
        const bool targetThere = StateOf(to).has_value();
        if (targetThere) {
            error = replace(to, from, backup);
            if (error != ERROR_SUCCESS && CannotReplaceHere(error))
                error = MoveOver(from, to);
        } else {
            error = move(from, to);
        }
        if (error == ERROR_SUCCESS) {
            DeleteFileA(backup.c_str());
            // The attributes too, where a move took the replace's place (and
            // under Wine, whose replace does not keep them).
            if (old)
                SetFileAttributesA(to.c_str(), old->dwFileAttributes);
            return Placement::Placed;
        }
        if (!IsMomentary(error) && !(targetThere && !StateOf(to)))
            break;
    }
    reason = SystemMessage(error);
    if (!old)
        return StateOf(to) ? Placement::NewFileKept : Placement::OldFileKept;
    if (Untouched(StateOf(to), *old))
        return Placement::OldFileKept;
    // The old file under the backup name gets its own back.
    if (!StateOf(to) && StateOf(backup) && move(backup, to) == ERROR_SUCCESS &&
        Untouched(StateOf(to), *old))
        return Placement::OldFileKept;
    return Placement::NewFileKept;
}

namespace {

struct FileIdentity {
    DWORD volume = 0, high = 0, low = 0;
    bool operator==(const FileIdentity& other) const {
        return volume == other.volume && high == other.high && low == other.low;
    }
};

struct File {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static void Free(HANDLE file) { CloseHandle(file); }
};

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    // No access asked: a file another program holds is still identified.
    const Owned<File> file(
        CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!file || !GetFileInformationByHandle(file.Get(), &information))
        return std::nullopt;
    return FileIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh,
                        information.nFileIndexLow};
}

} // namespace

bool SameFile(const std::string& one, const std::string& other) {
    const std::optional<FileIdentity> first = IdentityOf(one);
    return first && first == IdentityOf(other);
}

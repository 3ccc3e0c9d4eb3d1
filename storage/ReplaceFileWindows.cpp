// The one storage file that includes <windows.h>: the C runtime's rename()
// refuses to replace an existing file on Windows, and only ReplaceFile keeps
// the replaced file's attributes, security and alternate streams.
#include "storage/SafeSave.h"

#include <windows.h>

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

bool IsMomentary(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED || error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

// The volume cannot replace in place (some network shares, FAT): the move
// is the next best.
bool CannotReplaceHere(DWORD error) {
    return error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED ||
           error == ERROR_INVALID_PARAMETER;
}

bool Move(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

} // namespace

bool MoveFileOver(const std::string& from, const std::string& to, std::string& reason) {
    const DWORD attributes = GetFileAttributesA(to.c_str());
    const bool targetExists = attributes != INVALID_FILE_ATTRIBUTES;
    // Wine's ReplaceFile would move a folder aside and take its place.
    if (targetExists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        reason = SystemMessage(ERROR_ACCESS_DENIED);
        return false;
    }
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (attempt > 0)
            Sleep(kPauseMs);
        bool done = targetExists
                        ? ReplaceFileA(to.c_str(), from.c_str(), nullptr,
                                       REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != FALSE
                        : Move(from, to);
        error = done ? ERROR_SUCCESS : GetLastError();
        if (!done && targetExists && CannotReplaceHere(error)) {
            done = Move(from, to);
            error = done ? ERROR_SUCCESS : GetLastError();
        }
        if (done) {
            // The attributes too, where the move took the replace's place
            // (and under Wine, whose replace does not keep them).
            if (targetExists)
                SetFileAttributesA(to.c_str(), attributes);
            return true;
        }
        if (!IsMomentary(error))
            break;
    }
    reason = SystemMessage(error);
    return false;
}

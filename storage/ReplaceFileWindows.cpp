// The one storage file that includes <windows.h>: the C runtime's rename()
// refuses to replace an existing file on Windows, so the one-step replace
// needs MoveFileEx.
#include "storage/SafeSave.h"

#include <windows.h>

namespace {

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

} // namespace

bool MoveFileOver(const std::string& from, const std::string& to, std::string& reason) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    reason = SystemMessage(GetLastError());
    return false;
}

#include "framework/FileDialog.h"

#include "framework/ComApartment.h"

#include <commdlg.h>

#include <vector>

namespace {

// Hide read-only, prompt before overwriting, path and file must exist
// (the platform applies that to open dialogs only), explorer style, hook,
// resizable; and the current folder stays where it was.
const DWORD kFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST |
                     OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING |
                     OFN_NOCHANGEDIR;
// Room for long paths, beyond the classic 260 characters.
const DWORD kPathRoom = 32768;

UINT_PTR CALLBACK KeepDefaults(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

} // namespace

CFileDialog::CFileDialog(bool openDialog, const char* defaultExtension, const char* filter)
    : openDialog(openDialog), defaultExtension(defaultExtension), filter(filter) {}

bool CFileDialog::DoModal(HWND owner) {
    std::vector<char> buffer(kPathRoom, '\0');
    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = filter;
    request.lpstrFile = buffer.data();
    request.nMaxFile = kPathRoom;
    request.lpstrDefExt = defaultExtension;
    request.Flags = kFlags;
    request.lpfnHook = KeepDefaults;
    EnsureComApartment(); // the dialog shows the shell's folders
    const BOOL chosen = openDialog ? GetOpenFileNameA(&request) : GetSaveFileNameA(&request);
    if (chosen)
        path = buffer.data();
    return chosen != FALSE;
}

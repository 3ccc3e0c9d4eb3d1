#include "framework/FindReplaceDialog.h"

CFindReplaceDialog::~CFindReplaceDialog() {
    if (window && IsWindow(window))
        DestroyWindow(window);
}

HWND CFindReplaceDialog::Create(HWND owner, const char* initialText) {
    lstrcpynA(findWhat, initialText, sizeof findWhat);
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.Flags = FR_DOWN;
    request.lpstrFindWhat = findWhat;
    request.wFindWhatLen = sizeof findWhat;
    window = FindTextA(&request);
    return window;
}

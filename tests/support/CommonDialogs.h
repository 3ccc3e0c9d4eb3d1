#pragma once

#include "tests/harness/WindowTestHarness.h"

#include <dlgs.h>

#include <string>

// Controls of the system's common dialogs and property sheets, which the
// tests fill in and press as a user would.
const int kFileNameCombo = cmb13; // the file name in the file dialogs of Explorer style
const int kFileNameEdit = edt1;   // and in the older ones
const int kFileTypes = cmb1;
const int kFindWhat = edt1;
const int kPropertySheetApply = 0x3021; // has no name in the SDK headers

// Types a path into a file dialog's name field; the dialog may be another process's.
inline void TypeFileName(HWND dialog, const std::string& path) {
    if (!SetDlgItemTextA(dialog, kFileNameCombo, path.c_str()))
        SetDlgItemTextA(dialog, kFileNameEdit, path.c_str());
}

// Presses a dialog's button as a click would.
inline void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Chooses a file in an Open or Save As dialog: its path typed, then OK.
inline DialogAnswerer::Action ChooseFile(const std::string& path) {
    return [path](HWND dialog) {
        TypeFileName(dialog, path);
        PressButton(dialog, IDOK);
    };
}

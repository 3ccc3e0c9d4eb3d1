#pragma once

#include <windows.h>

// A procedure put in front of a control's own, with data for it: what
// SetWindowSubclass does, but kept in the program's memory. SetWindowSubclass
// keeps them in a window property, which Wine fetches from the window server
// for every message the control gets.
using ControlHook = LRESULT (*)(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                void* data);

// Once per control. The hook gets every message, WM_NCDESTROY last (where
// it frees its data), and passes on what it leaves to CallControlProcedure.
void HookControl(HWND control, ControlHook hook, void* data);

// The control's own handling of a message, from inside its hook.
LRESULT CallControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

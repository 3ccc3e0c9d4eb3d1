#pragma once

#include <windows.h>

#include <string>

// Sets a window's text only when it differs from the text shown, and says
// whether it did: setting a control's text paints it again, and an edit
// control loses its caret, scroll position and undo, even for the same text.
bool SetWindowTextIfChanged(HWND window, const char* text);

// The same for a static control, whose own handling paints it at once: the
// text is only stored, for the repaint the caller asks for.
bool SetStaticTextUnpainted(HWND label, const char* text);

// A window's whole text.
std::string WindowText(HWND window);

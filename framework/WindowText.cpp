#include "framework/WindowText.h"

#include <cstring>
#include <string>

std::string WindowText(HWND window) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

bool SetWindowTextIfChanged(HWND window, const char* text) {
    const int length = static_cast<int>(std::strlen(text));
    if (GetWindowTextLengthA(window) == length && WindowText(window) == text)
        return false;
    SetWindowTextA(window, text);
    return true;
}

bool SetStaticTextUnpainted(HWND label, const char* text) {
    const int length = static_cast<int>(std::strlen(text));
    if (GetWindowTextLengthA(label) == length && WindowText(label) == text)
        return false;
    // The control keeps no text of its own: it paints the window's text.
    DefWindowProcA(label, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    return true;
}

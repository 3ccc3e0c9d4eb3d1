#include "framework/WindowText.h"

#include <cstring>
#include <string>

bool SetWindowTextIfChanged(HWND window, const char* text) {
    const int length = static_cast<int>(std::strlen(text));
    if (GetWindowTextLengthA(window) == length) {
        std::string shown(static_cast<std::size_t>(length) + 1, '\0');
        shown.resize(static_cast<std::size_t>(GetWindowTextA(window, &shown[0], length + 1)));
        if (shown == text)
            return false;
    }
    SetWindowTextA(window, text);
    return true;
}

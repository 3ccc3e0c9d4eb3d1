#pragma once

#include <windows.h>

// True when nothing else lies over the window on the screen (at its centre
// and near its corners), so that a screenshot shows it.
inline bool ShownUncovered(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const int inset = 4;
    const POINT points[] = {{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2},
                            {rect.left + inset, rect.top + inset},
                            {rect.right - inset, rect.top + inset},
                            {rect.left + inset, rect.bottom - inset},
                            {rect.right - inset, rect.bottom - inset}};
    for (const POINT& point : points) {
        HWND there = WindowFromPoint(point);
        if (there != window && !IsChild(window, there))
            return false;
    }
    return true;
}

// A pixel of the window's client area as the window paints it, drawn into
// memory: whatever covers the window on the screen does not matter.
inline COLORREF RenderedPixel(HWND window, int x, int y) {
    RECT client{};
    GetClientRect(window, &client);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    SendMessageA(window, WM_PRINT, reinterpret_cast<WPARAM>(memory), PRF_ERASEBKGND | PRF_CLIENT);
    const COLORREF pixel = GetPixel(memory, x, y);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixel;
}

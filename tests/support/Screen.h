#pragma once

#include <windows.h>

#include <vector>

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

// A window's client area as the screen shows it, or as the window paints it
// now, drawn into memory (where whatever covers the window does not matter).
inline std::vector<COLORREF> ClientPixels(HWND window, bool asShown) {
    RECT client{};
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    if (asShown)
        BitBlt(memory, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    else
        SendMessageA(window, WM_PRINT, reinterpret_cast<WPARAM>(memory),
                     PRF_ERASEBKGND | PRF_CLIENT);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x)
            pixels.push_back(GetPixel(memory, x, y));
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, dc);
    return pixels;
}

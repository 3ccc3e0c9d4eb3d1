#include "shell/TrayAnimation.h"

#include <shellapi.h>

namespace {

bool HasClass(HWND window, const char* name) {
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    return lstrcmpA(className, name) == 0;
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// The notification area comes first in the enumeration, the clock inside it
// after; whatever follows the clock does not matter.
BOOL CALLBACK CutAtClock(HWND child, LPARAM area) {
    RECT& rect = *reinterpret_cast<RECT*>(area);
    if (HasClass(child, "TrayNotifyWnd")) {
        rect = WindowRect(child);
        return TRUE;
    }
    if (!HasClass(child, "TrayClockWClass"))
        return TRUE;
    const RECT clock = WindowRect(child);
    // A clock above the area's bottom means a taskbar at the side, where the
    // icons sit below the clock.
    if (clock.bottom < rect.bottom - 5)
        rect.top = clock.bottom;
    else
        rect.right = clock.left;
    return FALSE;
}

void AnimateCaption(HWND window, const RECT& from, const RECT& to) {
    DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
}

} // namespace

RECT NotificationAreaRect(HWND taskbar) {
    RECT rect = WindowRect(taskbar);
    EnumChildWindows(taskbar, CutAtClock, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

RECT GetTrayWndRect() {
    if (HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr))
        return NotificationAreaRect(taskbar);
    APPBARDATA bar{};
    bar.cbSize = sizeof bar;
    if (!SHAppBarMessage(ABM_GETTASKBARPOS, &bar)) {
        RECT rect{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &rect, 0);
        rect.left = rect.right - 150;
        rect.top = rect.bottom - 30;
        return rect;
    }
    const RECT& r = bar.rc;
    if (bar.uEdge == ABE_LEFT || bar.uEdge == ABE_RIGHT)
        return RECT{r.left, r.bottom - 100, r.right, r.bottom - 16};
    return RECT{r.right - 100, r.top, r.right - 16, r.bottom};
}

bool AnimationsEnabled() {
    ANIMATIONINFO info{};
    info.cbSize = sizeof info;
    return SystemParametersInfoA(SPI_GETANIMATION, sizeof info, &info, 0) && info.iMinAnimate != 0;
}

void MinimiseToTray(HWND window, WINDOWPLACEMENT& saved, bool animate) {
    if (animate)
        AnimateCaption(window, WindowRect(window), GetTrayWndRect());
    saved.length = sizeof saved;
    GetWindowPlacement(window, &saved);
    ShowWindow(window, SW_HIDE);
}

void MaximiseFromTray(HWND window, const WINDOWPLACEMENT& saved, bool animate) {
    // The placement saved at the hide is only for a window that is still
    // hidden; one on the taskbar or on screen has moved on since.
    const bool hidden = !IsWindowVisible(window);
    if (animate && hidden)
        AnimateCaption(window, GetTrayWndRect(), WindowRect(window));
    if (hidden && saved.length == sizeof saved)
        SetWindowPlacement(window, &saved);
    else
        ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(window);
}

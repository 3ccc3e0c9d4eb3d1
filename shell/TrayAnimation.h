#pragma once

#include <windows.h>

// Hiding a top-level window into the notification area and bringing it back,
// with the caption flying between the window and the taskbar's clock.

// Where the caption animation ends: the notification area of this taskbar
// window, cut at its clock (the part beside or above the clock).
RECT NotificationAreaRect(HWND taskbar);

// The screen rectangle of the notification area; without a taskbar, the
// bottom-right corner of the work area.
RECT GetTrayWndRect();

// Whether the user wants minimising animated.
bool AnimationsEnabled();

// Hides the window and with it its taskbar button; the icon stays.
// `saved` receives the placement to bring it back with. With `animate`
// (callers pass AnimationsEnabled()) the caption flies to the tray first.
void MinimiseToTray(HWND window, WINDOWPLACEMENT& saved, bool animate);

// Shows the window again as `saved` describes (when it holds a placement)
// and brings it to the front; `animate` flies the caption out of the tray.
void MaximiseFromTray(HWND window, const WINDOWPLACEMENT& saved, bool animate);

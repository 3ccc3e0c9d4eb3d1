#pragma once

#include <windows.h>

#include <commctrl.h>

// The toolbar's images and the window's icons drawn for a monitor's DPI.

// The toolbar's images at the size nearest to 16 pixels at that DPI; the
// caller owns the list.
HIMAGELIST LoadToolBarImages(UINT dpi);
// The window's small and big icons at their sizes for that DPI.
void SetWindowIconsForDpi(HWND window, UINT dpi);

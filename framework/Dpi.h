#pragma once

#include <windows.h>

// The per-monitor DPI functions of Windows 10 (1607 and later) are looked up
// at run time: where they are missing, the screen's DPI stands in.

// The DPI of the monitor the window is on.
UINT WindowDpi(HWND window);

// A system metric (SM_CXSMICON, ...) at that DPI.
int SystemMetricForDpi(int index, UINT dpi);

// The system's non-client fonts (message, menu, ...) at that DPI.
NONCLIENTMETRICSW NonClientMetricsForDpi(UINT dpi);

// The high-contrast mode of the system's accessibility settings is on.
bool HighContrastOn();

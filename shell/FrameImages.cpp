#include "shell/FrameImages.h"

#include "core/Dpi.h"
#include "framework/Dpi.h"
#include "framework/FrameParts.h"
#include "res/resource.h"

namespace {

// The sizes the toolbar's images were drawn at, and their bitmaps.
const int kToolBarImageSizes[] = {16, 20, 24, 32};
const int kToolBarImageBitmaps[] = {IDR_MAINFRAME, IDB_TOOLBAR_20, IDB_TOOLBAR_24, IDB_TOOLBAR_32};

HICON LoadIconOfSize(int id, int size) {
    // Shared icons belong to the module: nothing to destroy.
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                         IMAGE_ICON, size, size, LR_SHARED));
}

} // namespace

HIMAGELIST LoadToolBarImages(UINT dpi) {
    const int count = static_cast<int>(sizeof kToolBarImageSizes / sizeof kToolBarImageSizes[0]);
    const int size = NearestSize(kToolBarImageSizes, count, ScaleForDpi(16, static_cast<int>(dpi)));
    for (int i = 0; i < count; ++i) {
        if (kToolBarImageSizes[i] == size)
            return LoadImageStrip(kToolBarImageBitmaps[i], size);
    }
    return nullptr;
}

void SetWindowIconsForDpi(HWND window, UINT dpi) {
    SendMessageA(window, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(
                     LoadIconOfSize(IDR_MAINFRAME, SystemMetricForDpi(SM_CXSMICON, dpi))));
    SendMessageA(window, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(
                     LoadIconOfSize(IDR_MAINFRAME, SystemMetricForDpi(SM_CXICON, dpi))));
}

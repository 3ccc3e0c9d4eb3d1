#include "view/OrvikCalendarView.h"

HWND COrvikCalendarView::Create(HWND frame) {
    WNDCLASSEXA description{};
    description.hInstance = GetModuleHandleA(nullptr);
    description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    const char* className = RegisterWindowClass(description);
    WindowCreateArgs args;
    args.exStyle = WS_EX_CLIENTEDGE;
    args.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    args.x = args.y = args.width = args.height = 0;
    args.parent = frame;
    HWND created = CreateBoundWindow(className, args);
    if (created)
        UpdateTitle();
    return created;
}

void COrvikCalendarView::UpdateTitle() {
    const std::string title = "OrvikCalendar - " + documentName;
    SetWindowTextA(GetParent(window), title.c_str());
}

bool COrvikCalendarView::ProcessWindowMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

#include "framework/Reflection.h"

namespace {

// The messages in which a child tells its parent something.
bool IsChildNotification(UINT message) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
        return true;
    default:
        return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
    }
}

HWND NotifyingChild(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY:
        return reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    case WM_PARENTNOTIFY:
        return LOWORD(wParam) >= WM_LBUTTONDOWN ? nullptr : reinterpret_cast<HWND>(lParam);
    case WM_DRAWITEM:
        return reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;
    case WM_COMPAREITEM:
        return reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem;
    case WM_DELETEITEM:
        return reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem;
    case WM_MEASUREITEM:
        return nullptr;
    default:
        return reinterpret_cast<HWND>(lParam);
    }
}

} // namespace

bool ReflectNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!IsChildNotification(message))
        return false;
    HWND child = NotifyingChild(message, wParam, lParam);
    if (!child || !IsWindow(child))
        return false;
    result = SendMessageA(child, message + kReflectedMessage, wParam, lParam);
    return true;
}

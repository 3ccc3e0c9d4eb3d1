#include "shell/SystemTray.h"

#include "core/Utf8.h"
#include "framework/OwnedHandle.h"
#include "framework/RegisteredMessages.h"
#include "res/MessageTexts.h"
#include "res/resource.h"
#include "shell/TrayAnimation.h"

#include <initializer_list>

namespace {

const char kHiddenWindowClass[] = "TrayIconClass";
const UINT kBlinkMilliseconds = 500;

} // namespace

HICON LoadSmallIcon(HINSTANCE instance, int id) {
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

void CSystemTray::CHiddenWindow::Create(HINSTANCE instance) {
    WNDCLASSEXA description{};
    description.cbSize = sizeof description;
    description.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    description.lpfnWndProc = WindowProc;
    description.hInstance = instance;
    description.lpszClassName = kHiddenWindowClass;
    RegisterClassExA(&description); // fails harmlessly when an earlier tray registered it
    CreateWindowExA(0, kHiddenWindowClass, "", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
}

bool CSystemTray::CHiddenWindow::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                      LRESULT& result) {
    result = 0;
    if (message == g_taskbarCreatedMessage) {
        tray.AddIconAgain();
        return true;
    }
    switch (message) {
    case WM_TIMER:
        if (wParam != kBlinkTimer)
            return false;
        tray.OnAnimationTimer();
        return true;
    case kCallbackMessage:
        result = tray.OnTrayNotification(wParam, lParam);
        return true;
    default:
        return false;
    }
}

BOOL ShellNotifyIcon(DWORD action, NOTIFYICONDATAA* data) {
    return Shell_NotifyIconA(action, data);
}

CSystemTray::~CSystemTray() {
    Remove();
    // The hidden window, and with it the blink timer, goes with its member.
}

bool CSystemTray::Create(HINSTANCE moduleInstance, HWND targetWindow, HICON icon) {
    enabled = true;
    instance = moduleInstance;
    hiddenWindow.Create(instance);
    notifyData.cbSize = sizeof notifyData;
    notifyData.uID = kIconId;
    notifyData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    notifyData.hWnd = targetWindow ? targetWindow : hiddenWindow.window;
    notifyData.hIcon = icon;
    notifyData.uCallbackMessage = kCallbackMessage;
    lstrcpynA(notifyData.szTip, ORVIK_CAPTION, sizeof notifyData.szTip);
    hidden = removed = !Notify(NIM_ADD);
    return !hidden;
}

bool CSystemTray::LoadAnimationIcons() {
    animationIcons.clear();
    for (int id : {IDR_MAINFRAME, IDI_BLINK}) {
        HICON icon = LoadSmallIcon(instance, id);
        if (!icon) {
            animationIcons.clear();
            return false;
        }
        animationIcons.push_back(icon);
    }
    return true;
}

bool CSystemTray::Remove() {
    if (!enabled || removed)
        return true;
    notifyData.uFlags = 0;
    if (Notify(NIM_DELETE))
        hidden = removed = true;
    return removed;
}

bool CSystemTray::SetIcon(HICON icon) {
    if (!enabled)
        return false;
    notifyData.uFlags = NIF_ICON;
    notifyData.hIcon = icon;
    return hidden || Notify(NIM_MODIFY);
}

HICON CSystemTray::GetIcon() const {
    return enabled ? notifyData.hIcon : nullptr;
}

namespace {
// Copies as much of the text as the field holds, never half a character.
template <std::size_t N> void CopyCut(char (&field)[N], const std::string& text) {
    const std::size_t length = Utf8CutLength(text, N - 1);
    text.copy(field, length);
    field[length] = '\0';
}
} // namespace

bool CSystemTray::SetTooltipText(const char* text) {
    if (!enabled)
        return false;
    notifyData.uFlags = NIF_TIP;
    CopyCut(notifyData.szTip, text);
    return hidden || Notify(NIM_MODIFY);
}

bool CSystemTray::ShowBalloon(const char* title, const std::string& text, HICON icon) {
    if (!enabled)
        return false;
    NOTIFYICONDATAA balloon = notifyData;
    balloon.uFlags = NIF_INFO;
    CopyCut(balloon.szInfoTitle, title);
    CopyCut(balloon.szInfo, text);
    balloon.dwInfoFlags = NIIF_USER | NIIF_LARGE_ICON;
    balloon.hBalloonIcon = icon;
    return !hidden && notify(NIM_MODIFY, &balloon) != FALSE;
}

bool CSystemTray::StartAnimation() {
    if (animating || !enabled)
        return false;
    animationFrame = 0;
    savedIcon = GetIcon();
    animationTimer =
        SetTimer(hiddenWindow.window, kBlinkTimer, kBlinkMilliseconds, nullptr) ? kBlinkTimer : 0;
    animating = true;
    return animationTimer != 0;
}

bool CSystemTray::NextAnimationFrame() {
    if (animationIcons.empty())
        return false;
    animationFrame = (animationFrame + 1) % animationIcons.size();
    return SetIcon(animationIcons[animationFrame]);
}

bool CSystemTray::StopAnimation() {
    bool killed = false;
    if (animationTimer)
        killed = KillTimer(hiddenWindow.window, animationTimer);
    animationTimer = 0;
    if (savedIcon)
        SetIcon(savedIcon);
    savedIcon = nullptr;
    animating = false;
    return killed;
}

void CSystemTray::OnAnimationTimer() {
    // A tick already queued when the blinking stopped changes nothing.
    if (animationTimer)
        NextAnimationFrame();
}

bool CSystemTray::AddIconAgain() {
    notifyData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    // The shell's restart reaches the hidden window and the frame, so the
    // second add finds the icon there already: then it only updates it.
    const bool shown = Notify(NIM_ADD) || Notify(NIM_MODIFY);
    hidden = !shown;
    if (shown)
        removed = false; // the destructor takes it out again
    return shown;
}

LRESULT CSystemTray::OnTrayNotification(WPARAM wParam, LPARAM lParam) {
    if (wParam != kIconId || !notifyData.hWnd)
        return 0;
    switch (LOWORD(lParam)) {
    case WM_RBUTTONUP:
        ShowMenu();
        break;
    case WM_LBUTTONUP:
        // From the notification area or from the taskbar alike.
        MaximiseFromTray(notifyData.hWnd);
        if (animating)
            StopAnimation();
        break;
    default:
        break;
    }
    return 1;
}

void CSystemTray::MinimiseToTray(HWND window) {
    ::MinimiseToTray(window, savedPlacement, AnimationsEnabled());
}

void CSystemTray::MaximiseFromTray(HWND window) {
    ::MaximiseFromTray(window, savedPlacement, AnimationsEnabled());
}

bool CSystemTray::Notify(DWORD action) {
    return notify(action, &notifyData) != FALSE;
}

void CSystemTray::ShowMenu() {
    const OwnedMenu menu(LoadMenuA(instance, MAKEINTRESOURCEA(IDR_TRAYMENU)));
    if (HMENU popup = GetSubMenu(menu.Get(), 0)) {
        SetMenuDefaultItem(popup, 0, TRUE);
        POINT cursor{};
        GetCursorPos(&cursor);
        // Without these two the menu would not close when the user clicks
        // elsewhere, and would close at once on the second try.
        SetForegroundWindow(notifyData.hWnd);
        TrackPopupMenu(popup, 0, cursor.x, cursor.y, 0, notifyData.hWnd, nullptr);
        PostMessageA(notifyData.hWnd, WM_NULL, 0, 0);
    }
}

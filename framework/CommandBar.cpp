#include "framework/CommandBar.h"

#include "framework/ControlHook.h"
#include "framework/Dpi.h"
#include "framework/GuardedDispatch.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

namespace {

const DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | CCS_NODIVIDER |
                     CCS_NORESIZE | CCS_NOPARENTALIGN | TBSTYLE_FLAT | TBSTYLE_LIST;
const UINT kPopupFlags = TPM_LEFTBUTTON | TPM_VERTICAL | TPM_LEFTALIGN | TPM_TOPALIGN;
const LPARAM kRepeatBit = 1 << 30;

// The bar whose popup is open; hooks carry no user pointer, and only one
// menu is tracked at a time on the GUI thread.
CCommandBarCtrl* trackingBar = nullptr;
HHOOK menuFilterHook = nullptr; // borrowed from the OwnedHook of OpenPopups while it runs

bool KeyboardCuesAlwaysOn() {
    BOOL on = FALSE;
    SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &on, 0);
    return on != FALSE;
}

char UpperCase(char letter) {
    char text[2] = {letter, '\0'};
    CharUpperA(text);
    return text[0];
}

// The letter after the single '&' of a menu text, in upper case.
char MnemonicOf(const char* text) {
    for (const char* at = text; at[0] && at[1]; ++at) {
        if (at[0] != '&')
            continue;
        ++at;
        if (at[0] != '&')
            return UpperCase(at[0]);
    }
    return ' ';
}

int HighlightedItem(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    for (int item = 0; item < count; ++item) {
        if (GetMenuState(menu, static_cast<UINT>(item), MF_BYPOSITION) & MF_HILITE)
            return item;
    }
    return -1;
}

} // namespace

CCommandBarCtrl::~CCommandBarCtrl() {
    // The window goes before the font it draws with.
    if (window)
        DestroyWindow(window);
}

HWND CCommandBarCtrl::Create(HWND parent) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    window = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, kStyle, 0, 0, 100, 100, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kChildId)),
                             GetModuleHandleA(nullptr), nullptr);
    if (!window)
        return nullptr;
    SendMessageA(window, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(window, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    SetDpi(WindowDpi(window));
    HookControl(window, ControlHookProcedure, this);
    ShowUnderlines(false);
    return window;
}

void CCommandBarCtrl::SetDpi(UINT dpi) {
    NONCLIENTMETRICSW metrics = NonClientMetricsForDpi(dpi);
    OwnedFont next(CreateFontIndirectW(&metrics.lfMenuFont));
    if (!next)
        return;
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(next.Get()), TRUE);
    font = std::move(next); // the old font goes once the window no longer draws with it
    SendMessageA(window, TB_AUTOSIZE, 0, 0);
}

bool CCommandBarCtrl::AttachMenu(HMENU newMenu) {
    if (!window || !newMenu)
        return false;
    while (SendMessageA(window, TB_DELETEBUTTON, 0, 0)) {
    }
    if (menu.Get() != newMenu)
        menu.Reset(newMenu);
    mnemonics.clear();
    const int count = GetMenuItemCount(menu.Get());
    for (int index = 0; index < count; ++index) {
        char text[128] = "";
        GetMenuStringA(menu.Get(), static_cast<UINT>(index), text, sizeof text, MF_BYPOSITION);
        mnemonics += MnemonicOf(text);
        TBBUTTON button{};
        button.iBitmap = I_IMAGENONE;
        button.idCommand = index; // the popup's position
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
        button.iString = reinterpret_cast<INT_PTR>(text);
        SendMessageA(window, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
    SendMessageA(window, TB_AUTOSIZE, 0, 0);
    return true;
}

bool CCommandBarCtrl::PreTranslateMessage(MSG* message) {
    if (!window || mnemonics.empty())
        return false;
    switch (message->message) {
    case WM_SYSKEYDOWN:
        return IsForOwner(message->hwnd) && OnSysKeyDown(message->wParam, message->lParam);
    case WM_SYSKEYUP:
    case WM_KEYUP:
        if (message->wParam == VK_MENU && IsForOwner(message->hwnd))
            return OnAltUp();
        return barActive || (message->wParam == VK_F10 && IsForOwner(message->hwnd));
    case WM_SYSCHAR:
        return IsForOwner(message->hwnd) && OnSysChar(message->wParam);
    case WM_KEYDOWN:
    case WM_CHAR:
        return barActive && OnBarKey(*message);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        altAlone = false;
        // A click elsewhere ends the keyboard mode; the click itself goes on.
        if (barActive && message->hwnd != window)
            LeaveBar();
        return false;
    default:
        return false;
    }
}

bool CCommandBarCtrl::OnSysCommand(WPARAM command, LPARAM lParam) {
    if ((command & 0xFFF0) != SC_KEYMENU || !window || mnemonics.empty())
        return false;
    if (lParam == 0) {
        EnterBar(0);
        return true;
    }
    const int index = MnemonicButton(static_cast<WPARAM>(lParam));
    if (index < 0)
        return false;
    OpenPopups(index, true);
    return true;
}

BOOL CCommandBarCtrl::TrackPopupMenu(HMENU popup, UINT flags, int x, int y) {
    return TrackPopupMenuEx(popup, flags, x, y, Owner(), nullptr);
}

bool CCommandBarCtrl::OnSysKeyDown(WPARAM key, LPARAM lParam) {
    if (key == VK_MENU) {
        if (!(lParam & kRepeatBit)) {
            altAlone = true;
            ShowUnderlines(true);
        }
        return true;
    }
    altAlone = false;
    if (key == VK_F10 && GetKeyState(VK_SHIFT) >= 0) {
        if (barActive)
            LeaveBar();
        else
            EnterBar(0);
        return true;
    }
    return false; // Alt+letter comes back as WM_SYSCHAR
}

bool CCommandBarCtrl::OnSysChar(WPARAM character) {
    const int index = MnemonicButton(character);
    if (index >= 0) {
        OpenPopups(index, true);
        return true;
    }
    if (character == ' ') {
        LeaveBar(); // Alt+Space goes on to the system menu
        return false;
    }
    return barActive;
}

// Only Alt pressed alone is the bar's: after other keys (Alt+0248 on the
// number pad) the key-up goes on, so that the character is composed.
bool CCommandBarCtrl::OnAltUp() {
    const bool alone = altAlone;
    altAlone = false;
    if (alone && barActive)
        LeaveBar();
    else if (alone)
        EnterBar(0);
    else if (!barActive)
        ShowUnderlines(false);
    return alone;
}

bool CCommandBarCtrl::OnBarKey(const MSG& message) {
    const int count = ButtonCount();
    if (message.message == WM_CHAR) {
        const int index = MnemonicButton(message.wParam);
        if (index >= 0)
            OpenPopups(index, true);
        return true;
    }
    switch (message.wParam) {
    case VK_LEFT:
        SetHot((hot + count - 1) % count);
        break;
    case VK_RIGHT:
        SetHot((hot + 1) % count);
        break;
    case VK_UP:
    case VK_DOWN:
    case VK_RETURN:
        OpenPopups(hot, true);
        break;
    case VK_ESCAPE:
        LeaveBar();
        break;
    default:
        // Letters come back as WM_CHAR, in the keyboard's layout.
        TranslateMessage(&message);
        break;
    }
    return true;
}

void CCommandBarCtrl::OpenPopups(int index, bool byKeyboard) {
    if (openIndex >= 0)
        return; // a menu key dispatched by the open popup's own loop
    altAlone = false;
    if (byKeyboard)
        ShowUnderlines(true);
    GetCursorPos(&lastPointer);
    trackingBar = this;
    const OwnedHook hook(
        SetWindowsHookExA(WH_MSGFILTER, MenuFilterProc, nullptr, GetCurrentThreadId()));
    menuFilterHook = hook.Get();
    int next = index;
    bool keyboard = byKeyboard;
    while (next >= 0) {
        openIndex = next;
        switchTo = -1;
        escaped = false;
        SetHot(openIndex);
        SendMessageA(window, TB_PRESSBUTTON, static_cast<WPARAM>(openIndex), TRUE);
        // A menu opened from the keyboard starts on its first item, as the
        // menu bar's do; the menu's own loop reads this key first.
        if (keyboard)
            PostMessageA(window, WM_KEYDOWN, VK_DOWN, 0);
        RECT button{};
        SendMessageA(window, TB_GETITEMRECT, static_cast<WPARAM>(openIndex),
                     reinterpret_cast<LPARAM>(&button));
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&button), 2);
        TPMPARAMS exclude{sizeof exclude, button};
        TrackPopupMenuEx(GetSubMenu(menu.Get(), openIndex), kPopupFlags, button.left, button.bottom,
                         Owner(), &exclude);
        SendMessageA(window, TB_PRESSBUTTON, static_cast<WPARAM>(openIndex), FALSE);
        next = switchTo;
        keyboard = switchByKeyboard;
    }
    menuFilterHook = nullptr;
    trackingBar = nullptr;
    const int closed = openIndex;
    openIndex = -1;
    if (escaped)
        EnterBar(closed);
    else
        LeaveBar();
}

LRESULT CALLBACK CCommandBarCtrl::MenuFilterProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_MENU && trackingBar &&
        trackingBar->OnMenuMessage(*reinterpret_cast<MSG*>(lParam)))
        return TRUE;
    return CallNextHookEx(menuFilterHook, code, wParam, lParam);
}

// Sees the messages of the open popup's loop. True uses the message up.
bool CCommandBarCtrl::OnMenuMessage(const MSG& message) {
    const int count = ButtonCount();
    switch (message.message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // Mouse messages of a menu's loop carry screen coordinates.
        const POINT point{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
        const bool move = message.message == WM_MOUSEMOVE;
        // A popup that shows up under a resting pointer brings a move too.
        const bool moved = point.x != lastPointer.x || point.y != lastPointer.y;
        lastPointer = point;
        const int button = ButtonAt(point);
        if (button < 0 || (move && (button == openIndex || !moved)))
            return false;
        // A click on the open button only closes it.
        switchTo = button == openIndex ? -1 : button;
        switchByKeyboard = false;
        EndMenu();
        return true;
    }
    case WM_KEYDOWN: {
        int highlighted = -1;
        HMENU deepest = DeepestOpenMenu(highlighted);
        const bool inOpenPopup = deepest == GetSubMenu(menu.Get(), openIndex);
        if (message.wParam == VK_ESCAPE && inOpenPopup) {
            escaped = true;
            return false; // the menu's loop closes it
        }
        const bool left = message.wParam == VK_LEFT && inOpenPopup;
        const bool right =
            message.wParam == VK_RIGHT && (highlighted < 0 || !GetSubMenu(deepest, highlighted));
        if (!left && !right)
            return false;
        switchTo = (openIndex + (left ? count - 1 : 1)) % count;
        switchByKeyboard = true;
        EndMenu();
        return true;
    }
    default:
        return false;
    }
}

// The innermost menu that shows a highlighted item, starting at the open
// popup, and that item's position (or -1 when none is highlighted).
HMENU CCommandBarCtrl::DeepestOpenMenu(int& highlighted) const {
    HMENU current = GetSubMenu(menu.Get(), openIndex);
    highlighted = HighlightedItem(current);
    for (;;) {
        HMENU submenu = highlighted >= 0 ? GetSubMenu(current, highlighted) : nullptr;
        const int inner = submenu ? HighlightedItem(submenu) : -1;
        if (inner < 0)
            return current;
        current = submenu;
        highlighted = inner;
    }
}

void CCommandBarCtrl::OnClick(LPARAM clientPoint) {
    POINT point{GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
    ClientToScreen(window, &point);
    const int button = ButtonAt(point);
    if (button >= 0)
        OpenPopups(button, false);
    else
        LeaveBar();
}

void CCommandBarCtrl::EnterBar(int index) {
    if (!barActive) {
        barActive = true;
        focusBefore = GetFocus();
        SetFocus(window);
    }
    ShowUnderlines(true);
    SetHot(index);
}

void CCommandBarCtrl::LeaveBar() {
    const bool wasActive = barActive;
    barActive = false;
    SetHot(-1);
    ShowUnderlines(false);
    HWND previous = focusBefore;
    focusBefore = nullptr;
    if (wasActive && GetFocus() == window && previous && IsWindow(previous))
        SetFocus(previous);
}

void CCommandBarCtrl::SetHot(int index) {
    hot = index;
    SendMessageA(window, TB_SETHOTITEM, static_cast<WPARAM>(index), 0);
}

void CCommandBarCtrl::ShowUnderlines(bool show) {
    const bool hide = !show && !KeyboardCuesAlwaysOn();
    SendMessageA(window, TB_SETDRAWTEXTFLAGS, DT_HIDEPREFIX | DT_NOPREFIX,
                 hide ? DT_HIDEPREFIX : 0);
    InvalidateRect(window, nullptr, TRUE);
}

HWND CCommandBarCtrl::Owner() const {
    return GetAncestor(window, GA_ROOT);
}

bool CCommandBarCtrl::IsForOwner(HWND target) const {
    HWND owner = Owner();
    return target == owner || IsChild(owner, target);
}

int CCommandBarCtrl::ButtonCount() const {
    return static_cast<int>(SendMessageA(window, TB_BUTTONCOUNT, 0, 0));
}

int CCommandBarCtrl::ButtonAt(POINT screen) const {
    POINT point = screen;
    ScreenToClient(window, &point);
    RECT client{};
    GetClientRect(window, &client);
    if (!PtInRect(&client, point))
        return -1;
    const int index =
        static_cast<int>(SendMessageA(window, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
    return index >= 0 && index < ButtonCount() ? index : -1;
}

int CCommandBarCtrl::MnemonicButton(WPARAM character) const {
    const char upper = UpperCase(static_cast<char>(character));
    const size_t found = upper == ' ' ? std::string::npos : mnemonics.find(upper);
    return found == std::string::npos ? -1 : static_cast<int>(found);
}

LRESULT CCommandBarCtrl::ControlHookProcedure(HWND toolbar, UINT message, WPARAM wParam,
                                              LPARAM lParam, void* selfPointer) {
    auto* self = static_cast<CCommandBarCtrl*>(selfPointer);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The bar's own handling instead of the toolbar's press and click.
        CallGuarded([&] { self->OnClick(lParam); });
        return 0;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE: {
        // The toolbar's hot tracking; in keyboard mode a button stays hot.
        const LRESULT result = CallControlProcedure(toolbar, message, wParam, lParam);
        if (self->barActive) {
            const int hovered = static_cast<int>(SendMessageA(toolbar, TB_GETHOTITEM, 0, 0));
            self->SetHot(hovered >= 0 ? hovered : self->hot);
        }
        return result;
    }
    case WM_KILLFOCUS:
        if (self->barActive && self->openIndex < 0) {
            self->focusBefore = nullptr; // the focus went somewhere on purpose
            self->LeaveBar();
        }
        break;
    case WM_NCDESTROY:
        self->window = nullptr;
        break;
    default:
        break;
    }
    return CallControlProcedure(toolbar, message, wParam, lParam);
}

#include "framework/FrameParts.h"

#include "framework/MenuPrompt.h"
#include "framework/OwnedHandle.h"
#include "framework/StandardIds.h"

#include <string>

namespace {

const DWORD kToolBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                            TBSTYLE_TOOLTIPS | TBSTYLE_FLAT | CCS_NODIVIDER | CCS_NORESIZE |
                            CCS_NOPARENTALIGN;
const DWORD kReBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                          RBS_VARHEIGHT | RBS_BANDBORDERS | RBS_AUTOSIZE | CCS_NODIVIDER;
const DWORD kStatusBarStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | SBARS_SIZEGRIP;
const WPARAM kSimplePane = 255;

// Its own visibility: a bar of a frame not shown yet still takes its place.
bool IsShownInParent(HWND window) {
    return window && (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE);
}

int WindowHeight(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

RECT ButtonRect(HWND toolbar, int index) {
    RECT rect{};
    SendMessageA(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&rect));
    return rect;
}

} // namespace

HWND CreateToolBar(HWND parent, HIMAGELIST images, const ToolBarButton* buttons, int count) {
    HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, kToolBarStyle, 0, 0, 100, 100,
                                   parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!toolbar)
        return nullptr;
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SetToolBarImages(toolbar, images);
    int image = 0;
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        button.idCommand = buttons[i].command;
        button.iBitmap = buttons[i].command ? image++ : 0;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = buttons[i].command ? BTNS_BUTTON : BTNS_SEP;
        SendMessageA(toolbar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
    return toolbar;
}

void SetToolBarImages(HWND toolbar, HIMAGELIST images) {
    int width = 16, height = 16;
    if (images)
        ImageList_GetIconSize(images, &width, &height);
    SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(width, height));
    SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    // The buttons take the size of the new images.
    SendMessageA(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(0, 0));
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
}

HIMAGELIST LoadImageStrip(int bitmapId, int size) {
    // A DIB section keeps the alpha channel that the image list draws with.
    HBITMAP strip =
        static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!strip)
        return nullptr;
    BITMAP info{};
    GetObjectA(strip, sizeof info, &info);
    HIMAGELIST images =
        ImageList_Create(size, size, ILC_COLOR32, info.bmWidth / (size > 0 ? size : 1), 0);
    if (images && ImageList_Add(images, strip, nullptr) < 0) {
        ImageList_Destroy(images);
        images = nullptr;
    }
    DeleteObject(strip);
    return images;
}

HWND CreateReBar(HWND parent, int childId) {
    HWND rebar = CreateWindowExA(0, REBARCLASSNAMEA, nullptr, kReBarStyle, 0, 0, 100, 100, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)),
                                 GetModuleHandleA(nullptr), nullptr);
    if (!rebar)
        return nullptr;
    REBARINFO info{};
    info.cbSize = sizeof info;
    if (!SendMessageA(rebar, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info))) {
        DestroyWindow(rebar);
        return nullptr;
    }
    return rebar;
}

bool AddReBarBand(HWND rebar, HWND child, const BandArgs& args) {
    const int bands = static_cast<int>(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0));
    REBARBANDINFOA band{};
    band.cbSize = sizeof band;
    band.fMask =
        RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_ID | RBBIM_SIZE | RBBIM_IDEALSIZE;
    band.fStyle =
        RBBS_CHILDEDGE | (args.newRow ? RBBS_BREAK : 0) | (args.chevron ? RBBS_USECHEVRON : 0);
    band.hwndChild = child;
    band.wID = static_cast<UINT>(ID_FIRST_BAND + bands);
    RECT childRect{};
    GetWindowRect(child, &childRect);
    band.cyMinChild = childRect.bottom - childRect.top;
    band.cx = childRect.right - childRect.left;
    if (args.fitButtons) {
        if (args.chevron)
            SendMessageA(child, TB_SETEXTENDEDSTYLE, 0,
                         SendMessageA(child, TB_GETEXTENDEDSTYLE, 0, 0) |
                             TBSTYLE_EX_HIDECLIPPEDBUTTONS);
        const int buttons = static_cast<int>(SendMessageA(child, TB_BUTTONCOUNT, 0, 0));
        if (buttons > 0) {
            const RECT last = ButtonRect(child, buttons - 1);
            band.cx = last.right;
            band.cxMinChild = ButtonRect(child, 0).right;
            band.cyMinChild = last.bottom;
        }
    }
    band.cxIdeal = static_cast<UINT>(band.cx);
    if (!SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1),
                      reinterpret_cast<LPARAM>(&band)))
        return false;
    // The band's width includes its borders.
    RECT borders{};
    SendMessageA(rebar, RB_GETBANDBORDERS, static_cast<WPARAM>(bands),
                 reinterpret_cast<LPARAM>(&borders));
    band.fMask = RBBIM_SIZE;
    band.cx += borders.left + borders.right;
    SendMessageA(rebar, RB_SETBANDINFOA, static_cast<WPARAM>(bands),
                 reinterpret_cast<LPARAM>(&band));
    return true;
}

void ShowReBarBand(HWND rebar, int bandId, bool show) {
    const LRESULT index = SendMessageA(rebar, RB_IDTOINDEX, static_cast<WPARAM>(bandId), 0);
    if (index >= 0)
        SendMessageA(rebar, RB_SHOWBAND, static_cast<WPARAM>(index), show);
}

void FitReBarBand(HWND rebar, HWND child) {
    const int bands = static_cast<int>(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0));
    for (int index = 0; index < bands; ++index) {
        REBARBANDINFOA band{};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE;
        SendMessageA(rebar, RB_GETBANDINFOA, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&band));
        if (band.hwndChild != child)
            continue;
        RECT childRect{};
        GetWindowRect(child, &childRect);
        band.cyMinChild = static_cast<UINT>(childRect.bottom - childRect.top);
        const int buttons = static_cast<int>(SendMessageA(child, TB_BUTTONCOUNT, 0, 0));
        if (buttons > 0) {
            band.cxMinChild = static_cast<UINT>(ButtonRect(child, 0).right);
            band.cyMinChild = static_cast<UINT>(ButtonRect(child, buttons - 1).bottom);
            band.fMask |= RBBIM_IDEALSIZE;
            band.cxIdeal = static_cast<UINT>(ButtonRect(child, buttons - 1).right);
        }
        SendMessageA(rebar, RB_SETBANDINFOA, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&band));
    }
}

HWND CreateStatusBar(HWND parent, int childId, UINT textId) {
    char text[128] = "";
    LoadStringA(GetModuleHandleA(nullptr), textId, text, sizeof text);
    return CreateStatusWindowA(static_cast<LONG>(kStatusBarStyle), text, parent,
                               static_cast<UINT>(childId));
}

RECT FrameClientArea(HWND frame, HWND rebar, HWND statusBar) {
    RECT area{};
    GetClientRect(frame, &area);
    if (rebar)
        area.top += WindowHeight(rebar);
    if (IsShownInParent(statusBar))
        area.bottom -= WindowHeight(statusBar);
    return area;
}

void LayoutFrame(HWND frame, HWND rebar, HWND statusBar, HWND client, bool resizeBars) {
    if (resizeBars) {
        // A rebar places itself across the top, a status bar across the bottom.
        if (rebar)
            SendMessageA(rebar, WM_SIZE, 0, 0);
        if (IsShownInParent(statusBar))
            SendMessageA(statusBar, WM_SIZE, 0, 0);
    }
    const RECT area = FrameClientArea(frame, rebar, statusBar);
    if (client && area.bottom > area.top)
        SetWindowPos(client, nullptr, area.left, area.top, area.right - area.left,
                     area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShowMenuPrompt(HWND statusBar, UINT item, UINT flags, HMENU menu) {
    if (!statusBar)
        return;
    if (flags == 0xFFFF && !menu) {
        SendMessageA(statusBar, SB_SIMPLE, FALSE, 0);
        return;
    }
    const UINT stringId = MenuPromptStringId(item, flags);
    const std::string prompt = stringId ? LoadPrompt(stringId) : std::string();
    SendMessageA(statusBar, SB_SIMPLE, TRUE, 0);
    SendMessageA(statusBar, SB_SETTEXTA, kSimplePane | SBT_NOBORDERS,
                 reinterpret_cast<LPARAM>(prompt.c_str()));
}

void FillToolTip(NMTTDISPINFOA& request) {
    const std::string tooltip = LoadTooltip(static_cast<UINT>(request.hdr.idFrom));
    lstrcpynA(request.szText, tooltip.c_str(), sizeof request.szText);
    request.lpszText = request.szText;
    request.hinst = nullptr;
}

void ShowChevronMenu(HWND frame, const NMREBARCHEVRON& chevron, HWND menuBar, HMENU menuBarMenu) {
    REBARBANDINFOA band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_CHILD;
    SendMessageA(chevron.hdr.hwndFrom, RB_GETBANDINFOA, chevron.uBand,
                 reinterpret_cast<LPARAM>(&band));
    HWND toolbar = band.hwndChild;
    RECT visible{};
    GetClientRect(toolbar, &visible);

    const OwnedMenu owned(CreatePopupMenu());
    HMENU menu = owned.Get();
    const int count = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        TBBUTTON button{};
        SendMessageA(toolbar, TB_GETBUTTON, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&button));
        if (ButtonRect(toolbar, index).right <= visible.right || (button.fsStyle & BTNS_SEP))
            continue;
        if (toolbar == menuBar) {
            char text[64] = "";
            GetMenuStringA(menuBarMenu, static_cast<UINT>(button.idCommand), text, sizeof text,
                           MF_BYPOSITION);
            AppendMenuA(menu, MF_POPUP,
                        reinterpret_cast<UINT_PTR>(GetSubMenu(menuBarMenu, button.idCommand)),
                        text);
            continue;
        }
        const std::string text = LoadTooltip(static_cast<UINT>(button.idCommand));
        const bool enabled = button.fsState & TBSTATE_ENABLED;
        AppendMenuA(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED),
                    static_cast<UINT_PTR>(button.idCommand), text.c_str());
    }
    POINT corner{chevron.rc.left, chevron.rc.bottom};
    ClientToScreen(chevron.hdr.hwndFrom, &corner);
    const int command = GetMenuItemCount(menu) > 0
                            ? TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN,
                                             corner.x, corner.y, 0, frame, nullptr)
                            : 0;
    // The menu bar's popups are only borrowed: detach them before the menu goes.
    while (GetMenuItemCount(menu) > 0)
        RemoveMenu(menu, 0, MF_BYPOSITION);
    if (command)
        PostMessageA(frame, WM_COMMAND, static_cast<WPARAM>(command), 0);
}

#pragma once

#include <windows.h>

#include <commctrl.h>

// The bars of a frame window and their layout. The frame's message map in
// FrameWindow.h routes to these; the children belong to the frame window.

struct ToolBarButton {
    int command; // 0 for a separator
};

// A flat toolbar with tooltips; its images, square, from the list, which the
// caller owns and keeps while the toolbar shows it.
HWND CreateToolBar(HWND parent, HIMAGELIST images, const ToolBarButton* buttons, int count);
// Shows other images (of another size) on the buttons.
void SetToolBarImages(HWND toolbar, HIMAGELIST images);
// The square images of a 32-bit bitmap resource with alpha, side by side;
// null when it cannot be loaded. The caller owns the list.
HIMAGELIST LoadImageStrip(int bitmapId, int size);

// The rebar that holds every bar; null when it could not be set up.
HWND CreateReBar(HWND parent, int childId);

struct BandArgs {
    bool newRow = false;
    bool chevron = false;    // for bars of buttons: clipped buttons move to a chevron menu
    bool fitButtons = false; // width runs to the last button, the first one is the minimum
};
bool AddReBarBand(HWND rebar, HWND child, const BandArgs& args);
void ShowReBarBand(HWND rebar, int bandId, bool show);
// The band of that child fits the child's size again (after a DPI change).
void FitReBarBand(HWND rebar, HWND child);

HWND CreateStatusBar(HWND parent, int childId, UINT textId);

// Rebar across the top, status bar (when visible) across the bottom, the
// client in the rest. With resizeBars false only the client moves.
// The frame's client area less the rebar and the status bar: the client
// window's place.
RECT FrameClientArea(HWND frame, HWND rebar, HWND statusBar);
void LayoutFrame(HWND frame, HWND rebar, HWND statusBar, HWND client, bool resizeBars);

// WM_MENUSELECT: the highlighted item's prompt in the status bar's simple
// pane while a menu is open, the normal text again when it closes.
void ShowMenuPrompt(HWND statusBar, UINT item, UINT flags, HMENU menu);

// A toolbar's tooltip request: the text after the command's line break.
void FillToolTip(NMTTDISPINFOA& request);

// The buttons a band hides for lack of room, as a drop-down menu; the
// chosen command goes to the frame. The menu bar's hidden buttons show their
// popups (its buttons carry the popup's position as their id).
void ShowChevronMenu(HWND frame, const NMREBARCHEVRON& chevron, HWND menuBar, HMENU menuBarMenu);

#pragma once

#include "framework/FrameParts.h"
#include "framework/Window.h"

// A top-level frame: title, menu, icons and accelerators from the resources
// with the id T::kResourceId; a rebar across the top, a status bar across
// the bottom and a client window in the rest; quits the thread's loop with
// exit code 1 when it is destroyed.
template <class T> class CFrameWindowImpl : public CWindowImpl<T> {
  public:
    void UpdateLayout(bool resizeBars = true) {
        RECT area{};
        GetClientRect(this->window, &area);
        laidOutSize = {area.right, area.bottom};
        LayoutFrame(this->window, rebar, statusBar, client, resizeBars);
    }

    RECT ClientArea() const { return FrameClientArea(this->window, rebar, statusBar); }

    HWND CreateEx() {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        char title[256] = "";
        LoadStringA(instance, T::kResourceId, title, sizeof title);
        HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(T::kResourceId)); // owned by the window

        WNDCLASSEXA description{};
        description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        description.hInstance = instance;
        description.hIcon = LoadIconResource(GetSystemMetrics(SM_CXICON));
        description.hIconSm = LoadIconResource(GetSystemMetrics(SM_CXSMICON));
        const char* className = CWindowImpl<T>::RegisterWindowClass(description);

        WindowCreateArgs args;
        args.exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
        args.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
        args.title = title;
        args.menuOrId = menu;
        // Before the window: its creation may build on them.
        accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(T::kResourceId));
        HWND created = CWindowImpl<T>::CreateBoundWindow(className, args);
        if (!created) {
            DestroyMenu(menu);
            return nullptr;
        }
        return created;
    }

  protected:
    HACCEL accelerators = nullptr; // borrowed from the module's resources
    // Children of the frame window, destroyed with it.
    HWND rebar = nullptr; // the rebar holding every bar
    HWND statusBar = nullptr;
    HWND client = nullptr;

    // The frame's own handling, for the messages the derived map leaves.
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        switch (message) {
        case WM_SIZE:
            // The first show sends the size the frame was laid out for at
            // creation: the bars would only measure themselves again.
            if (wParam != SIZE_MINIMIZED &&
                (LOWORD(lParam) != laidOutSize.cx || HIWORD(lParam) != laidOutSize.cy))
                UpdateLayout();
            return false;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
        case WM_MENUSELECT:
            ShowMenuPrompt(statusBar, LOWORD(wParam), HIWORD(wParam),
                           reinterpret_cast<HMENU>(lParam));
            return false;
        case WM_SETFOCUS:
            if (client)
                SetFocus(client);
            return true;
        case WM_ERASEBKGND:
            result = 1; // the children cover the whole window
            return true;
        case WM_DESTROY:
            if (!(GetWindowLongA(this->window, GWL_STYLE) & (WS_CHILD | WS_POPUP)))
                PostQuitMessage(1);
            return false;
        default:
            return false;
        }
    }

    bool OnNotify(NMHDR& header) {
        if (header.code == RBN_AUTOSIZE && header.hwndFrom == rebar) {
            UpdateLayout(false);
            return true;
        }
        if (header.code == RBN_CHEVRONPUSHED && header.hwndFrom == rebar) {
            ShowChevronMenu(this->window, reinterpret_cast<NMREBARCHEVRON&>(header),
                            static_cast<T*>(this)->MenuBar(), static_cast<T*>(this)->MenuBarMenu());
            return true;
        }
        if (header.code == TTN_GETDISPINFOA) {
            FillToolTip(reinterpret_cast<NMTTDISPINFOA&>(header));
            return true;
        }
        return false;
    }

  private:
    SIZE laidOutSize{}; // the client size of the last layout
    static HICON LoadIconResource(int size) {
        // Shared icons belong to the module: nothing to destroy.
        return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr),
                                             MAKEINTRESOURCEA(T::kResourceId), IMAGE_ICON, size,
                                             size, LR_SHARED));
    }
};

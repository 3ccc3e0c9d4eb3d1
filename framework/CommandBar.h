#pragma once

#include "framework/OwnedHandle.h"

#include <windows.h>

#include <string>

// The menu bar, drawn as a flat toolbar with one text button per popup of
// the attached menu. Mouse and keyboard work as on the system's menu bar.
// The popups are owned by the top-level window, so it gets WM_INITMENUPOPUP,
// WM_MENUSELECT and WM_COMMAND just as from a real menu bar.
class CCommandBarCtrl {
  public:
    // The toolbar's child id: 59392 and 59393 are the rebar and the status bar.
    static constexpr int kChildId = 0xE802; // 59394

    HWND window = nullptr; // the toolbar; owned, destroyed with its parent or by the destructor

    CCommandBarCtrl() = default;
    ~CCommandBarCtrl();
    CCommandBarCtrl(const CCommandBarCtrl&) = delete;
    CCommandBarCtrl& operator=(const CCommandBarCtrl&) = delete;

    HWND Create(HWND parent);
    // The system's menu font at that DPI.
    void SetDpi(UINT dpi);
    // Takes the menu over (it is destroyed with the bar) and makes its buttons.
    bool AttachMenu(HMENU menu);
    HMENU GetMenu() const { return menu.Get(); }

    // For the frame's message filter, before the accelerators: Alt, F10,
    // Alt+letter, and every key while the bar has the keyboard. True when the
    // message was used up.
    bool PreTranslateMessage(MSG* message);
    // For the frame's WM_SYSCOMMAND: menu keys that reached the default
    // handling. False leaves the command to it (Alt+Space: the system menu).
    bool OnSysCommand(WPARAM command, LPARAM lParam);
    // A context menu whose commands go to the top-level window.
    BOOL TrackPopupMenu(HMENU popup, UINT flags, int x, int y);

  private:
    static LRESULT ControlHookProcedure(HWND toolbar, UINT message, WPARAM wParam, LPARAM lParam,
                                        void* self);
    static LRESULT CALLBACK MenuFilterProc(int code, WPARAM wParam, LPARAM lParam);

    bool OnSysKeyDown(WPARAM key, LPARAM lParam);
    bool OnSysChar(WPARAM character);
    bool OnAltUp();
    bool OnBarKey(const MSG& message);
    bool OnMenuMessage(const MSG& message);
    void OnClick(LPARAM clientPoint);
    void OpenPopups(int index, bool byKeyboard);
    void EnterBar(int index);
    void LeaveBar();
    void SetHot(int index);
    void ShowUnderlines(bool show);
    HWND Owner() const;
    bool IsForOwner(HWND target) const;
    int ButtonCount() const;
    int ButtonAt(POINT screen) const;
    int MnemonicButton(WPARAM character) const;
    HMENU DeepestOpenMenu(int& highlighted) const;

    OwnedMenu menu;
    OwnedFont font;        // the system's menu font, used by the window
    std::string mnemonics; // upper case, one per button, or ' ' for none

    // Keyboard mode: the bar holds the focus and shows a hot button.
    bool barActive = false;
    int hot = -1;
    HWND focusBefore = nullptr; // borrowed: gets the focus back when the bar is left
    bool altAlone = false;      // Alt is down and no other key came since

    // While OpenPopups runs: what made the open popup close.
    int openIndex = -1;
    int switchTo = -1; // the button whose popup opens next
    bool switchByKeyboard = false;
    bool escaped = false; // Escape: back to the bar
    POINT lastPointer{};  // screen point of the last mouse message
};

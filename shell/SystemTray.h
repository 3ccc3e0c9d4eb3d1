#pragma once

#include "framework/Window.h"

#include <shellapi.h>

#include <string>

#include <vector>

// How the icon reaches the notification area: the shell's own call, or a
// stand-in that a test hands to the tray (or to the frame that holds it).
using NotifyIconCall = BOOL (*)(DWORD action, NOTIFYICONDATAA* data);
BOOL ShellNotifyIcon(DWORD action, NOTIFYICONDATAA* data);

// The program's icon in the taskbar notification area: a tooltip, blinking
// while a reminder waits, a right-click menu whose commands go to the target
// window, and a left click that brings the target window back.
class CSystemTray {
  public:
    static constexpr UINT kIconId = 202;
    // The icon's mouse messages, sent to the target window: in the WM_APP
    // range, where no control or system message can be taken for them.
    static constexpr UINT kCallbackMessage = WM_APP + 10;
    // The blink timer's id on the hidden window, which has no other timer.
    static constexpr UINT_PTR kBlinkTimer = 1;

    explicit CSystemTray(NotifyIconCall notify = ShellNotifyIcon) : notify(notify) {}
    ~CSystemTray();
    CSystemTray(const CSystemTray&) = delete;
    CSystemTray& operator=(const CSystemTray&) = delete;

    // Adds the icon with the tooltip "OrvikCalendar". The target window gets
    // the callback message and the menu commands; without one, the hidden
    // window takes both. False when the shell refused the icon.
    bool Create(HINSTANCE instance, HWND target, HICON icon);
    // Icons 127 and 128, shown in turn while blinking.
    bool LoadAnimationIcons();
    bool Remove();
    // While the icon is not in the notification area these only remember
    // the change for the next add.
    bool SetIcon(HICON icon);
    HICON GetIcon() const;
    // Keeps the first 127 bytes, not cutting a UTF-8 character.
    bool SetTooltipText(const char* text);
    // A notification beside the icon (Windows 10 and 11 show it as a
    // notification) with the title, the text (cut at 255 bytes) and the
    // icon; a click on it comes as NIN_BALLOONUSERCLICK.
    bool ShowBalloon(const char* title, const std::string& text, HICON icon);

    // Blinks until StopAnimation; false when already blinking.
    bool StartAnimation();
    bool StopAnimation();

    // After the shell restarted, or when the first add was refused.
    bool AddIconAgain();

    // The callback message: a right click opens the About/Exit menu, a left
    // click brings the target window back or to the front and stops the
    // blinking. The caller handles whatever more a click means to it.
    LRESULT OnTrayNotification(WPARAM wParam, LPARAM lParam);

    // Hides the window into the notification area (minimise, or close when
    // it only hides) and brings it back as it was.
    void MinimiseToTray(HWND window);
    void MaximiseFromTray(HWND window);

  private:
    // Invisible; owns the blink timer, hears the shell's restart and, when
    // there is no target window, the callback message.
    class CHiddenWindow : public CWindowImpl<CHiddenWindow> {
      public:
        explicit CHiddenWindow(CSystemTray& tray) : tray(tray) {}
        void Create(HINSTANCE instance); // binds `window`
        bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

      private:
        CSystemTray& tray;
    };

    bool Notify(DWORD action);
    bool NextAnimationFrame();
    void OnAnimationTimer();
    void ShowMenu();

    NotifyIconCall notify;
    NOTIFYICONDATAA notifyData{}; // its window (borrowed) is the target window
    HINSTANCE instance = nullptr;
    bool enabled = false;              // from Create on; before, every icon operation does nothing
    bool hidden = true;                // not in the notification area: changes stay in notifyData
    bool removed = true;               // deleted or never added
    std::vector<HICON> animationIcons; // shared module icons: nothing to destroy
    UINT_PTR animationTimer = 0;
    size_t animationFrame = 0;
    HICON savedIcon = nullptr; // shown again when the blinking stops
    bool animating = false;
    WINDOWPLACEMENT savedPlacement{}; // length 0 until the window was first hidden
    CHiddenWindow hiddenWindow{*this};
};

// A module icon at the system's small-icon size (16 x 16 at 96 DPI), which
// the notification area shows at the system's DPI; shared, so nobody
// destroys it.
HICON LoadSmallIcon(HINSTANCE instance, int id);

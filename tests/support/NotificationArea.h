#pragma once

#include "shell/SystemTray.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

// A stand-in for the notification area, handed to a tray or a frame as
// Call(), while it lives, which keeps what the area shows as the shell does: icons by
// window and id, a second add of one refused, and so is a change or delete
// of one that is not there. While `running` is false it refuses every call,
// as when no shell runs.
class FakeNotificationArea {
  public:
    struct Icon {
        HWND window = nullptr; // gets the callback message
        UINT id = 0;
        UINT callbackMessage = 0;
        HICON icon = nullptr;
        std::string tip;
        // The last balloon shown over the icon.
        std::string balloonTitle, balloonText;
        HICON balloonIcon = nullptr; // only a user icon; null for the standard ones
    };

    FakeNotificationArea() { active = this; }
    ~FakeNotificationArea() { active = nullptr; }
    FakeNotificationArea(const FakeNotificationArea&) = delete;
    FakeNotificationArea& operator=(const FakeNotificationArea&) = delete;

    NotifyIconCall Call() const { return Notify; }
    const std::vector<Icon>& Icons() const { return icons; }
    std::vector<Icon>& Icons() { return icons; }
    // A shell that starts again shows no icon until the programs add theirs.
    void Restart() { icons.clear(); }

    bool running = true;

  private:
    static BOOL Notify(DWORD action, NOTIFYICONDATAA* data) {
        FakeNotificationArea& area = *active;
        if (!area.running)
            return FALSE;
        auto icon = std::find_if(area.icons.begin(), area.icons.end(), [data](const Icon& shown) {
            return shown.window == data->hWnd && shown.id == data->uID;
        });
        const bool there = icon != area.icons.end();
        switch (action) {
        case NIM_ADD:
            if (there)
                return FALSE;
            area.icons.emplace_back();
            area.icons.back().window = data->hWnd;
            area.icons.back().id = data->uID;
            Take(area.icons.back(), *data);
            return TRUE;
        case NIM_MODIFY:
            if (there)
                Take(*icon, *data);
            return there;
        case NIM_DELETE:
            if (there)
                area.icons.erase(icon);
            return there;
        default:
            return there;
        }
    }
    static void Take(Icon& icon, const NOTIFYICONDATAA& data) {
        if (data.uFlags & NIF_MESSAGE)
            icon.callbackMessage = data.uCallbackMessage;
        if (data.uFlags & NIF_ICON)
            icon.icon = data.hIcon;
        if (data.uFlags & NIF_TIP) // a tip that fills the field has no end: the shell stops there
            icon.tip.assign(data.szTip, strnlen(data.szTip, sizeof data.szTip));
        if (data.uFlags & NIF_INFO) {
            icon.balloonTitle = data.szInfoTitle;
            icon.balloonText = data.szInfo;
            icon.balloonIcon = (data.dwInfoFlags & NIIF_USER) ? data.hBalloonIcon : nullptr;
        }
    }

    static inline FakeNotificationArea* active = nullptr;
    std::vector<Icon> icons;
};

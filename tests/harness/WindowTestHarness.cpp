#include "tests/harness/WindowTestHarness.h"

#include "res/RegistryNames.h"

#include <algorithm>

namespace {

// The one answerer of this thread; hooks have no user pointer.
DialogAnswerer* activeAnswerer = nullptr;

// Posted to a dialog when it activates; seen again only once its modal loop
// takes messages, which is when the dialog is ready to be answered.
const WPARAM kAnswerCookie = 0x0A75E7;

std::string WindowText(HWND window) {
    char text[4096] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool IsDialog(HWND window) {
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    return lstrcmpA(className, "#32770") == 0;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM collected) {
    char className[32] = "";
    GetClassNameA(child, className, sizeof className);
    const std::string text = WindowText(child);
    auto& all = *reinterpret_cast<std::string*>(collected);
    if (lstrcmpiA(className, "Static") == 0 && !text.empty())
        all += (all.empty() ? "" : "\n") + text;
    return TRUE;
}

} // namespace

void PumpUntilIdle() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void ResetSettingsKey() {
    RegDeleteTreeA(HKEY_CURRENT_USER, ORVIK_SETTINGS_KEY);
}

DialogAnswerer::DialogAnswerer(std::vector<Action> queued) : actions(queued.begin(), queued.end()) {
    activeAnswerer = this;
    const DWORD thread = GetCurrentThreadId();
    cbtHook = SetWindowsHookExA(WH_CBT, OnCbt, nullptr, thread);
    getMessageHook = SetWindowsHookExA(WH_GETMESSAGE, OnGetMessage, nullptr, thread);
}

DialogAnswerer::~DialogAnswerer() {
    UnhookWindowsHookEx(getMessageHook);
    UnhookWindowsHookEx(cbtHook);
    activeAnswerer = nullptr;
}

DialogAnswerer::Action DialogAnswerer::Press(int buttonId) {
    return [buttonId](HWND dialog) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, buttonId)));
    };
}

LRESULT CALLBACK DialogAnswerer::OnCbt(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (activeAnswerer && code == HCBT_ACTIVATE && IsDialog(window)) {
        auto& answered = activeAnswerer->answered;
        if (std::find(answered.begin(), answered.end(), window) == answered.end()) {
            answered.push_back(window);
            PostMessageA(window, WM_NULL, kAnswerCookie, 0);
        }
    }
    if (activeAnswerer && code == HCBT_DESTROYWND) {
        auto& answered = activeAnswerer->answered;
        answered.erase(std::remove(answered.begin(), answered.end(), window), answered.end());
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK DialogAnswerer::OnGetMessage(int code, WPARAM wParam, LPARAM lParam) {
    MSG* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && activeAnswerer && message->message == WM_NULL &&
        message->wParam == kAnswerCookie) {
        DialogAnswerer& self = *activeAnswerer;
        SeenDialog dialog{WindowText(message->hwnd), ""};
        EnumChildWindows(message->hwnd, CollectStaticText, reinterpret_cast<LPARAM>(&dialog.text));
        self.seen.push_back(dialog);
        Action action = Press(IDCANCEL);
        if (!self.actions.empty()) {
            action = self.actions.front();
            self.actions.pop_front();
        }
        action(message->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

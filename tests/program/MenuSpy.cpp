// Loaded into the program by a hook of the whole-program tests: sends the
// texts of every popup menu the program opens to the test's receiving window,
// since a menu's items cannot be read from another process.
#include <windows.h>

#include <string>

namespace {

void SendItemTexts(HMENU menu) {
    HWND receiver = FindWindowA("OrvikMenuSpyReceiver", nullptr);
    if (!receiver)
        return;
    std::string texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[256] = "";
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        texts += text;
        texts += '\n';
    }
    COPYDATASTRUCT data{};
    data.cbData = static_cast<DWORD>(texts.size());
    data.lpData = texts.data();
    SendMessageA(receiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    MenuSpyHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITMENUPOPUP)
        SendItemTexts(reinterpret_cast<HMENU>(call->wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

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
    const bool picture = (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    if (lstrcmpiA(className, "Static") == 0 && !picture && !text.empty())
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

namespace {
std::string SettingsPath(const char* subkey) {
    std::string path = ORVIK_SETTINGS_KEY;
    return subkey ? path + "\\" + subkey : path;
}
} // namespace

DWORD StoredValue::Number() const {
    DWORD number = 0;
    if (bytes.size() == sizeof number)
        CopyMemory(&number, bytes.data(), sizeof number);
    return number;
}

void StoreSettingsValue(const char* name, DWORD type, const void* data, DWORD size,
                        const char* subkey) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, SettingsPath(subkey).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void StoreSettingsDWord(const char* name, DWORD value, const char* subkey) {
    StoreSettingsValue(name, REG_DWORD, &value, sizeof value, subkey);
}

void StoreSettingsText(const char* name, const std::string& text, const char* subkey) {
    StoreSettingsValue(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1), subkey);
}

bool ReadStoredValue(const char* name, StoredValue& value, const char* subkey) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsPath(subkey).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    bool found = RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS;
    value.bytes.assign(size, 0);
    found = found && RegQueryValueExA(key, name, nullptr, &value.type, value.bytes.data(), &size) ==
                         ERROR_SUCCESS;
    RegCloseKey(key);
    return found;
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

DialogAnswerer::Action DialogAnswerer::PressKey(WPARAM virtualKey) {
    return [virtualKey](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, virtualKey, 0); };
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

bool SaveScreenshot(const std::string& path) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, previous);

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<BYTE> pixels(rowBytes * static_cast<DWORD>(height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) &&
              WriteFile(out, &header, sizeof header, &written, nullptr) &&
              WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    CloseHandle(out);
    return ok;
}

#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>

// What a screen reader hears of a window: the name, value, role and state of
// its object, asked as a reader asks (from this process or another one).
// COM must be initialised.
struct Heard {
    std::string name, value;
    long role = 0;
    long state = 0;
};

inline std::string Narrow(BSTR text) {
    if (!text)
        return std::string();
    std::string utf8(
        static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr)),
        '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], static_cast<int>(utf8.size()), nullptr,
                        nullptr);
    SysFreeString(text);
    utf8.resize(utf8.size() - 1);
    return utf8;
}

// The object that id stands for: the client area (OBJID_CLIENT) or one of
// the program's own.
inline Heard HeardOf(HWND window, LONG object = OBJID_CLIENT) {
    Heard heard;
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(object),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&accessible))))
        return heard;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    if (accessible->get_accName(self, &text) == S_OK)
        heard.name = Narrow(text);
    text = nullptr;
    if (accessible->get_accValue(self, &text) == S_OK)
        heard.value = Narrow(text);
    VARIANT answer{};
    if (SUCCEEDED(accessible->get_accRole(self, &answer)) && answer.vt == VT_I4)
        heard.role = answer.lVal;
    if (SUCCEEDED(accessible->get_accState(self, &answer)) && answer.vt == VT_I4)
        heard.state = answer.lVal;
    accessible->Release();
    return heard;
}

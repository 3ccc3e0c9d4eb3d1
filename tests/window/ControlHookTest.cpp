#include "framework/ControlHook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// Notes every message it gets, answers WM_APP itself and passes the rest on.
LRESULT NotingHook(HWND control, UINT message, WPARAM wParam, LPARAM lParam, void* data) {
    static_cast<std::vector<UINT>*>(data)->push_back(message);
    if (message == WM_APP)
        return 42;
    return CallControlProcedure(control, message, wParam, lParam);
}

HWND MakeCheckBox() {
    return CreateWindowExW(0, L"BUTTON", L"", WS_POPUP | BS_AUTOCHECKBOX, 0, 0, 40, 20, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

bool Saw(const std::vector<UINT>& messages, UINT message) {
    return std::find(messages.begin(), messages.end(), message) != messages.end();
}

TEST(ControlHook, EachControlsHookComesFirstAndHearsItsEnd) {
    HWND first = MakeCheckBox(), second = MakeCheckBox();
    std::vector<UINT> toFirst, toSecond;
    HookControl(first, NotingHook, &toFirst);
    HookControl(second, NotingHook, &toSecond);

    EXPECT_EQ(SendMessageW(first, WM_APP, 0, 0), 42);
    EXPECT_FALSE(Saw(toSecond, WM_APP));
    // The rest reaches the control's own procedure: only a button keeps a check.
    SendMessageW(first, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageW(first, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(Saw(toFirst, BM_GETCHECK));

    DestroyWindow(first);
    EXPECT_EQ(toFirst.back(), static_cast<UINT>(WM_NCDESTROY));
    EXPECT_EQ(SendMessageW(second, WM_APP, 0, 0), 42) << "the other control keeps its hook";
    DestroyWindow(second);
    ASSERT_FALSE(toSecond.empty());
    EXPECT_EQ(toSecond.back(), static_cast<UINT>(WM_NCDESTROY));
}

} // namespace

#include "framework/ControlHook.h"

#include <unordered_map>

namespace {

struct HookedControl {
    WNDPROC procedure; // the control's own
    ControlHook hook;
    void* data;
};

// Only the window's thread makes and hooks controls.
std::unordered_map<HWND, HookedControl>& HookedControls() {
    static std::unordered_map<HWND, HookedControl> controls;
    return controls;
}

LRESULT CALLBACK HookedProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto found = HookedControls().find(control);
    if (found == HookedControls().end())
        return DefWindowProcW(control, message, wParam, lParam);
    // A copy: the hook may hook other controls, which moves the entries.
    const HookedControl hooked = found->second;
    const LRESULT result = hooked.hook(control, message, wParam, lParam, hooked.data);
    if (message == WM_NCDESTROY)
        HookedControls().erase(control);
    return result;
}

} // namespace

void HookControl(HWND control, ControlHook hook, void* data) {
    // The Unicode procedure, so that the control's texts pass unconverted.
    const auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC));
    HookedControls()[control] = HookedControl{procedure, hook, data};
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HookedProcedure));
}

LRESULT CallControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto found = HookedControls().find(control);
    if (found == HookedControls().end())
        return DefWindowProcW(control, message, wParam, lParam);
    return CallWindowProcW(found->second.procedure, control, message, wParam, lParam);
}

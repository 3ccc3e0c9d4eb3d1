#pragma once

#include <windows.h>

#include <commctrl.h>

#include <utility>

// Owners of the handles the program creates: each frees its handle when it
// goes, and none can be copied, so a handle is freed once.

// Owns one handle and frees it with Free when it goes; move-only.
//   struct DeleteBrush { void operator()(HBRUSH brush) const { DeleteObject(brush); } };
//   OwnedHandle<HBRUSH, DeleteBrush> brush(CreateSolidBrush(colour));
template <class Handle, class Free> class OwnedHandle {
  public:
    OwnedHandle() = default;
    explicit OwnedHandle(Handle handle) : handle(handle) {}
    ~OwnedHandle() { Reset(); }
    OwnedHandle(OwnedHandle&& other) noexcept : handle(std::exchange(other.handle, nullptr)) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle = std::exchange(other.handle, nullptr);
        }
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    Handle Get() const { return handle; }
    explicit operator bool() const { return handle != nullptr; }
    void Reset(Handle replacement = nullptr) {
        if (handle)
            Free()(handle);
        handle = replacement;
    }

  private:
    Handle handle = nullptr;
};

struct DestroyAccelerators {
    void operator()(HACCEL table) const { DestroyAcceleratorTable(table); }
};
using OwnedAccelerators = OwnedHandle<HACCEL, DestroyAccelerators>;

struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using OwnedBrush = OwnedHandle<HBRUSH, DeleteGdiObject>;
using OwnedFont = OwnedHandle<HFONT, DeleteGdiObject>;

struct DestroyImageList {
    void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};
using OwnedImageList = OwnedHandle<HIMAGELIST, DestroyImageList>;

struct DestroyMenuHandle {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using OwnedMenu = OwnedHandle<HMENU, DestroyMenuHandle>;

struct Unhook {
    void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
};
using OwnedHook = OwnedHandle<HHOOK, Unhook>;

// A window's device context while it lives.
class WindowDC {
  public:
    explicit WindowDC(HWND window) : window(window), dc(GetDC(window)) {}
    ~WindowDC() { ReleaseDC(window, dc); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc; }

  private:
    HWND window;
    HDC dc;
};

// An object selected into a device context while it lives; the one it
// replaced comes back after.
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc(dc), previous(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc, previous); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

  private:
    HDC dc;
    HGDIOBJ previous;
};

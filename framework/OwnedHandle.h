#pragma once

#include "core/Owned.h"

#include <windows.h>

#include <commctrl.h>

// The kinds of handle the program creates, each with its owner (see Owned).

// A kind whose "none" is null.
template <class HandleType> struct NullIsNone {
    using Handle = HandleType;
    static Handle None() { return nullptr; }
};

struct AcceleratorTable : NullIsNone<HACCEL> {
    static void Free(HACCEL table) { DestroyAcceleratorTable(table); }
};
template <class Object> struct GdiObject : NullIsNone<Object> {
    static void Free(Object object) { DeleteObject(object); }
};
struct ImageList : NullIsNone<HIMAGELIST> {
    static void Free(HIMAGELIST list) { ImageList_Destroy(list); }
};
struct Menu : NullIsNone<HMENU> {
    static void Free(HMENU menu) { DestroyMenu(menu); }
};
struct Hook : NullIsNone<HHOOK> {
    static void Free(HHOOK hook) { UnhookWindowsHookEx(hook); }
};
// Mutexes, processes, threads, events.
struct KernelObject : NullIsNone<HANDLE> {
    static void Free(HANDLE object) { CloseHandle(object); }
};
// Files and searches say "none" with INVALID_HANDLE_VALUE.
struct File {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static void Free(HANDLE file) { CloseHandle(file); }
};
struct FileSearch {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static void Free(HANDLE search) { FindClose(search); }
};

using OwnedAccelerators = Owned<AcceleratorTable>;
using OwnedBrush = Owned<GdiObject<HBRUSH>>;
using OwnedFont = Owned<GdiObject<HFONT>>;
using OwnedImageList = Owned<ImageList>;
using OwnedMenu = Owned<Menu>;
using OwnedHook = Owned<Hook>;
using OwnedKernelObject = Owned<KernelObject>;
using OwnedFile = Owned<File>;
using OwnedSearch = Owned<FileSearch>;

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

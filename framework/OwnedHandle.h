#pragma once

#include <windows.h>

#include <utility>

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

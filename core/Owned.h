#pragma once

#include <utility>

// Owns one handle of a kind and frees it when it goes; move-only, so a
// handle is freed once. A kind names the handle's type, the value that
// means "none" (null for most; INVALID_HANDLE_VALUE for files and searches)
// and how to free one:
//   struct FindSearch {
//       using Handle = HANDLE;
//       static Handle None() { return INVALID_HANDLE_VALUE; }
//       static void Free(Handle search) { FindClose(search); }
//   };
//   Owned<FindSearch> search(FindFirstFileA(pattern, &found));
template <class Kind> class Owned {
  public:
    using Handle = typename Kind::Handle;

    Owned() = default;
    explicit Owned(Handle handle) : handle(handle) {}
    ~Owned() { Reset(); }
    Owned(Owned&& other) noexcept : handle(other.Release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle Get() const { return handle; }
    explicit operator bool() const { return handle != Kind::None(); }
    // Frees the handle held, if any, and holds the replacement.
    void Reset(Handle replacement = Kind::None()) {
        if (handle != Kind::None())
            Kind::Free(handle);
        handle = replacement;
    }
    // Gives the handle up without freeing it.
    Handle Release() { return std::exchange(handle, Kind::None()); }

  private:
    Handle handle = Kind::None();
};

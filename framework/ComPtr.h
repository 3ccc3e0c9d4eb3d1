#pragma once

#include <windows.h>

#include <oleauto.h>

#include <utility>

// Owns one reference to a COM object; move-only.
template <class T> class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(ComPtr&& other) noexcept : pointer(std::exchange(other.pointer, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            pointer = std::exchange(other.pointer, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* operator->() const { return pointer; }
    T* Get() const { return pointer; }
    explicit operator bool() const { return pointer != nullptr; }
    // For a function that hands out a new reference; drops the old one.
    T** Receive() {
        Reset();
        return &pointer;
    }
    void Reset() {
        if (pointer)
            pointer->Release();
        pointer = nullptr;
    }

  private:
    T* pointer = nullptr;
};

// Owns a BSTR; move-only.
class ComString {
  public:
    ComString() = default;
    explicit ComString(const wchar_t* text) : text(SysAllocString(text)) {}
    ~ComString() { SysFreeString(text); }
    ComString(ComString&& other) noexcept : text(std::exchange(other.text, nullptr)) {}
    ComString& operator=(ComString&&) = delete;
    ComString(const ComString&) = delete;
    ComString& operator=(const ComString&) = delete;

    BSTR Get() const { return text; }
    BSTR* Receive() {
        SysFreeString(text);
        text = nullptr;
        return &text;
    }

  private:
    BSTR text = nullptr;
};

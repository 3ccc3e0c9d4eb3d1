#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// One pass over the settings key: opened, read or written, closed.
class CRegistry {
  public:
    CRegistry() = default;
    ~CRegistry() { Close(); }
    CRegistry(const CRegistry&) = delete;
    CRegistry& operator=(const CRegistry&) = delete;

    // Opens the existing key; never creates it.
    bool Open();
    void Close();

    // False when the value is missing or not REG_SZ; `text` is then unchanged.
    bool ReadXSLTemplate(std::string& text);
    bool WriteXSLTemplate(const std::string& text);
    // False when missing, not REG_DWORD or longer than 4 bytes.
    bool ReadDWord(const char* name, std::int32_t& value);
    bool WriteDWord(const char* name, std::int32_t value);
    // Applies a stored 44-byte placement to the window; false when there is
    // none, it is not REG_BINARY, or it is not exactly 44 bytes long.
    bool ReadWindowPlacement(HWND window);
    bool WriteWindowPlacement(HWND window);

  private:
    HKEY key = HKEY_CURRENT_USER; // owned once Open succeeded
    std::string keyPath;
};

#pragma once

#include "core/Owned.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

// A registry key's handle, for its owner Owned<RegistryKey>.
struct RegistryKey {
    using Handle = HKEY;
    static Handle None() { return nullptr; }
    static void Free(HKEY key) { RegCloseKey(key); }
};

// One pass over the settings key, or one of its subkeys: opened, read or
// written, closed.
class CRegistry {
  public:
    CRegistry() = default;

    // Opens the existing key (or its subkey); never creates it.
    bool Open(const char* subkey = nullptr);
    // Opens the key (or its subkey), creating what is missing.
    bool Create(const char* subkey = nullptr);
    void Close();

    // False when the value is missing or not REG_SZ; `text` is then unchanged.
    bool ReadText(const char* name, std::string& text);
    bool WriteText(const char* name, const std::string& text);
    // False when missing, not REG_DWORD or longer than 4 bytes.
    bool ReadDWord(const char* name, std::int32_t& value);
    bool WriteDWord(const char* name, std::int32_t value);
    bool DeleteValue(const char* name);
    // A value as stored, of at most maxBytes; false when missing or longer.
    bool ReadRaw(const char* name, DWORD& type, std::string& bytes, DWORD maxBytes);
    // A stored 44-byte placement; nothing when there is none, it is not
    // REG_BINARY, or it is not exactly 44 bytes long.
    std::optional<WINDOWPLACEMENT> ReadWindowPlacement();
    bool WriteWindowPlacement(const WINDOWPLACEMENT& placement);

  private:
    bool OpenKey(const char* subkey, bool create);

    Owned<RegistryKey> key; // while open
};

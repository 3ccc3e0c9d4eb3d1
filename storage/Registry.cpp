#include "storage/Registry.h"

#include "res/RegistryNames.h"

#include <vector>

namespace {
const DWORD kPlacementSize = 44;
}

bool CRegistry::Open(const char* subkey) {
    return OpenKey(subkey, false);
}

bool CRegistry::Create(const char* subkey) {
    return OpenKey(subkey, true);
}

bool CRegistry::OpenKey(const char* subkey, bool create) {
    Close();
    std::string path = ORVIK_SETTINGS_KEY;
    if (subkey)
        path = path + "\\" + subkey;
    HKEY opened = nullptr;
    const LSTATUS status =
        create ? RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                 nullptr, &opened, nullptr)
               : RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &opened);
    key.Reset(status == ERROR_SUCCESS ? opened : nullptr);
    return static_cast<bool>(key);
}

void CRegistry::Close() {
    key.Reset();
}

bool CRegistry::ReadText(const char* name, std::string& text) {
    DWORD type = 0xFFFFFFFF, size = 0xFFFFFFFF;
    if (!key ||
        RegQueryValueExA(key.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    std::vector<char> buffer(size + 1, '\0');
    if (RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) == ERROR_SUCCESS &&
        type == REG_SZ)
        text = buffer.data(); // up to the first zero byte
    return true;
}

bool CRegistry::WriteText(const char* name, const std::string& text) {
    return key &&
           RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool CRegistry::ReadDWord(const char* name, std::int32_t& value) {
    DWORD type = 0xFFFFFFFF, size = sizeof(DWORD), data = 0;
    if (!key ||
        RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(DWORD))
        return false;
    value = static_cast<std::int32_t>(data);
    return true;
}

bool CRegistry::WriteDWord(const char* name, std::int32_t value) {
    const DWORD data = static_cast<DWORD>(value);
    return key &&
           RegSetValueExA(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof data) == ERROR_SUCCESS;
}

bool CRegistry::DeleteValue(const char* name) {
    return key && RegDeleteValueA(key.Get(), name) == ERROR_SUCCESS;
}

bool CRegistry::ReadRaw(const char* name, DWORD& type, std::string& bytes, DWORD maxBytes) {
    std::string read(maxBytes, '\0');
    DWORD size = maxBytes;
    if (!key || RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&read[0]),
                                 &size) != ERROR_SUCCESS)
        return false;
    read.resize(size);
    bytes.swap(read);
    return true;
}

std::optional<WINDOWPLACEMENT> CRegistry::ReadWindowPlacement() {
    WINDOWPLACEMENT placement{};
    static_assert(sizeof placement == kPlacementSize, "the stored record is 44 bytes");
    DWORD type = 0xFFFFFFFF, size = kPlacementSize;
    // A shorter value would leave part of the record undefined: rejected too.
    if (!key ||
        RegQueryValueExA(key.Get(), ORVIK_VALUE_WINDOW_PLACEMENT, nullptr, &type,
                         reinterpret_cast<BYTE*>(&placement), &size) != ERROR_SUCCESS ||
        type != REG_BINARY || size != kPlacementSize)
        return std::nullopt;
    return placement;
}

bool CRegistry::WriteWindowPlacement(const WINDOWPLACEMENT& placement) {
    return key && RegSetValueExA(key.Get(), ORVIK_VALUE_WINDOW_PLACEMENT, 0, REG_BINARY,
                                 reinterpret_cast<const BYTE*>(&placement),
                                 kPlacementSize) == ERROR_SUCCESS;
}

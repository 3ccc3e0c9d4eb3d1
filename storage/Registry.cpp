#include "storage/Registry.h"

#include "res/RegistryNames.h"

#include <vector>

namespace {
const DWORD kPlacementSize = 44;
}

bool CRegistry::Open() {
    keyPath = ORVIK_SETTINGS_KEY;
    HKEY opened = nullptr;
    const bool ok = RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_ALL_ACCESS, &opened) ==
                    ERROR_SUCCESS;
    key = ok ? opened : nullptr;
    return ok;
}

void CRegistry::Close() {
    if (key && key != HKEY_CURRENT_USER)
        RegCloseKey(key);
    key = nullptr;
}

bool CRegistry::ReadXSLTemplate(std::string& text) {
    DWORD type = 0xFFFFFFFF, size = 0xFFFFFFFF;
    if (!key ||
        RegQueryValueExA(key, ORVIK_VALUE_XSL_TEMPLATE, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    std::vector<char> buffer(size + 1, '\0');
    if (RegQueryValueExA(key, ORVIK_VALUE_XSL_TEMPLATE, nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) == ERROR_SUCCESS &&
        type == REG_SZ)
        text = buffer.data(); // up to the first zero byte
    return true;
}

bool CRegistry::WriteXSLTemplate(const std::string& text) {
    return key && RegSetValueExA(key, ORVIK_VALUE_XSL_TEMPLATE, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool CRegistry::ReadDWord(const char* name, std::int32_t& value) {
    DWORD type = 0xFFFFFFFF, size = sizeof(DWORD), data = 0;
    if (!key ||
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(DWORD))
        return false;
    value = static_cast<std::int32_t>(data);
    return true;
}

bool CRegistry::WriteDWord(const char* name, std::int32_t value) {
    const DWORD data = static_cast<DWORD>(value);
    return key && RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                                 sizeof data) == ERROR_SUCCESS;
}

bool CRegistry::ReadWindowPlacement(HWND window) {
    WINDOWPLACEMENT placement{};
    static_assert(sizeof placement == kPlacementSize, "the stored record is 44 bytes");
    DWORD type = 0xFFFFFFFF, size = kPlacementSize;
    // A shorter value would leave part of the record undefined: rejected too.
    if (!key ||
        RegQueryValueExA(key, ORVIK_VALUE_WINDOW_PLACEMENT, nullptr, &type,
                         reinterpret_cast<BYTE*>(&placement), &size) != ERROR_SUCCESS ||
        type != REG_BINARY || size != kPlacementSize)
        return false;
    SetWindowPlacement(window, &placement);
    return true;
}

bool CRegistry::WriteWindowPlacement(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = kPlacementSize;
    if (!key || !GetWindowPlacement(window, &placement))
        return false;
    return RegSetValueExA(key, ORVIK_VALUE_WINDOW_PLACEMENT, 0, REG_BINARY,
                          reinterpret_cast<const BYTE*>(&placement),
                          placement.length) == ERROR_SUCCESS;
}

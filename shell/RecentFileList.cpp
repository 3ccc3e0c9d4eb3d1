#include "shell/RecentFileList.h"

#include "res/RegistryNames.h"

#include <windows.h>

#include <cstdio>

namespace {

const int kLowestMaximum = 2;
const int kHighestMaximum = 16;
const DWORD kPathBytes = 260;

// Closes a registry key it owns when it goes.
class KeyHandle {
  public:
    KeyHandle() = default;
    ~KeyHandle() {
        if (key)
            RegCloseKey(key);
    }
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;
    HKEY* Receive() { return &key; }
    HKEY Get() const { return key; }

  private:
    HKEY key = nullptr;
};

std::string DocumentValueName(int number) {
    char name[32];
    std::snprintf(name, sizeof name, ORVIK_VALUE_DOCUMENT_FORMAT, number);
    return name;
}

} // namespace

bool RecentFileList::ReadFromRegistry() {
    KeyHandle settingsKey, listKey;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ORVIK_SETTINGS_KEY, 0, KEY_READ | KEY_WRITE,
                      settingsKey.Receive()) != ERROR_SUCCESS ||
        RegOpenKeyExA(settingsKey.Get(), ORVIK_RECENT_SUBKEY, 0, KEY_READ | KEY_WRITE,
                      listKey.Receive()) != ERROR_SUCCESS)
        return false;

    DWORD type = 0, size = sizeof(DWORD), count = 0;
    if (RegQueryValueExA(listKey.Get(), ORVIK_VALUE_DOCUMENT_COUNT, nullptr, &type,
                         reinterpret_cast<BYTE*>(&count), &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return false;
    const int stored = static_cast<int>(count);
    maximum = stored < kLowestMaximum ? kLowestMaximum
                                      : (stored > kHighestMaximum ? kHighestMaximum : stored);

    // Document1 is the most recent; unusable values are skipped.
    entries.clear();
    for (int number = 1; number <= maximum; ++number) {
        char path[kPathBytes];
        DWORD pathSize = kPathBytes;
        if (RegQueryValueExA(listKey.Get(), DocumentValueName(number).c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(path), &pathSize) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ) ||
            (pathSize > 0 && path[pathSize - 1] != '\0'))
            continue;
        entries.emplace_back(path, pathSize > 0 ? pathSize - 1 : 0);
    }
    return true;
}

bool RecentFileList::WriteToRegistry() const {
    KeyHandle settingsKey, listKey;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, ORVIK_SETTINGS_KEY, 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, settingsKey.Receive(), nullptr) != ERROR_SUCCESS ||
        RegCreateKeyExA(settingsKey.Get(), ORVIK_RECENT_SUBKEY, 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, listKey.Receive(), nullptr) != ERROR_SUCCESS)
        return false;

    const DWORD count = static_cast<DWORD>(maximum);
    RegSetValueExA(listKey.Get(), ORVIK_VALUE_DOCUMENT_COUNT, 0, REG_DWORD,
                   reinterpret_cast<const BYTE*>(&count), sizeof count);
    const int stored = static_cast<int>(entries.size());
    for (int number = stored; number >= 1; --number) {
        const std::string& path = entries[static_cast<std::size_t>(number - 1)];
        RegSetValueExA(listKey.Get(), DocumentValueName(number).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>(path.size() + 1));
    }
    for (int number = stored + 1; number <= kHighestMaximum; ++number)
        RegDeleteValueA(listKey.Get(), DocumentValueName(number).c_str());
    return true;
}

#include "bench/program/BenchSettings.h"

#include "res/RegistryNames.h"

#include <windows.h>

namespace {

// Where the user's settings wait while the benchmark runs. A benchmark that
// was stopped half-way leaves them there, and the next run puts them back.
const char kAsideKey[] = ORVIK_SETTINGS_KEY " (kept aside by the benchmark)";
const char kAsideSubkey[] = "Settings";

bool KeyExists(HKEY parent, const char* name) {
    HKEY key;
    if (RegOpenKeyExA(parent, name, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Copies the tree under `from` to a new key `to`; nothing when `from` is absent.
void CopyKey(const char* from, const char* to) {
    HKEY source, target;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, from, 0, KEY_READ, &source) != ERROR_SUCCESS)
        return;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target,
                        nullptr) == ERROR_SUCCESS) {
        RegCopyTreeA(source, nullptr, target);
        RegCloseKey(target);
    }
    RegCloseKey(source);
}

std::string AsideSettings() {
    return std::string(kAsideKey) + "\\" + kAsideSubkey;
}

} // namespace

BenchSettings::BenchSettings() {
    if (KeyExists(HKEY_CURRENT_USER, kAsideKey))
        return;
    HKEY aside;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kAsideKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &aside, nullptr) == ERROR_SUCCESS)
        RegCloseKey(aside);
    CopyKey(ORVIK_SETTINGS_KEY, AsideSettings().c_str());
}

BenchSettings::~BenchSettings() {
    RegDeleteTreeA(HKEY_CURRENT_USER, ORVIK_SETTINGS_KEY);
    CopyKey(AsideSettings().c_str(), ORVIK_SETTINGS_KEY);
    RegDeleteTreeA(HKEY_CURRENT_USER, kAsideKey);
}

bool BenchSettings::PrepareStart(const std::string& diary) {
    RegDeleteTreeA(HKEY_CURRENT_USER, ORVIK_SETTINGS_KEY);
    HKEY list;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, ORVIK_SETTINGS_KEY "\\" ORVIK_RECENT_SUBKEY, 0, nullptr,
                        0, KEY_ALL_ACCESS, nullptr, &list, nullptr) != ERROR_SUCCESS)
        return false;
    const DWORD count = 1;
    char firstDocument[32];
    wsprintfA(firstDocument, ORVIK_VALUE_DOCUMENT_FORMAT, 1);
    const bool written =
        RegSetValueExA(list, ORVIK_VALUE_DOCUMENT_COUNT, 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&count), sizeof count) == ERROR_SUCCESS &&
        RegSetValueExA(list, firstDocument, 0, REG_SZ, reinterpret_cast<const BYTE*>(diary.c_str()),
                       static_cast<DWORD>(diary.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(list);
    return written;
}

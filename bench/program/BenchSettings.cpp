#include "bench/program/BenchSettings.h"

#include "res/RegistryNames.h"
#include "storage/Registry.h"

#include <windows.h>

namespace {

// Where the user's settings wait while the benchmark runs. A benchmark that
// was stopped half-way leaves them there, and the next run puts them back.
const char kAsideKey[] = ORVIK_SETTINGS_KEY " (kept aside by the benchmark)";
const char kAsideSubkey[] = "Settings";

using OwnedKey = Owned<RegistryKey>;

OwnedKey OpenKey(const char* name) {
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, name, 0, KEY_READ, &key);
    return OwnedKey(key);
}

OwnedKey CreateKey(const char* name) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return OwnedKey(key);
}

// Copies the tree under `from` to a new key `to`; nothing when `from` is absent.
void CopyKey(const char* from, const char* to) {
    const OwnedKey source = OpenKey(from);
    if (!source)
        return;
    if (const OwnedKey target = CreateKey(to))
        RegCopyTreeA(source.Get(), nullptr, target.Get());
}

std::string AsideSettings() {
    return std::string(kAsideKey) + "\\" + kAsideSubkey;
}

} // namespace

BenchSettings::BenchSettings() {
    if (OpenKey(kAsideKey))
        return;
    CreateKey(kAsideKey);
    CopyKey(ORVIK_SETTINGS_KEY, AsideSettings().c_str());
}

BenchSettings::~BenchSettings() {
    RegDeleteTreeA(HKEY_CURRENT_USER, ORVIK_SETTINGS_KEY);
    CopyKey(AsideSettings().c_str(), ORVIK_SETTINGS_KEY);
    RegDeleteTreeA(HKEY_CURRENT_USER, kAsideKey);
}

bool BenchSettings::PrepareStart(const std::string& diary) {
    RegDeleteTreeA(HKEY_CURRENT_USER, ORVIK_SETTINGS_KEY);
    const OwnedKey list = CreateKey(ORVIK_SETTINGS_KEY "\\" ORVIK_RECENT_SUBKEY);
    if (!list)
        return false;
    const DWORD count = 1;
    char firstDocument[32];
    wsprintfA(firstDocument, ORVIK_VALUE_DOCUMENT_FORMAT, 1);
    const bool written =
        RegSetValueExA(list.Get(), ORVIK_VALUE_DOCUMENT_COUNT, 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&count), sizeof count) == ERROR_SUCCESS &&
        RegSetValueExA(list.Get(), firstDocument, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(diary.c_str()),
                       static_cast<DWORD>(diary.size() + 1)) == ERROR_SUCCESS;
    return written;
}

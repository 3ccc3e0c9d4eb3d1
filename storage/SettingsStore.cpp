#include "storage/SettingsStore.h"

#include "res/RegistryNames.h"
#include "storage/SettingsTable.h"

#include <cstdio>

namespace {

const int kLowestMaximum = 2;
const int kHighestMaximum = 16;
const DWORD kPathBytes = 260;

std::string DocumentValueName(int number) {
    char name[32];
    std::snprintf(name, sizeof name, ORVIK_VALUE_DOCUMENT_FORMAT, number);
    return name;
}

} // namespace

void ReadSettings(CRegistry& registry, AppSettings& settings) {
    // A setting that cannot be read takes its default.
    const AppSettings defaults;
    for (const Setting& setting : kSettings) {
        if (setting.type == SettingType::Text) {
            if (!registry.ReadText(setting.name, settings.*setting.text))
                settings.*setting.text = defaults.*setting.text;
        } else if (!registry.ReadDWord(setting.name, settings.*setting.number)) {
            settings.*setting.number = defaults.*setting.number;
        }
    }
}

void WriteSettings(CRegistry& registry, const AppSettings& settings) {
    for (const Setting& setting : kSettings) {
        if (setting.type == SettingType::Text)
            registry.WriteText(setting.name, settings.*setting.text);
        else
            registry.WriteDWord(setting.name, settings.*setting.number);
    }
}

std::optional<StoredRecentFiles> ReadRecentFiles() {
    CRegistry list;
    std::int32_t count = 0;
    if (!list.Open(ORVIK_RECENT_SUBKEY) || !list.ReadDWord(ORVIK_VALUE_DOCUMENT_COUNT, count))
        return std::nullopt;
    StoredRecentFiles recent;
    recent.maximum = count < kLowestMaximum ? kLowestMaximum
                                            : (count > kHighestMaximum ? kHighestMaximum : count);
    // Document1 is the most recent.
    for (int number = 1; number <= recent.maximum; ++number) {
        DWORD type = 0;
        std::string path;
        if (!list.ReadRaw(DocumentValueName(number).c_str(), type, path, kPathBytes) ||
            (type != REG_SZ && type != REG_EXPAND_SZ) || (!path.empty() && path.back() != '\0'))
            continue;
        if (!path.empty())
            path.pop_back();
        recent.paths.push_back(path);
    }
    return recent;
}

bool WriteRecentFiles(const StoredRecentFiles& recent) {
    CRegistry list;
    if (!list.Create(ORVIK_RECENT_SUBKEY))
        return false;
    list.WriteDWord(ORVIK_VALUE_DOCUMENT_COUNT, recent.maximum);
    const int stored = static_cast<int>(recent.paths.size());
    for (int number = stored; number >= 1; --number)
        list.WriteText(DocumentValueName(number).c_str(),
                       recent.paths[static_cast<std::size_t>(number - 1)]);
    for (int number = stored + 1; number <= kHighestMaximum; ++number)
        list.DeleteValue(DocumentValueName(number).c_str());
    return true;
}

void WriteAtClose(const StoredRecentFiles& recent, const WINDOWPLACEMENT* placement,
                  const AppSettings& settings) {
    WriteRecentFiles(recent);
    CRegistry registry;
    registry.Open();
    if (placement)
        registry.WriteWindowPlacement(*placement);
    WriteSettings(registry, settings);
}

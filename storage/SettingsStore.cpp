#include "storage/SettingsStore.h"

#include "storage/SettingsTable.h"

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

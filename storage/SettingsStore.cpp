#include "storage/SettingsStore.h"

namespace {
void ReadDWordOrZero(CRegistry& registry, const char* name, std::int32_t& field) {
    if (!registry.ReadDWord(name, field))
        field = 0;
}
} // namespace

void ReadSettings(CRegistry& registry, AppSettings& settings) {
    if (!registry.ReadXSLTemplate(settings.XSLTemplate))
        settings.XSLTemplate = ORVIK_DEFAULT_XSL_TEMPLATE;
    ReadDWordOrZero(registry, ORVIK_VALUE_MINIMIZE_ON_CLOSE, settings.MinimizeOnClose);
    ReadDWordOrZero(registry, ORVIK_VALUE_SUNDAY_FIRST, settings.SundayFirst);
    ReadDWordOrZero(registry, ORVIK_VALUE_REMIND_DAYS, settings.RemindDays);
    ReadDWordOrZero(registry, ORVIK_VALUE_REMIND_HOURS, settings.RemindHours);
    ReadDWordOrZero(registry, ORVIK_VALUE_REMIND_MINUTES, settings.RemindMinutes);
    ReadDWordOrZero(registry, ORVIK_VALUE_USE_REMINDER, settings.UseReminder);
    ReadDWordOrZero(registry, ORVIK_VALUE_ALLOW_MULTIPLE_INSTANCES,
                    settings.AllowMultipleInstances);
}

void WriteSettings(CRegistry& registry, const AppSettings& settings) {
    registry.WriteXSLTemplate(settings.XSLTemplate);
    registry.WriteDWord(ORVIK_VALUE_MINIMIZE_ON_CLOSE, settings.MinimizeOnClose);
    registry.WriteDWord(ORVIK_VALUE_SUNDAY_FIRST, settings.SundayFirst);
    registry.WriteDWord(ORVIK_VALUE_USE_REMINDER, settings.UseReminder);
    registry.WriteDWord(ORVIK_VALUE_ALLOW_MULTIPLE_INSTANCES, settings.AllowMultipleInstances);
    registry.WriteDWord(ORVIK_VALUE_REMIND_DAYS, settings.RemindDays);
    registry.WriteDWord(ORVIK_VALUE_REMIND_HOURS, settings.RemindHours);
    registry.WriteDWord(ORVIK_VALUE_REMIND_MINUTES, settings.RemindMinutes);
}

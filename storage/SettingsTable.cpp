#include "storage/SettingsTable.h"

#include "res/OptionsIds.h"
#include "res/RegistryNames.h"
#include "res/resource.h"

const Setting kSettings[14] = {
    {ORVIK_VALUE_XSL_TEMPLATE, SettingType::Text, &AppSettings::XSLTemplate, nullptr,
     IDD_OPTIONS_FILE, IDC_XSL_TEMPLATE, 0, 0},
    {ORVIK_VALUE_MINIMIZE_ON_CLOSE, SettingType::Switch, nullptr, &AppSettings::MinimizeOnClose,
     IDD_OPTIONS_GENERAL, IDC_MINIMIZE_ON_CLOSE, 0, 0},
    {ORVIK_VALUE_SUNDAY_FIRST, SettingType::Switch, nullptr, &AppSettings::SundayFirst,
     IDD_OPTIONS_GENERAL, IDC_SUNDAY_FIRST, 0, 0},
    {ORVIK_VALUE_USE_REMINDER, SettingType::Switch, nullptr, &AppSettings::UseReminder,
     IDD_OPTIONS_REMINDER, IDC_USE_REMINDER, 0, 0},
    {ORVIK_VALUE_ALLOW_MULTIPLE_INSTANCES, SettingType::Switch, nullptr,
     &AppSettings::AllowMultipleInstances, IDD_OPTIONS_GENERAL, IDC_MULTIPLE_INSTANCES, 0, 0},
    // The lead time of reminders: days, hours, minutes.
    {ORVIK_VALUE_REMIND_DAYS, SettingType::Count, nullptr, &AppSettings::RemindDays,
     IDD_OPTIONS_REMINDER, IDC_REMIND_DAYS, IDC_REMIND_DAYS_SPIN, 366},
    {ORVIK_VALUE_REMIND_HOURS, SettingType::Count, nullptr, &AppSettings::RemindHours,
     IDD_OPTIONS_REMINDER, IDC_REMIND_HOURS, IDC_REMIND_HOURS_SPIN, 23},
    {ORVIK_VALUE_REMIND_MINUTES, SettingType::Count, nullptr, &AppSettings::RemindMinutes,
     IDD_OPTIONS_REMINDER, IDC_REMIND_MINUTES, IDC_REMIND_MINUTES_SPIN, 59},
    // The Sync dialog's, not on an Options page.
    {ORVIK_VALUE_SYNC_SERVER, SettingType::Text, &AppSettings::SyncServer, nullptr, 0, 0, 0, 0},
    {ORVIK_VALUE_SYNC_USER, SettingType::Text, &AppSettings::SyncUser, nullptr, 0, 0, 0, 0},
    {ORVIK_VALUE_SYNC_CALENDAR, SettingType::Text, &AppSettings::SyncCalendar, nullptr, 0, 0, 0,
     0},
    {ORVIK_VALUE_SYNC_MINUTES, SettingType::Count, nullptr, &AppSettings::SyncMinutes, 0, 0, 0, 0},
    {ORVIK_VALUE_SYNC_DAYS_BACK, SettingType::Count, nullptr, &AppSettings::SyncDaysBack, 0, 0, 0,
     0},
    {ORVIK_VALUE_SYNC_DAYS_AHEAD, SettingType::Count, nullptr, &AppSettings::SyncDaysAhead, 0, 0,
     0, 0},
};

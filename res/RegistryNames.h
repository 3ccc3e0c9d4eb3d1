// Where the program keeps its settings under HKEY_CURRENT_USER.
#pragma once

#define ORVIK_SETTINGS_KEY "Software\\RudorAvirivi\\OrvikCalendar"
#define ORVIK_RECENT_SUBKEY "Recent Document List"

#define ORVIK_VALUE_XSL_TEMPLATE "XSLTemplate"
#define ORVIK_VALUE_MINIMIZE_ON_CLOSE "MinimizeOnClose"
#define ORVIK_VALUE_USE_REMINDER "UseReminder"
#define ORVIK_VALUE_ALLOW_MULTIPLE_INSTANCES "AllowMultipleInstances"
#define ORVIK_VALUE_SUNDAY_FIRST "SundayFirst"
#define ORVIK_VALUE_REMIND_DAYS "RemindDays"
#define ORVIK_VALUE_REMIND_HOURS "RemindHours"
#define ORVIK_VALUE_REMIND_MINUTES "RemindMinutes"
#define ORVIK_VALUE_SYNC_SERVER "SyncServer"
#define ORVIK_VALUE_SYNC_USER "SyncUser"
#define ORVIK_VALUE_SYNC_CALENDAR "SyncCalendar"
#define ORVIK_VALUE_SYNC_MINUTES "SyncMinutes"
#define ORVIK_VALUE_SYNC_DAYS_BACK "SyncDaysBack"
#define ORVIK_VALUE_SYNC_DAYS_AHEAD "SyncDaysAhead"
// When the diary last synced with its calendar, seconds since 1970.
#define ORVIK_VALUE_SYNC_LAST_SUCCESS "SyncLastSuccess"
#define ORVIK_VALUE_WINDOW_PLACEMENT "WindowPlacement"
// When reminders were last checked, seconds since 1970 (unsigned): the next
// start catches up from there.
#define ORVIK_VALUE_LAST_REMINDER_CHECK "LastReminderCheck"
// A random value made at the first export (32 hexadecimal digits): the
// exported events' UIDs stay the same from one export to the next.
#define ORVIK_VALUE_INSTALLATION_ID "InstallationId"
#define ORVIK_VALUE_DOCUMENT_COUNT "DocumentCount"
#define ORVIK_VALUE_DOCUMENT_FORMAT "Document%i"

#define ORVIK_DEFAULT_XSL_TEMPLATE "OrvikCalendar.xsl"

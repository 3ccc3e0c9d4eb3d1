// Resource and command ids, shared by OrvikCalendar.rc and the code.
#pragma once

#include "framework/StandardIds.h"

// Resources
#define IDR_MAINFRAME 127 // title string, menu, accelerators, toolbar, main icon
#define IDI_BLINK 128     // the notification icon's second blink picture
// The toolbar's images drawn at 20, 24 and 32 pixels (127 holds the 16)
#define IDB_TOOLBAR_20 129
#define IDB_TOOLBAR_24 130
#define IDB_TOOLBAR_32 131
#define IDR_TRAYMENU 202
#define IDD_ABOUTBOX 100
#define IDD_SELECTOR 201
#define IDD_OPTIONS_FILE 205
#define IDD_OPTIONS_GENERAL 206
#define IDD_OPTIONS_REMINDER 207
#define IDD_SEARCH_ALL 208
#define IDD_EXPORT_EVENTS 209
#define IDD_SYNC 210

// The program's own commands
#define ID_PREVIEW 32774
#define ID_OPTIONS 32776
// Moving the focus from day to day: View > Go to
#define ID_GO_PREVIOUS_DAY 32780
#define ID_GO_NEXT_DAY 32781
#define ID_GO_PREVIOUS_WEEK 32782
#define ID_GO_NEXT_WEEK 32783
#define ID_GO_PREVIOUS_MONTH 32784
#define ID_GO_NEXT_MONTH 32785
#define ID_GO_PREVIOUS_YEAR 32786
#define ID_GO_NEXT_YEAR 32787
#define ID_GO_TODAY 32788
#define ID_EDIT_FIND_PREVIOUS 32789
#define ID_FILE_OPEN_BACKUPS 32790
#define ID_EDIT_SEARCH_ALL 32791
#define ID_FILE_EXPORT_EVENTS 32792
#define ID_FILE_IMPORT_EVENTS 32793
#define ID_FILE_SYNC 32794
#define ID_FILE_SYNC_NOW 32795
// One command per reminder item of the icon's menu as it was built: 201 of
// them, more than a menu can show on a screen.
#define ID_REMINDER_FIRST 32868
#define ID_REMINDER_LAST 33068
// The item that counts the older reminders the menu leaves out.
#define ID_REMINDER_MORE 33074
// The reminder menu's last items.
#define ID_REMINDER_SNOOZE_5 33070
#define ID_REMINDER_SNOOZE_15 33071
#define ID_REMINDER_SNOOZE_60 33072
#define ID_REMINDER_DISMISS_ALL 33073

// About box
#define IDC_WEB_ADDRESS 1005
#define IDC_MAIL_ADDRESS 1006

// Search All
#define IDC_SEARCH_TEXT 1030
#define IDC_SEARCH_MATCH_CASE 1031
#define IDC_SEARCH_WHOLE_WORD 1032
#define IDC_SEARCH_HITS 1033
// Export Events
#define IDC_EXPORT_MONTH 1040
#define IDC_EXPORT_YEAR 1041
#define IDC_EXPORT_EVERYTHING 1042
// Sync
#define IDC_SYNC_SERVER 1050
#define IDC_SYNC_USER 1051
#define IDC_SYNC_PASSWORD 1052
#define IDC_SYNC_FIND 1053
#define IDC_SYNC_CALENDARS 1054
#define IDC_SYNC_NEW 1055
#define IDC_SYNC_MINUTES 1056
#define IDC_SYNC_FOUND 1057
#define IDC_SYNC_LAST 1058

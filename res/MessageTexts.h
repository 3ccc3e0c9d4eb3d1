// The texts of the program's questions and reports. A %s stands for the
// document's name or path.
#pragma once

#define ORVIK_CAPTION "OrvikCalendar" // of every message box, and the window title's start
#define ORVIK_UNTITLED "Untitled"     // the name of a diary that has no file yet
#define ORVIK_OPTIONS_CAPTION "Options..."
#define ORVIK_NOT_FOUND_TEXT "Not Found!"
#define ORVIK_SNOOZE_5 "Snooze 5 minutes"
#define ORVIK_SNOOZE_15 "Snooze 15 minutes"
#define ORVIK_SNOOZE_60 "Snooze 1 hour"
#define ORVIK_DISMISS_ALL "Dismiss all"
#define ORVIK_REMINDERS_MORE "%s older reminders; dismiss some to see them"

// File dialogs: pairs of "name\0pattern\0", ending in a second zero.
#define ORVIK_OPEN_FILTER "Comma Separated Files (*.csv)\0*.csv\0All Files (*.*)\0*.*\0"
#define ORVIK_SAVE_FILTER                                                                          \
    "Comma Separated Files (*.csv)\0*.csv\0XML Files (*.xml)\0*.xml\0All Files (*.*)\0*.*\0"
#define ORVIK_ICS_FILTER "iCalendar Files (*.ics)\0*.ics\0All Files (*.*)\0*.*\0"
#define ORVIK_STYLESHEET_FILTER "XSL templates (*.xsl)\0*.xsl\0All Files (*.*)\0*.*\0"

#define ORVIK_ASK_NEW "Are you sure? All current data will be erased!"
#define ORVIK_ASK_NEW_CAPTION "Confirmation"
#define ORVIK_ASK_SAVE_CHANGES "Save changes to: %s?"
#define ORVIK_ASK_RELOAD                                                                           \
    "The current file was changed by another program, reload this file?\n"                         \
    "Please note: you'll loose your unsaved changes."
#define ORVIK_ASK_RELOAD_CAPTION "Alert"
// The diary's name, how many days came from the other copy, and
// ORVIK_MERGE_CONFLICTS or nothing.
#define ORVIK_MERGED                                                                               \
    "The diary\n%s\nwas changed elsewhere (on another computer or by another program) while "      \
    "you had unsaved changes. Both were kept, merged day by day: %s came from the other "          \
    "copy.%s\n\nThe merged diary is not saved yet: look it over, then save it."
// How many days, the separator line, the dates.
#define ORVIK_MERGE_CONFLICTS                                                                      \
    "\n\n%s changed in both copies. Each holds your text, then the line\n%s\nthen the other "      \
    "copy's text:\n\n%s"
#define ORVIK_MERGE_MORE_DATES "and %d more"
#define ORVIK_DAY_COUNT_ONE "1 day"
#define ORVIK_DAY_COUNT "%d days"
#define ORVIK_RELOADED "The diary was changed elsewhere and has been read again."
#define ORVIK_SAVE_WAITS_FOR_CHANGE                                                                \
    "Not saved: the diary was changed elsewhere. It is read in first; then save again."

#define ORVIK_NOT_FOUND                                                                            \
    "The diary\n%s\nwas not found. It may have been moved or deleted, or it is on a drive "        \
    "that is not connected."
#define ORVIK_NOT_READABLE                                                                         \
    "The diary\n%s\ncould not be read. It may be open in another program or you may not have "     \
    "permission to read it."
#define ORVIK_TOO_LARGE                                                                            \
    "The diary\n%s\nis too large for the memory of this computer. Nothing was opened."
#define ORVIK_NOT_SAVED                                                                            \
    "The diary was not saved to\n%s\n\n%s\n\nThe file there is unchanged; your changes are "       \
    "still open."
#define ORVIK_NOT_SAVED_NOR_KEPT                                                                   \
    "The diary was not saved to\n%s\n\n%s\n\nYour changes are still open: save again, or "         \
    "save them in another folder."
#define ORVIK_EXPORTED_ONLY                                                                        \
    "Only the month shown was written to\n%s\nas XML. The diary itself is not saved: save it "     \
    "as a calendar file (.csv) to keep your changes."
#define ORVIK_EXPORT_FAILED "The month could not be written to\n%s\n\n%s"
#define ORVIK_ACTION_FAILED                                                                        \
    "The last action could not be completed (%s). Your diary is still open; save it to keep "      \
    "your changes."
#define ORVIK_PREVIEW_NOT_WRITTEN "The preview could not be written to\n%s\n\n%s"
#define ORVIK_PREVIEW_AS_XML "Preview shown as XML: the web page could not be made (%s)."
#define ORVIK_PREVIEW_NO_FOLDER                                                                    \
    "The preview needs a folder of its own in your local application data, and it could not "      \
    "be made."

#define ORVIK_ASK_RECOVER                                                                          \
    "OrvikCalendar was closed before your changes to %s were saved. Recover them?\n\n"             \
    "They were kept on %s."
#define ORVIK_RECOVERY_UNREADABLE                                                                  \
    "The changes that OrvikCalendar kept in\n%s\ncould not be read. The file stays there."
#define ORVIK_SKIPPED_RECORDS                                                                      \
    "%s of the records in\n%s\ncould not be read and were left out. The first of them:\n\n%s\n\n"  \
    "If you save the diary, they will be gone from the file; a copy of the file as it is now "     \
    "is kept with the backups (File > Open Backups Folder)."

// What a screen reader calls controls whose captions are signs.
#define ORVIK_NAME_PREVIOUS_YEAR "Previous year"
#define ORVIK_NAME_PREVIOUS_MONTH "Previous month"
#define ORVIK_NAME_NEXT_MONTH "Next month"
#define ORVIK_NAME_NEXT_YEAR "Next year"
#define ORVIK_NAME_SEARCH_HITS "Lines found: date, line"

// Search All, Export Events and Import Events
#define ORVIK_SEARCH_ALL_CAPTION "Search All"
#define ORVIK_SEARCH_LINE_GONE "Search All - that line is no longer in the diary"
#define ORVIK_COLUMN_DATE "Date"
#define ORVIK_COLUMN_LINE "Line"
#define ORVIK_EXPORT_MONTH "the &month shown (%s)"
#define ORVIK_EXPORT_YEAR "the &year shown (%s)"
#define ORVIK_EXPORTED "%s events were written to\n%s"
#define ORVIK_EVENTS_NOT_WRITTEN "The events could not be written to\n%s\n\n%s"
#define ORVIK_IMPORT_TOO_LARGE                                                                     \
    "The file\n%s\nis larger than 50 MB, too large for a calendar file. Nothing was imported."
#define ORVIK_IMPORT_NOT_READ "The file\n%s\ncould not be read. Nothing was imported."
#define ORVIK_IMPORT_REFUSED "The file\n%s\ncannot be imported: %s\n\nNothing was imported."
#define ORVIK_IMPORTED                                                                             \
    "%s events were added to the diary.\n%s were already there.\n%s repeating events were "        \
    "not imported: the diary has no repeating lines."

// Sync
#define ORVIK_SYNCING "Syncing with the calendar..."
#define ORVIK_SYNCED "Synced: %s sent, %s received"
#define ORVIK_SYNC_SKIPPED "; not readable, left out: %s"
#define ORVIK_SYNC_PASSWORD_REFUSED "Sync failed: the server refused the password"
#define ORVIK_SYNC_NOT_REACHED "Sync: server not reached, trying again in %s minutes"
#define ORVIK_SYNC_CALENDAR_GONE "Sync failed: the calendar is no longer on the server"
#define ORVIK_SYNC_REFUSED "Sync failed: %s; trying again in %s minutes"
#define ORVIK_SYNC_NO_FILE "Sync waits until the diary is saved"
#define ORVIK_SYNC_NOT_SET_UP "Sync is not set up: choose a calendar in File > Sync..."
#define ORVIK_SYNC_NO_PASSWORD "Sync failed: no password is stored for the server"
#define ORVIK_SYNC_DIARY_UNREADABLE "Sync failed: the saved diary could not be read"
#define ORVIK_SYNC_NEVER "Not synced yet"
#define ORVIK_SYNC_LAST "Last synced: %s"
#define ORVIK_SYNC_FOUND "%s calendars found"
#define ORVIK_SYNC_NEED_ADDRESS "Give the server's address (https://...) and a user name."
#define ORVIK_SYNC_NOT_SAFE                                                                        \
    "The password would travel unencrypted. Use an https:// address (plain http:// is only "       \
    "used with this computer's own server)."
#define ORVIK_SYNC_FIND_FAILED "No calendars were found at\n%s\n\n%s"
#define ORVIK_SYNC_NEW_FAILED "The calendar could not be made: %s"
#define ORVIK_SYNC_PASSWORD_NOT_KEPT "The password could not be kept in the Credential Manager."
#define ORVIK_SYNC_NO_HOME "Find the calendars first: a new one is made where they are."

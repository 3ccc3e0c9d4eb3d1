#pragma once

#include "res/RegistryNames.h"

#include <cstdint>
#include <string>

// What the program remembers between runs. Read once at start-up, changed in
// memory by the options, written when the window really closes. Flags count
// as on when non-zero.
struct AppSettings {
    std::string XSLTemplate = ORVIK_DEFAULT_XSL_TEMPLATE;
    std::int32_t MinimizeOnClose = 0;
    std::int32_t UseReminder = 0;
    std::int32_t AllowMultipleInstances = 0;
    std::int32_t SundayFirst = 0;
    std::int32_t RemindDays = 0;
    std::int32_t RemindHours = 0;
    std::int32_t RemindMinutes = 0;
    // The CalDAV calendar the diary's events sync with; its password is in
    // Windows' Credential Manager, never here.
    std::string SyncServer{}; // the address the user gave
    std::string SyncUser{};
    std::string SyncCalendar{};    // the calendar's address; empty: no sync
    std::int32_t SyncMinutes = 15; // between syncs; 0: by hand only
    std::int32_t SyncDaysBack = 30;
    std::int32_t SyncDaysAhead = 365;
};

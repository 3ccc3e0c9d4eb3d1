#pragma once

#include "core/Date.h"
#include "core/Now.h"

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

// A valid date from its fields, counted from the first of the month.
inline Date Ymd(int year, int month, int day) {
    Date date(month, year);
    date.SubtractDays(1 - day);
    return date;
}

// The moment of a local time, by the C library's own rules.
inline std::time_t LocalMoment(int year, int month, int day, int hour, int minute, int second = 0) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

// Pins "now" to a local moment for the lifetime of the object.
class PinnedNow {
  public:
    PinnedNow(int year, int month, int day, int hour = 12, int minute = 0) {
        PinNow(LocalMoment(year, month, day, hour, minute));
    }
    ~PinnedNow() { UnpinNow(); }
    PinnedNow(const PinnedNow&) = delete;
    PinnedNow& operator=(const PinnedNow&) = delete;
};

// The moment of a UTC time.
inline std::time_t UtcMoment(int year, int month, int day, int hour, int minute) {
    const std::int64_t dayNumberOf1970 = 2440588;
    return static_cast<std::time_t>(
        (static_cast<std::int64_t>(Ymd(year, month, day).dayNumber) - dayNumberOf1970) * 86400 +
        hour * 3600 + minute * 60);
}

#ifndef _WIN32
// Central European time for the lifetime of the object. The rule is written
// out, so no zone database is needed; the Windows C runtime reads no such
// rule, so tests that need it are host-only.
// While it lives, the process's local time is Central European (host only).
class ProcessInCentralEurope {
  public:
    ProcessInCentralEurope() {
        if (const char* zone = std::getenv("TZ"))
            saved = zone;
        setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        tzset();
    }
    ~ProcessInCentralEurope() {
        if (saved)
            setenv("TZ", saved->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ProcessInCentralEurope(const ProcessInCentralEurope&) = delete;
    ProcessInCentralEurope& operator=(const ProcessInCentralEurope&) = delete;

  private:
    std::optional<std::string> saved;
};
#endif

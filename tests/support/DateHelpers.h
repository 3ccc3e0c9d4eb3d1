#pragma once

#include "core/Date.h"
#include "core/Now.h"

#include <ctime>

// A valid date from its fields, counted from the first of the month.
inline Date Ymd(int year, int month, int day) {
    Date date(month, year);
    date.SubtractDays(1 - day);
    return date;
}

// Pins "now" to a local moment for the lifetime of the object.
class PinnedNow {
  public:
    PinnedNow(int year, int month, int day, int hour = 12, int minute = 0) {
        std::tm local{};
        local.tm_year = year - 1900;
        local.tm_mon = month - 1;
        local.tm_mday = day;
        local.tm_hour = hour;
        local.tm_min = minute;
        local.tm_isdst = -1;
        PinNow(std::mktime(&local));
    }
    ~PinnedNow() { UnpinNow(); }
    PinnedNow(const PinnedNow&) = delete;
    PinnedNow& operator=(const PinnedNow&) = delete;
};

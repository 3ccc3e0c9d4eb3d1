#pragma once

#include "core/TimeRules.h"
#include "tests/support/DateHelpers.h"

#include <string>

// Central European Time by the EU rules (UTC+1, UTC+2 from 01:00 UTC on the
// last Sunday of March to 01:00 UTC on the last Sunday of October), written
// out apart from the library's yearly rules, so that tests do not depend on
// the time zone of the machine and can check those rules against it.
class CentralEuropeanTime : public TimeRules {
  public:
    int OffsetAt(UtcSeconds moment) const override {
        const int year = ClockOfSeconds(moment).date.year;
        const bool summer =
            moment >= LastSundayAtOneUtc(year, 3) && moment < LastSundayAtOneUtc(year, 10);
        return summer ? 7200 : 3600;
    }

    // March and October both have 31 days.
    static UtcSeconds LastSundayAtOneUtc(int year, int month) {
        LocalDateTime change;
        change.date = Ymd(year, month, 31);
        change.date.SubtractDays(change.date.weekday - 1);
        change.hour = 1;
        return SecondsOfClock(change);
    }
};

inline LocalDateTime Clock(int year, int month, int day, int hour, int minute, int second = 0) {
    LocalDateTime clock;
    clock.date = Ymd(year, month, day);
    clock.hour = hour;
    clock.minute = minute;
    clock.second = second;
    return clock;
}

// "2026-03-29 02:30:00"
inline std::string Show(const LocalDateTime& clock) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", clock.date.year,
                  clock.date.month, clock.date.day, clock.hour, clock.minute, clock.second);
    return text;
}

// A UTC moment shown the same way, with a Z.
inline std::string ShowUtc(UtcSeconds moment) {
    return Show(ClockOfSeconds(moment)) + "Z";
}

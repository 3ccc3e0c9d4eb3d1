#pragma once

#include "core/TimeRules.h"

#include <optional>

// A change of the clock on the same day of every year: the nth weekday of a
// month, at a wall-clock time of the offset in force before the change.
struct YearlyChange {
    int month = 1;
    // 1 to 4 count from the start of the month; 5 is the fifth or, where the
    // month has only four, the last; -1 is the last, -2 the one before it.
    int week = 1;
    int weekday = 1; // 1 = Sunday .. 7 = Saturday, as in Date
    int secondsIntoDay = 0;
};

struct DaylightSaving {
    int offset = 0; // seconds east of UTC while it holds
    YearlyChange starts;
    YearlyChange ends;
};

// A standard offset, with or without daylight saving by yearly rules: the
// shape of a time zone's current rules, of a VTIMEZONE and of a POSIX TZ.
class YearlyTimeRules : public TimeRules {
  public:
    explicit YearlyTimeRules(int standardOffset,
                             std::optional<DaylightSaving> daylight = std::nullopt)
        : standardOffset(standardOffset), daylight(daylight) {}

    int OffsetAt(UtcSeconds moment) const override;

  private:
    int standardOffset;
    std::optional<DaylightSaving> daylight;
};

// The day of a yearly change in a year.
Date DayOfChange(int year, const YearlyChange& change);

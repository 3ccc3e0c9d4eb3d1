#pragma once

#include "core/Date.h"

#include <cstdint>

// Seconds since 1970-01-01 00:00:00 UTC, leap seconds not counted.
using UtcSeconds = std::int64_t;

// A reading of a wall clock: a day and a time within it.
struct LocalDateTime {
    Date date;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// A wall-clock reading counted like UTC seconds, as if the clock ran on UTC.
std::int64_t SecondsOfClock(const LocalDateTime& clock);
LocalDateTime ClockOfSeconds(std::int64_t seconds);

// How the wall clock of a place relates to UTC. A daylight-saving change
// skips or repeats a stretch of wall-clock time; ToUtc reads a time in that
// stretch with the offset in force before the change, as RFC 5545 does: a
// skipped 02:30 is the moment the clock showed 01:30 plus an hour (so 03:30
// after the change), a repeated 02:30 its first occurrence.
class TimeRules {
  public:
    virtual ~TimeRules() = default;
    // The offset of the wall clock from UTC at that moment, in seconds east.
    virtual int OffsetAt(UtcSeconds moment) const = 0;

    // Assumes at most one change within a day of any moment, as every zone has.
    UtcSeconds ToUtc(const LocalDateTime& clock) const;
    LocalDateTime ToLocal(UtcSeconds moment) const;
};

// The C library's local time (the process's time zone). Only its
// UTC-to-local direction is asked, so skipped and repeated hours follow the
// rule above on every runtime, where mktime differs between them.
class CLibraryTimeRules : public TimeRules {
  public:
    int OffsetAt(UtcSeconds moment) const override;
};

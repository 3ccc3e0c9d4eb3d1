#pragma once

#include "core/YearlyTimeRules.h"

#include <optional>
#include <string>
#include <vector>

// A STANDARD or DAYLIGHT part of a VTIMEZONE, its values as written.
struct TimeZoneObservance {
    bool daylight = false;
    std::string start;    // DTSTART: the first change, in the offset before it
    std::string offsetTo; // TZOFFSETTO
    std::string rule;     // RRULE, or empty
};

// The current rules of a VTIMEZONE: of each kind the observance that starts
// last. Daylight saving needs both kinds with a yearly rule by month and
// weekday ("FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU"); without it the offset of the
// latest observance holds all year. Nothing when a value cannot be read or a
// yearly rule is of another form.
std::optional<YearlyTimeRules> RulesOfTimeZone(const std::vector<TimeZoneObservance>& observances);

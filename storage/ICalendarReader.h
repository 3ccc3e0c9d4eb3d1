#pragma once

#include "core/EventImport.h"
#include "core/TimeRules.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Larger files are refused unread; the caller checks the size before reading.
const std::size_t kMaxICalendarBytes = 50u * 1024 * 1024;

struct ICalendarImport {
    std::vector<ImportedEvent> events; // in file order
    int repeatingSkipped = 0; // events with a repeat rule (or repeating dates), not expanded
    std::string error;        // for the user; when set, there are no events
};

// The single events of an iCalendar file (RFC 5545) at local times of
// `local`: a start in UTC is converted, a floating one taken as it is, one
// with a TZID through the file's VTIMEZONE of that name or else a known zone
// of that name. A start that is a DATE gives an all-day event. The whole file
// is checked before anything is returned; a local start outside the years
// 100 to 9999, which a diary cannot hold, refuses it.
ICalendarImport ReadICalendar(std::string_view bytes, const TimeRules& local);

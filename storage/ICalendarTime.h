#pragma once

#include "core/TimeRules.h"

#include <optional>
#include <string>
#include <string_view>

// The date and time values of iCalendar (RFC 5545).

// "20260329T013000Z"
std::string FormatUtcDateTime(UtcSeconds moment);

struct DateTimeValue {
    LocalDateTime clock;
    bool dateOnly = false; // a DATE ("20260329"): the clock's time is 00:00
    bool utc = false;      // a DATE-TIME ending in Z
};

// A DATE or DATE-TIME; nothing when the text is neither or names no real day or time.
std::optional<DateTimeValue> ParseDateTimeValue(std::string_view value);

// A UTC offset, "+0100", "-0500" or "+053000", in seconds east.
std::optional<int> ParseUtcOffset(std::string_view value);

#pragma once

#include "core/EventTime.h"

#include <cstdio>
#include <optional>
#include <string>

// The three time patterns as the C library reads them: the reference that
// ParseEventTime is compared with.
inline std::optional<TimeOfDay> SscanfEventTime(const std::string& line) {
    int hour = 0;
    int minute = 0;
    char letters[3] = "";
    int fields = std::sscanf(line.c_str(), "%2d%*[:.]%2d%2[pmPM]", &hour, &minute, letters);
    if (fields < 2)
        fields = std::sscanf(line.c_str(), "%2d%2d%2[pmPM]", &hour, &minute, letters);
    if (fields < 2)
        fields = std::sscanf(line.c_str(), "%2d%2[pmPM]", &hour, letters);
    if (fields <= 0)
        return std::nullopt;
    if (letters[0] != '\0' && hour < 12)
        hour += 12;
    return TimeOfDay{hour, minute};
}

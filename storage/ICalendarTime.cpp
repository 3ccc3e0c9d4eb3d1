#include "storage/ICalendarTime.h"

#include <cstdio>

namespace {

// The number of `count` digits at `at`, or -1.
int DigitsAt(std::string_view text, std::size_t at, std::size_t count) {
    if (at + count > text.size())
        return -1;
    int value = 0;
    for (std::size_t k = at; k < at + count; ++k) {
        if (text[k] < '0' || text[k] > '9')
            return -1;
        value = value * 10 + (text[k] - '0');
    }
    return value;
}

} // namespace

std::string FormatUtcDateTime(UtcSeconds moment) {
    const LocalDateTime clock = ClockOfSeconds(moment);
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d%02dZ", clock.date.year,
                  clock.date.month, clock.date.day, clock.hour, clock.minute, clock.second);
    return text;
}

std::optional<DateTimeValue> ParseDateTimeValue(std::string_view value) {
    const int year = DigitsAt(value, 0, 4);
    const int month = DigitsAt(value, 4, 2);
    const int day = DigitsAt(value, 6, 2);
    if (year < 0 || month < 1 || month > 12 || day < 1)
        return std::nullopt;
    DateTimeValue result;
    result.clock.date = Date(month, year);
    if (day > result.clock.date.DaysInMonth())
        return std::nullopt;
    result.clock.date.SubtractDays(1 - day);
    if (value.size() == 8) {
        result.dateOnly = true;
        return result;
    }
    // The letters of the grammar match in either case.
    result.utc = value.size() == 16 && (value[15] == 'Z' || value[15] == 'z');
    if (value.size() != (result.utc ? 16 : 15) || (value[8] != 'T' && value[8] != 't'))
        return std::nullopt;
    result.clock.hour = DigitsAt(value, 9, 2);
    result.clock.minute = DigitsAt(value, 11, 2);
    result.clock.second = DigitsAt(value, 13, 2);
    if (result.clock.hour < 0 || result.clock.hour > 23 || result.clock.minute < 0 ||
        result.clock.minute > 59 || result.clock.second < 0 || result.clock.second > 60)
        return std::nullopt;
    return result;
}

std::optional<int> ParseUtcOffset(std::string_view value) {
    if ((value.size() != 5 && value.size() != 7) || (value[0] != '+' && value[0] != '-'))
        return std::nullopt;
    const int hours = DigitsAt(value, 1, 2);
    const int minutes = DigitsAt(value, 3, 2);
    const int seconds = value.size() == 7 ? DigitsAt(value, 5, 2) : 0;
    if (hours < 0 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59)
        return std::nullopt;
    const int offset = hours * 3600 + minutes * 60 + seconds;
    return value[0] == '-' ? -offset : offset;
}

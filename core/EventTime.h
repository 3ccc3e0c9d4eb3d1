#pragma once

#include <optional>
#include <string>

struct TimeOfDay {
    int hour;
    int minute;
};

// The time at the start of a diary line, read the way "%2d%*[:.]%2d%2[pmPM]",
// then "%2d%2d%2[pmPM]", then "%2d%2[pmPM]" read it: "11:00", "9.30",
// "1130", "9pm", "11:30pm". A p or m right after the digits moves an hour
// below 12 into the afternoon. Values out of range are kept (they are never
// due). A line that does not begin with a number is no event: nothing.
std::optional<TimeOfDay> ParseEventTime(const std::string& line);

// A line that is an event: its time of day (hour 0-23, minute 0-59) and the
// text after the time and the blanks that follow it.
struct TimedLine {
    TimeOfDay time;
    std::string text;
};

// The line as an event; nothing for a line without a valid time at its start.
std::optional<TimedLine> ReadTimedLine(const std::string& line);

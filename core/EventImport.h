#pragma once

#include "core/Date.h"
#include "core/EventStore.h"
#include "core/EventTime.h"

#include <optional>
#include <string>
#include <vector>

// An event taken from another calendar, in local time.
struct ImportedEvent {
    Date date;
    std::optional<TimeOfDay> time; // nothing: an all-day event
    std::string summary;
    std::string uid; // as the file gives it; may be empty
};

// The diary line of an event: "HH:MM summary", or the summary alone for an
// all-day event; line breaks in the summary become blanks.
std::string EventLine(const ImportedEvent& event);

struct DayTextImport {
    std::string text;
    int added = 0;
    int skipped = 0; // lines the day already held, or empty ones
};

// Appends the lines of a day's events to its text, all-day events first and
// then by time (events of the same time in their given order), each after a
// CR LF. A line the day already holds, the new ones included, is skipped.
// The events' dates are not looked at.
DayTextImport AddEventLines(const std::string& dayText, const std::vector<ImportedEvent>& events);

struct DayChange {
    Date date;
    std::string text; // the day's whole new text
};

struct EventsImport {
    std::vector<DayChange> changes; // in date order, only days that gain lines
    int added = 0;
    int skipped = 0;
};

// AddEventLines for every day that the events fall on, against the store's texts.
EventsImport ImportEvents(const EventStore& store, const std::vector<ImportedEvent>& events);

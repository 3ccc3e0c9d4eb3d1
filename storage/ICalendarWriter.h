#pragma once

#include "core/Date.h"
#include "core/EventStore.h"
#include "core/EventTime.h"
#include "core/TimeRules.h"

#include <optional>
#include <string>

struct ICalendarExportArgs {
    Date first; // the days to export, both included
    Date last;
    UtcSeconds stamp = 0;       // the moment of the export (DTSTAMP)
    std::string installationId; // a random value kept for this installation
};

struct ICalendarExport {
    std::string bytes; // the .ics file, for a binary write
    int eventCount = 0;
};

// What Export Events writes: the month shown, the year shown, or everything.
enum class ExportRange { Month, Year, Everything };

// The first and last day of the range around the day shown.
void SetExportDays(ICalendarExportArgs& args, ExportRange range, const Date& shown);

// The timed lines of the days from first to last as an iCalendar file (RFC
// 5545), in date order: one VEVENT per line that is an event, starting at its
// local time converted to UTC by `local`, lasting 30 minutes, its summary the
// text after the time. Of several entries for one day only the first counts.
ICalendarExport WriteICalendar(const EventStore& store, const ICalendarExportArgs& args,
                               const TimeRules& local);

// One event as a calendar server stores it: a calendar with that one
// VEVENT, as Export Events writes it, and a reminder (VALARM) that many
// minutes before it where asked.
std::string EventResource(const std::string& uid, const Date& day, const TimedLine& line,
                          UtcSeconds stamp, std::optional<int> reminderMinutes,
                          const TimeRules& local);

// The UID of the event at `time` on `day` that is the `ordinal`th (from 0) of
// the day's lines at that time. It depends on nothing else, so exporting again
// gives the event the same UID and other calendars update it in place.
std::string EventUid(const std::string& installationId, const Date& day, TimeOfDay time,
                     int ordinal);

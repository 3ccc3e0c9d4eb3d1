#include "storage/ICalendarReader.h"

#include "core/KnownTimeZones.h"
#include "storage/ICalendarText.h"
#include "storage/ICalendarTime.h"
#include "storage/ICalendarTimeZone.h"

#include <map>
#include <optional>
#include <string_view>

namespace {

struct EventFields {
    int lineNumber = 0; // of its BEGIN:VEVENT
    std::optional<ContentLine> start;
    std::string summary;
    bool repeats = false;
    std::string uid;
};

struct TimeZoneFields {
    std::string id;
    std::vector<TimeZoneObservance> observances;
};

// What the components of the file hold, gathered in one pass; events are
// converted only afterwards, as a VTIMEZONE may follow the events that use it.
struct CalendarFields {
    std::vector<EventFields> events;
    std::vector<TimeZoneFields> timeZones;
};

std::string AtLine(int lineNumber) {
    return " (line " + std::to_string(lineNumber) + ")";
}

// What the innermost open component is to the reader: a VEVENT or VTIMEZONE
// of the calendar, or a STANDARD or DAYLIGHT of such a VTIMEZONE; empty for
// any other (a VALARM, or a component nested where it has no place, whose
// properties must not reach the gathered one around it).
std::string_view Gathered(const std::vector<std::string>& open) {
    const std::string& component = open.back();
    if (open.size() == 2 && (component == "VEVENT" || component == "VTIMEZONE"))
        return component;
    if (open.size() == 3 && open[1] == "VTIMEZONE" &&
        (component == "STANDARD" || component == "DAYLIGHT"))
        return component;
    return std::string_view();
}

// Takes one property into the component it belongs to, the innermost open one.
void Gather(const ContentLine& line, const std::vector<std::string>& open, CalendarFields& fields) {
    const std::string_view component = Gathered(open);
    if (component == "VEVENT") {
        EventFields& event = fields.events.back();
        if (line.name == "DTSTART")
            event.start = line;
        else if (line.name == "SUMMARY")
            event.summary = UnescapeText(line.value);
        else if (line.name == "UID")
            event.uid = line.value;
        else if (line.name == "RRULE" || line.name == "RDATE" || line.name == "RECURRENCE-ID")
            event.repeats = true;
    } else if (component == "VTIMEZONE") {
        if (line.name == "TZID")
            fields.timeZones.back().id = line.value;
    } else if (component == "STANDARD" || component == "DAYLIGHT") {
        TimeZoneObservance& observance = fields.timeZones.back().observances.back();
        if (line.name == "DTSTART")
            observance.start = line.value;
        else if (line.name == "TZOFFSETTO")
            observance.offsetTo = line.value;
        else if (line.name == "RRULE")
            observance.rule = line.value;
    }
}

// Checks the nesting of BEGIN and END and gathers the fields; the error text otherwise.
std::string GatherFields(const std::vector<ContentLine>& lines, CalendarFields& fields) {
    if (lines.empty() || lines[0].name != "BEGIN" || lines[0].value != "VCALENDAR")
        return "The file is not an iCalendar file: it does not begin with BEGIN:VCALENDAR.";
    std::vector<std::string> open;
    for (const ContentLine& line : lines) {
        if (line.name == "BEGIN") {
            if (open.empty() && line.value != "VCALENDAR")
                return "The file holds a " + line.value + " outside a calendar" +
                       AtLine(line.lineNumber) + ".";
            open.push_back(line.value);
            const std::string_view component = Gathered(open);
            if (component == "VEVENT")
                fields.events.push_back(EventFields{line.lineNumber, std::nullopt, "", false, ""});
            else if (component == "VTIMEZONE")
                fields.timeZones.emplace_back();
            else if (component == "STANDARD" || component == "DAYLIGHT")
                fields.timeZones.back().observances.push_back(
                    TimeZoneObservance{component == "DAYLIGHT", "", "", ""});
        } else if (line.name == "END") {
            if (open.empty() || open.back() != line.value)
                return "The file is damaged: END:" + line.value + " does not close " +
                       (open.empty() ? std::string("anything") : "the " + open.back()) +
                       AtLine(line.lineNumber) + ".";
            open.pop_back();
        } else if (open.empty()) {
            return "The file holds data outside a calendar" + AtLine(line.lineNumber) + ".";
        } else {
            Gather(line, open, fields);
        }
    }
    if (!open.empty())
        return "The file is cut short: its " + open.back() + " does not end.";
    return std::string();
}

class TimeZoneTable {
  public:
    explicit TimeZoneTable(const std::vector<TimeZoneFields>& defined) {
        for (const TimeZoneFields& zone : defined) {
            if (std::optional<YearlyTimeRules> rules = RulesOfTimeZone(zone.observances))
                zones.emplace(zone.id, *rules);
        }
    }

    // The zone the file defines under that name, else a known one; nothing for neither.
    const TimeRules* Find(const std::string& id) const {
        const auto found = zones.find(id);
        return found != zones.end() ? &found->second : FindKnownTimeZone(id);
    }

  private:
    std::map<std::string, YearlyTimeRules> zones;
};

// One event in local time; the error text when its start cannot be read.
std::string ConvertEvent(const EventFields& fields, const TimeZoneTable& zones,
                         const TimeRules& local, ImportedEvent& event) {
    if (!fields.start)
        return "An event has no start (DTSTART)" + AtLine(fields.lineNumber) + ".";
    const ContentLine& start = *fields.start;
    const std::optional<DateTimeValue> value = ParseDateTimeValue(start.value);
    if (!value || (start.Parameter("VALUE") == "DATE" && !value->dateOnly))
        return "An event has a start that is not a date or time: \"" + start.value + "\"" +
               AtLine(start.lineNumber) + ".";
    event.summary = fields.summary;
    event.uid = fields.uid;
    LocalDateTime clock = value->clock;
    if (!value->dateOnly && value->utc) {
        clock = local.ToLocal(SecondsOfClock(clock));
    } else if (!value->dateOnly && !start.Parameter("TZID").empty()) {
        const std::string id = start.Parameter("TZID");
        const TimeRules* zone = zones.Find(id);
        if (zone == nullptr)
            return "An event uses the time zone \"" + id +
                   "\", which the file does not define and which is not known" +
                   AtLine(start.lineNumber) + ".";
        clock = local.ToLocal(zone->ToUtc(clock));
    }
    // The diary file has no year 0 and reads the years 1 to 99 as 1901 to
    // 1999; iCalendar, and so the export, has no year after 9999.
    if (clock.date.year < 100 || clock.date.year > 9999)
        return "An event falls in the year " + std::to_string(clock.date.year) +
               ", outside the years 100 to 9999 that a diary holds" + AtLine(start.lineNumber) +
               ".";
    event.date = clock.date;
    if (!value->dateOnly)
        event.time = TimeOfDay{clock.hour, clock.minute};
    return std::string();
}

ICalendarImport Failure(std::string error) {
    ICalendarImport failed;
    failed.error = std::move(error);
    return failed;
}

} // namespace

ICalendarImport ReadICalendar(std::string_view bytes, const TimeRules& local) {
    if (bytes.size() > kMaxICalendarBytes)
        return Failure("The file is larger than 50 MB, too large for a calendar to import.");
    const std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (bytes.substr(0, byteOrderMark.size()) == byteOrderMark)
        bytes.remove_prefix(byteOrderMark.size());
    const ContentLines lines = ReadContentLines(bytes);
    if (!lines.error.empty())
        return Failure("The file is not an iCalendar file. " + lines.error);
    CalendarFields fields;
    const std::string structureError = GatherFields(lines.lines, fields);
    if (!structureError.empty())
        return Failure(structureError);

    const TimeZoneTable zones(fields.timeZones);
    ICalendarImport result;
    for (const EventFields& eventFields : fields.events) {
        if (eventFields.repeats) {
            ++result.repeatingSkipped;
            continue;
        }
        ImportedEvent event;
        const std::string error = ConvertEvent(eventFields, zones, local, event);
        if (!error.empty())
            return Failure(error);
        result.events.push_back(std::move(event));
    }
    return result;
}

#include "storage/ICalendarWriter.h"

#include "core/DayText.h"
#include "core/Utf8.h"
#include "storage/ICalendarText.h"
#include "storage/ICalendarTime.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <vector>

namespace {

// 64-bit FNV-1a, then a final mix so that neighbouring days differ in every
// digit. Not secret: the installation value only keeps the UIDs of two
// installations apart.
std::uint64_t Hash(const std::string& key) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : key) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    hash ^= hash >> 33;
    hash *= 0xff51afd7ed558ccdull;
    hash ^= hash >> 33;
    return hash;
}

// The store's entries of the range, first entry of each day only, by date.
std::vector<int> EntriesToExport(const EventStore& store, const Date& first, const Date& last) {
    std::vector<int> entries;
    for (int index = 0; index < store.GetCount(); ++index) {
        const Date& day = store.GetDateAt(index);
        if (!(day < first) && !(last < day) && store.FindIndex(day) == index)
            entries.push_back(index);
    }
    std::sort(entries.begin(), entries.end(),
              [&store](int a, int b) { return store.GetDateAt(a) < store.GetDateAt(b); });
    return entries;
}

const char kCalendarBegin[] = "BEGIN:VCALENDAR\r\n"
                             "VERSION:2.0\r\n"
                             "PRODID:-//RudorAvirivi//OrvikCalendar//EN\r\n"
                             "CALSCALE:GREGORIAN\r\n";

// The VEVENT of a line, without its END; the summary escaped in `summary`.
void BeginEvent(std::string& out, const std::string& uid, const Date& day, const TimedLine& line,
                const std::string& stamp, const TimeRules& local, std::string& summary) {
    LocalDateTime start;
    start.date = day;
    start.hour = line.time.hour;
    start.minute = line.time.minute;
    out += "BEGIN:VEVENT\r\n";
    AppendFolded(out, "UID:" + uid);
    out += stamp;
    AppendFolded(out, "DTSTART:" + FormatUtcDateTime(local.ToUtc(start)));
    out += "DURATION:PT30M\r\n";
    summary = EscapeText(ToValidUtf8(line.text));
    AppendFolded(out, "SUMMARY:" + summary);
}

void AppendEvent(std::string& out, const Date& day, const TimedLine& line, int ordinal,
                 const ICalendarExportArgs& args, const std::string& stamp,
                 const TimeRules& local) {
    std::string summary;
    BeginEvent(out, EventUid(args.installationId, day, line.time, ordinal), day, line, stamp,
               local, summary);
    out += "END:VEVENT\r\n";
}

} // namespace

std::string EventUid(const std::string& installationId, const Date& day, TimeOfDay time,
                     int ordinal) {
    char key[64];
    std::snprintf(key, sizeof key, "|%d-%d-%d|%d:%d|%d", day.year, day.month, day.day, time.hour,
                  time.minute, ordinal);
    char uid[64];
    std::snprintf(uid, sizeof uid, "%016llx@orvikcalendar.invalid",
                  static_cast<unsigned long long>(Hash(installationId + key)));
    return uid;
}

std::string EventResource(const std::string& uid, const Date& day, const TimedLine& line,
                          UtcSeconds stamp, std::optional<int> reminderMinutes,
                          const TimeRules& local) {
    std::string out = kCalendarBegin;
    std::string summary;
    BeginEvent(out, uid, day, line, "DTSTAMP:" + FormatUtcDateTime(stamp) + "\r\n", local,
               summary);
    if (reminderMinutes) {
        out += "BEGIN:VALARM\r\nACTION:DISPLAY\r\n";
        AppendFolded(out, "TRIGGER:-PT" + std::to_string(std::max(0, *reminderMinutes)) + "M");
        AppendFolded(out, "DESCRIPTION:" + summary);
        out += "END:VALARM\r\n";
    }
    out += "END:VEVENT\r\nEND:VCALENDAR\r\n";
    return out;
}

void SetExportDays(ICalendarExportArgs& args, ExportRange range, const Date& shown) {
    if (range == ExportRange::Everything) {
        // Only day numbers are compared: these two hold every day there is.
        args.first = Date();
        args.last = Date();
        args.last.dayNumber = UINT32_MAX;
        return;
    }
    const bool month = range == ExportRange::Month;
    args.first = Date(month ? shown.month : 1, shown.year);
    Date next = month ? Date(shown.month, shown.year) : Date(1, shown.year + 1);
    if (month)
        next.NextMonth();
    args.last = Date(next.dayNumber - 1);
}

ICalendarExport WriteICalendar(const EventStore& store, const ICalendarExportArgs& args,
                               const TimeRules& local) {
    ICalendarExport result;
    std::string& out = result.bytes;
    out = std::string(kCalendarBegin) + "METHOD:PUBLISH\r\n";
    const std::string stamp = "DTSTAMP:" + FormatUtcDateTime(args.stamp) + "\r\n";
    for (const int index : EntriesToExport(store, args.first, args.last)) {
        const Date& day = store.GetDateAt(index);
        std::map<int, int> linesAtMinute; // minute of the day -> timed lines so far
        for (const std::string& text : SplitLines(store.GetTextAt(index))) {
            const std::optional<TimedLine> line = ReadTimedLine(text);
            if (!line)
                continue;
            const int ordinal = linesAtMinute[line->time.hour * 60 + line->time.minute]++;
            AppendEvent(out, day, *line, ordinal, args, stamp, local);
            ++result.eventCount;
        }
    }
    out += "END:VCALENDAR\r\n";
    return result;
}

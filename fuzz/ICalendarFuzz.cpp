// The iCalendar reader on any bytes: a file is refused whole, or read (the
// same way every time) into real days and times whose diary lines are single
// lines that the diary reads at the event's time. The days an import of them
// makes survive the diary file, and their export reads back as their timed lines.
#include "core/DayText.h"
#include "core/EventImport.h"
#include "core/Now.h"
#include "core/Utf8.h"
#include "fuzz/Invariant.h"
#include "storage/CalendarFile.h"
#include "storage/ICalendarReader.h"
#include "storage/ICalendarWriter.h"
#include "tests/support/EuropeanTime.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace {

const CentralEuropeanTime kLocal;

bool IsRealDay(const Date& date) {
    const Date fromFields(date); // a copy recomputes the day number from the fields
    return date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= date.DaysInMonth() &&
           date.weekday >= 1 && date.weekday <= 7 && fromFields.dayNumber == date.dayNumber;
}

bool IsTimeOfDay(const TimeOfDay& time) {
    return time.hour >= 0 && time.hour <= 23 && time.minute >= 0 && time.minute <= 59;
}

bool SameEvent(const ImportedEvent& a, const ImportedEvent& b) {
    if (a.date != b.date || a.summary != b.summary || a.time.has_value() != b.time.has_value())
        return false;
    return !a.time || (a.time->hour == b.time->hour && a.time->minute == b.time->minute);
}

bool SameEvents(const std::vector<ImportedEvent>& a, const std::vector<ImportedEvent>& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (!SameEvent(a[k], b[k]))
            return false;
    }
    return true;
}

// What an export of the diary must read back as: each timed line, at the
// time the clock shows at the moment it stands for (a time the spring change
// skips comes an hour later), without the control characters the format bans.
std::vector<ImportedEvent> TimedLines(const EventStore& diary) {
    std::vector<ImportedEvent> events;
    for (int i = 0; i < diary.GetCount(); ++i) {
        for (const std::string& text : SplitLines(diary.GetTextAt(i))) {
            const std::optional<TimedLine> line = ReadTimedLine(text);
            if (!line)
                continue;
            LocalDateTime clock;
            clock.date = diary.GetDateAt(i);
            clock.hour = line->time.hour;
            clock.minute = line->time.minute;
            clock = kLocal.ToLocal(kLocal.ToUtc(clock));
            ImportedEvent event{clock.date, TimeOfDay{clock.hour, clock.minute}, ""};
            for (const char c : line->text) {
                if (static_cast<unsigned char>(c) >= 0x20 ? c != 0x7F : c == '\t')
                    event.summary += c;
            }
            events.push_back(std::move(event));
        }
    }
    return events;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    PinNow(1796558400); // the diary file's date reader may ask for today
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ICalendarImport read = ReadICalendar(bytes, kLocal);
    if (!read.error.empty()) {
        Require(read.events.empty() && read.repeatingSkipped == 0, "a refused file gives nothing");
        return 0;
    }
    const ICalendarImport again = ReadICalendar(bytes, kLocal);
    Require(again.error.empty() && SameEvents(again.events, read.events) &&
                again.repeatingSkipped == read.repeatingSkipped,
            "the same bytes read the same");
    for (const ImportedEvent& event : read.events) {
        Require(IsRealDay(event.date), "every event falls on a real day");
        Require(!event.time || IsTimeOfDay(*event.time), "every time is one of the day");
        Require(IsValidUtf8(event.summary), "summaries are UTF-8, as the file's lines must be");
        const std::string line = EventLine(event);
        Require(line.find_first_of("\r\n") == std::string::npos, "an event makes one diary line");
        if (event.time) {
            const std::optional<TimedLine> timed = ReadTimedLine(line);
            Require(timed && timed->time.hour == event.time->hour &&
                        timed->time.minute == event.time->minute,
                    "the diary reads a timed event at its time");
        }
    }

    // The import into an empty diary, as the program makes it.
    const EventsImport imported = ImportEvents(EventStore(), read.events);
    EventStore diary;
    for (const DayChange& change : imported.changes)
        diary.Append(change.date, change.text);

    EventStore loaded;
    Require(ParseCalendar(FormatCalendar(diary), loaded), "the saved diary fits in memory");
    Require(loaded.GetCount() == diary.GetCount(), "every imported day is saved");
    for (int i = 0; i < diary.GetCount(); ++i) {
        Require(loaded.GetDateAt(i) == diary.GetDateAt(i), "imported days keep their dates");
        Require(loaded.GetTextAt(i) == diary.GetTextAt(i), "imported days keep their texts");
    }

    ICalendarExportArgs args;
    SetExportDays(args, ExportRange::Everything, Date());
    const ICalendarImport exported =
        ReadICalendar(WriteICalendar(diary, args, kLocal).bytes, kLocal);
    Require(exported.error.empty(), "the export of the imported days is read");
    Require(SameEvents(exported.events, TimedLines(diary)),
            "the export reads back as the diary's timed lines");
    return 0;
}

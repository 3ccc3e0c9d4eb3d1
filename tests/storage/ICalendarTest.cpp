#include "storage/ICalendarReader.h"
#include "storage/ICalendarText.h"
#include "storage/ICalendarWriter.h"
#include "storage/InstallationId.h"

#include "core/DayText.h"
#include "tests/support/EuropeanTime.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace {

using Strings = std::vector<std::string>;
using Properties = std::map<std::string, std::string>;

const CentralEuropeanTime kLocal;

ICalendarExport Export(const EventStore& store, const std::string& installation = "inst-1",
                       UtcSeconds stamp = SecondsOfClock(Clock(2026, 6, 1, 8, 0))) {
    return WriteICalendar(store, {Ymd(1900, 1, 1), Ymd(2100, 12, 31), stamp, installation}, kLocal);
}

// The properties of each VEVENT, read with the content-line layer alone.
std::vector<Properties> EventsOf(const std::string& bytes) {
    const ContentLines read = ReadContentLines(bytes);
    EXPECT_EQ(read.error, "");
    std::vector<Properties> events;
    for (const ContentLine& line : read.lines) {
        if (line.name == "BEGIN" && line.value == "VEVENT")
            events.emplace_back();
        else if (line.name != "END" && !events.empty())
            events.back()[line.name] = line.value;
    }
    return events;
}

Strings Values(const std::vector<Properties>& events, const std::string& name) {
    Strings values;
    for (const Properties& event : events)
        values.push_back(event.count(name) ? event.at(name) : "(none)");
    return values;
}

EventStore Diary(const std::vector<std::pair<Date, std::string>>& days) {
    EventStore store;
    for (const auto& [day, text] : days)
        store.Append(day, text);
    return store;
}

TEST(ICalendarWriter, OneEventPerTimedLineInDateOrderStartingInUtc) {
    const EventStore store = Diary({
        {Ymd(2026, 5, 2), "Notes first\r\n9:30 Dentist, Dr. Lee; room 2\r\n\r\n25:00 no hour\r\n"
                          "14.15\r\n9pm Dinner\r\n123 Main Street"},
        {Ymd(2026, 3, 29), "02:30 skipped by the clock change\r\n03:00"},
        {Ymd(2026, 10, 25), "02:30 repeated by the clock change: the first"},
        {Ymd(2026, 5, 2), "10:00 a second entry of the day is not shown, nor exported"},
        {Ymd(2027, 1, 1), "00:30 outside the range"},
        {Ymd(2026, 1, 1), "00:30 New year"},
    });
    const ICalendarExport exported =
        WriteICalendar(store, {Ymd(2026, 1, 1), Ymd(2026, 12, 31), 0, "x"}, kLocal);
    const std::vector<Properties> events = EventsOf(exported.bytes);
    EXPECT_EQ(exported.eventCount, 8);
    EXPECT_EQ(
        Values(events, "SUMMARY"),
        (Strings{"New year", "skipped by the clock change", "", "Dentist\\, Dr. Lee\\; room 2", "",
                 "Dinner", "Main Street", "repeated by the clock change: the first"}));
    EXPECT_EQ(
        Values(events, "DTSTART"),
        (Strings{"20251231T233000Z", "20260329T013000Z", "20260329T010000Z", "20260502T073000Z",
                 "20260502T121500Z", "20260502T190000Z", "20260502T100300Z", "20261025T003000Z"}));
    EXPECT_EQ(Values(events, "DURATION"), Strings(8, "PT30M"));
    EXPECT_EQ(Values(events, "DTSTAMP"), Strings(8, "19700101T000000Z"));
    const Strings head = SplitLines(exported.bytes.substr(0, exported.bytes.find("BEGIN:VEVENT")));
    EXPECT_EQ(head, (Strings{"BEGIN:VCALENDAR", "VERSION:2.0",
                             "PRODID:-//RudorAvirivi//OrvikCalendar//EN", "CALSCALE:GREGORIAN",
                             "METHOD:PUBLISH", ""}));
    EXPECT_EQ(exported.bytes.substr(exported.bytes.size() - 15), "END:VCALENDAR\r\n");
}

TEST(ICalendarWriter, UidsStayAsLongAsDayTimeAndPlaceStay) {
    const Date day = Ymd(2026, 5, 2);
    const Strings before =
        Values(EventsOf(Export(Diary({{day, "9:00 a\r\n9:00 b\r\n10:00 c"}})).bytes), "UID");
    // Other texts, other lines around them, another moment of export.
    const Strings after = Values(
        EventsOf(Export(Diary({{day, "note\r\n09:00 A\r\n10:00 C\r\n9.00 B"}}), "inst-1", 5).bytes),
        "UID");
    ASSERT_EQ(before.size(), 3u);
    EXPECT_EQ(after, (Strings{before[0], before[2], before[1]}));
    EXPECT_NE(before[0], before[1]) << "another place among the day's 09:00 lines";
    EXPECT_EQ(EventUid("inst-1", day, {9, 0}, 0), before[0]);
    for (const std::string& other :
         {EventUid("inst-1", Ymd(2026, 5, 3), {9, 0}, 0), EventUid("inst-1", day, {9, 1}, 0),
          EventUid("inst-2", day, {9, 0}, 0), EventUid("inst-1", Ymd(2027, 5, 2), {9, 0}, 0)})
        EXPECT_NE(other, before[0]);
}

TEST(ICalendarWriter, ExportsTheMonthTheYearOrEverything) {
    const EventStore store = Diary({{Ymd(2023, 12, 31), "10:00 a"},
                                    {Ymd(2024, 1, 1), "10:00 b"},
                                    {Ymd(2024, 2, 29), "10:00 c"},
                                    {Ymd(2024, 3, 1), "10:00 d"},
                                    {Ymd(2024, 12, 31), "10:00 e"},
                                    {Ymd(2025, 1, 1), "10:00 f"},
                                    {Ymd(1800, 1, 1), "10:00 g"}});
    const struct {
        ExportRange range;
        Date shown;
        Strings summaries;
    } cases[] = {
        {ExportRange::Month, Ymd(2024, 2, 15), {"c"}},
        {ExportRange::Month, Ymd(2024, 12, 1), {"e"}},
        {ExportRange::Month, Ymd(2024, 1, 31), {"b"}},
        {ExportRange::Year, Ymd(2024, 7, 1), {"b", "c", "d", "e"}},
        {ExportRange::Everything, Ymd(2024, 7, 1), {"g", "a", "b", "c", "d", "e", "f"}},
    };
    for (const auto& c : cases) {
        ICalendarExportArgs args;
        SetExportDays(args, c.range, c.shown);
        EXPECT_EQ(Values(EventsOf(WriteICalendar(store, args, kLocal).bytes), "SUMMARY"),
                  c.summaries)
            << c.shown.Format(0);
    }
}

TEST(InstallationId, KeptWhileValidElseMadeFromTheRandomBytes) {
    const InstallationRandom random = {0x00, 0x01, 0x7f, 0x80, 0xab, 0xff, 2,  3,
                                       4,    5,    6,    7,    8,    9,    10, 11};
    const std::string made = "00017f80abff02030405060708090a0b";
    const struct {
        std::string stored, kept;
    } cases[] = {
        {"", made},
        {"0123456789abcdef0123456789abcdef", "0123456789abcdef0123456789abcdef"},
        {"0123456789ABCDEF0123456789ABCDEF", made},
        {"0123456789abcdef0123456789abcde", made},
        {"0123456789abcdef0123456789abcdeg", made},
        {"0123456789abcdef0123456789abcdef0", made},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeptOrNewInstallationId(c.stored, random), c.kept) << c.stored;
}

std::string Calendar(const std::string& body) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\n" + body + "END:VCALENDAR\r\n";
}

std::string Event(const std::string& properties) {
    return "BEGIN:VEVENT\r\nUID:1\r\n" + properties + "END:VEVENT\r\n";
}

// Central European Time as Outlook writes it, under a name of its own, with
// another spring rule if need be.
std::string Zone(const std::string& id, const std::string& springRule = "BYDAY=-1SU;BYMONTH=3") {
    return "BEGIN:VTIMEZONE\r\nTZID:" + id +
           "\r\nBEGIN:STANDARD\r\nDTSTART:16010101T030000\r\nTZOFFSETFROM:+0200\r\n"
           "TZOFFSETTO:+0100\r\nRRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=10\r\nEND:STANDARD\r\n"
           "BEGIN:DAYLIGHT\r\nDTSTART:16010101T020000\r\nTZOFFSETFROM:+0100\r\n"
           "TZOFFSETTO:+0200\r\nRRULE:FREQ=YEARLY;" +
           springRule + "\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n";
}

std::string Shown(const ICalendarImport& read) {
    if (!read.error.empty())
        return "error";
    std::string shown;
    for (const ImportedEvent& event : read.events) {
        char time[16] = "all-day";
        if (event.time)
            std::snprintf(time, sizeof time, "%02d:%02d", event.time->hour, event.time->minute);
        shown +=
            Show(LocalDateTime{event.date}).substr(0, 10) + " " + time + " " + event.summary + "|";
    }
    return shown + "skipped " + std::to_string(read.repeatingSkipped);
}

TEST(ICalendarReader, EventsInLocalTime) {
    const struct {
        std::string file;
        std::string events;
    } cases[] = {
        {Calendar(Event("DTSTART:20260115T110000Z\r\nSUMMARY:utc winter\r\n")),
         "2026-01-15 12:00 utc winter|skipped 0"},
        {Calendar(Event("dtstart:20260715t223000z\r\nsummary:next day\r\n")),
         "2026-07-16 00:30 next day|skipped 0"},
        {Calendar(Event("DTSTART:20260329T023000\r\nSUMMARY:floating\r\n")),
         "2026-03-29 02:30 floating|skipped 0"},
        {Calendar(Event("DTSTART;TZID=\"Eastern Standard Time\":20260310T090000\r\n"
                        "SUMMARY:Windows name\r\n")),
         "2026-03-10 14:00 Windows name|skipped 0"},
        {Calendar(Event("DTSTART;X-A=\"a;b:c\",d;TZID=America/New_York:20260305T090000\n"
                        "SUMMARY:IANA\n")),
         "2026-03-05 15:00 IANA|skipped 0"},
        {Calendar(Event("DTSTART;TZID=Custom Berlin:20260329T023000\r\nSUMMARY:gap\r\n") +
                  Zone("Custom Berlin")),
         "2026-03-29 03:30 gap|skipped 0"},
        {Calendar(Zone("Custom Berlin") + Event("DTSTART;TZID=Custom Berlin:20261025T023000\r\n")),
         "2026-10-25 02:30 |skipped 0"},
        // A rule of another shape: the zone's name decides.
        {Calendar(Zone("Europe/London", "BYMONTHDAY=-1;BYMONTH=3") +
                  Event("DTSTART;TZID=Europe/London:20260701T120000\r\n")),
         "2026-07-01 13:00 |skipped 0"},
        {Calendar("BEGIN:VTIMEZONE\r\nTZID:Plus3\r\nBEGIN:STANDARD\r\nDTSTART:19700101T000000\r\n"
                  "TZOFFSETTO:+0300\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n" +
                  Event("DTSTART;TZID=Plus3:20260701T120000\r\n")),
         "2026-07-01 11:00 |skipped 0"},
        {Calendar(Event("DTSTART;VALUE=DATE:20260501\r\nSUMMARY:May Day\r\n")),
         "2026-05-01 all-day May Day|skipped 0"},
        {Calendar(
             Event("DTSTART;TZID=Asia/Tokyo:20260501T080000\r\nSUMMARY:a\\, b\\; c\\\\d\\ne\r\n")),
         "2026-05-01 01:00 a, b; c\\d\ne|skipped 0"},
        {Calendar(Event("DTSTART:20260501T080000Z\r\nSUMMARY:fol\r\n ded \xE2\x82\n\t\xAC\r\n")),
         "2026-05-01 10:00 folded \xE2\x82\xAC|skipped 0"},
        {Calendar(Event("DTSTART:20260501T080000\r\nRRULE:FREQ=WEEKLY\r\n") +
                  Event("DTSTART:20260501T080000\r\nRDATE:20260601T080000\r\n") +
                  Event("DTSTART:20260508T090000\r\nRECURRENCE-ID:20260508T080000\r\n") +
                  Event("DTSTART:20260502T080000\r\nSUMMARY:single\r\n")),
         "2026-05-02 08:00 single|skipped 3"},
        {Calendar(Event("DTSTART:20260502T080000\r\nSUMMARY:own\r\nBEGIN:VALARM\r\n"
                        "TRIGGER:-PT15M\r\nSUMMARY:alarm\r\nEND:VALARM\r\n")),
         "2026-05-02 08:00 own|skipped 0"},
        {Calendar("") + Calendar(Event("DTSTART:20260502T080000\r\n")),
         "2026-05-02 08:00 |skipped 0"},
        {"\xEF\xBB\xBF" + Calendar(Event("DTSTART:20260502T080000\r\n")),
         "2026-05-02 08:00 |skipped 0"},
        {Calendar(Event("DTSTART;VALUE=DATE:01000101\r\n")), "0100-01-01 all-day |skipped 0"},
        // Components nested where they have no place are passed over, and what
        // follows them still belongs to the one around them.
        {Calendar(Event("DTSTART:20260502T080000\r\nBEGIN:VEVENT\r\nDTSTART:20260503T090000\r\n"
                        "END:VEVENT\r\nSUMMARY:outer\r\n")),
         "2026-05-02 08:00 outer|skipped 0"},
        {Calendar("BEGIN:VTIMEZONE\r\nTZID:Plus3\r\nBEGIN:STANDARD\r\nDTSTART:19700101T000000\r\n"
                  "BEGIN:VTIMEZONE\r\nTZID:Inner\r\nEND:VTIMEZONE\r\nTZOFFSETTO:+0300\r\n"
                  "END:STANDARD\r\nEND:VTIMEZONE\r\n" +
                  Event("DTSTART;TZID=Plus3:20260701T120000\r\n")),
         "2026-07-01 11:00 |skipped 0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Shown(ReadICalendar(c.file, kLocal)), c.events) << c.file;
}

TEST(ICalendarReader, RefusesBadFilesWhole) {
    const std::string good = Event("DTSTART:20260502T080000\r\nSUMMARY:good\r\n");
    const std::string cases[] = {
        "",
        "Hello, world",
        "<html><body>BEGIN:VCALENDAR</body></html>",
        "BEGIN:VCARD\r\nEND:VCARD\r\n",
        "BEGIN:VCALENDAR\r\n" + good,
        Calendar(good + Event("SUMMARY:no start\r\n")),
        Calendar(good + Event("DTSTART:2026-05-02 08:00\r\n")),
        Calendar(good + Event("DTSTART:20260230T080000\r\n")),
        Calendar(good + Event("DTSTART;VALUE=DATE:20260502T080000\r\n")),
        // Years a diary cannot hold: 26 would come back from its file as 1926.
        Calendar(good + Event("DTSTART:00260601T100000Z\r\n")),
        Calendar(good + Event("DTSTART:99991231T233000Z\r\n")),
        Calendar(good + Event("DTSTART;TZID=Nowhere/Land:20260502T080000\r\n")),
        Calendar(good + Zone("Custom", "BYMONTHDAY=-1;BYMONTH=3") +
                 Event("DTSTART;TZID=Custom:20260502T080000\r\n")),
        Calendar(good + Event("DTSTART:20260502T080000\r\nSUMMARY:caf\xE9\r\n")),
        Calendar(good + "this line is junk\r\n"),
        " BEGIN:VCALENDAR\r\n" + Calendar(good),
        Calendar(good + ":no name\r\n"),
        Calendar(good + "X-A;P=\"unclosed:value\r\n"),
        Calendar(good + "X-A;P:value\r\n"),
        Calendar(good + "BEGIN:VEVENT\r\nDTSTART:20260502T080000\r\nEND:VTODO\r\n"),
        Calendar(good) + "DTSTART:20260502T080000\r\n",
        Calendar(good) + std::string(kMaxICalendarBytes, ' '),
    };
    for (const std::string& file : cases) {
        const ICalendarImport read = ReadICalendar(file, kLocal);
        EXPECT_NE(read.error, "") << file.substr(0, 200);
        EXPECT_TRUE(read.events.empty()) << file.substr(0, 200);
    }
    EXPECT_EQ(
        ReadICalendar(Calendar(Event("DTSTART;TZID=Nowhere:20260502T080000\r\n")), kLocal).error,
        "An event uses the time zone \"Nowhere\", which the file does not define and which "
        "is not known (line 6).");
}

TEST(ICalendar, WrittenEventsReadBackAtTheirLocalTimes) {
    std::mt19937 random(11);
    const Strings texts = {"Dentist", "a, b; c\\d",
                           "Gr\xC3\xBC\xC3\x9F"
                           "e \xF0\x9F\x8E\x82",
                           std::string(90, 'x') + "\xE6\x97\xA5\xE6\x9C\xAC", ""};
    EventStore store;
    Strings expected;
    for (Date day = Ymd(2026, 1, 1); day < Ymd(2028, 1, 1); day.SubtractDays(-1)) {
        if (random() % 3 != 0 && day.month != 3 && day.month != 10)
            continue;
        std::string text;
        for (int line = static_cast<int>(random() % 4); line > 0; --line) {
            const int hour = static_cast<int>(random() % 24);
            const int minute = static_cast<int>(random() % 60);
            const std::string summary = texts[random() % texts.size()];
            char time[8];
            std::snprintf(time, sizeof time, "%d:%02d", hour, minute);
            text += std::string(time) + " " + summary + "\r\nnot an event\r\n";
            // A time that the spring change skips comes back an hour later.
            const bool skipped = hour == 2 && day.month == 3 && day.weekday == 1 && day.day > 24;
            std::snprintf(time, sizeof time, "%02d:%02d", skipped ? 3 : hour, minute);
            expected.push_back(Show(LocalDateTime{day}).substr(0, 10) + " " + time + " " + summary +
                               "|");
        }
        store.Append(day, text);
    }
    const ICalendarImport read = ReadICalendar(Export(store).bytes, kLocal);
    std::string all;
    for (const std::string& event : expected)
        all += event;
    EXPECT_EQ(Shown(read), all + "skipped 0");
}

} // namespace

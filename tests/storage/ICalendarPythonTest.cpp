// Exports and the fuzz seeds read by an independent parser, Debian's python3-icalendar.
#include "storage/ICalendarReader.h"
#include "storage/ICalendarWriter.h"

#include "tests/support/EuropeanTime.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

namespace {

struct PythonRun {
    bool succeeded = false;
    std::string output; // its error report too
};

PythonRun RunPython(const std::string& script, const std::string& path) {
    const std::string command = "/usr/bin/python3 '" + script + "' '" + path + "' 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    EXPECT_NE(pipe, nullptr);
    PythonRun run;
    char chunk[4096];
    std::size_t got;
    while (pipe && (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
        run.output.append(chunk, got);
    const int status = pipe ? pclose(pipe) : -1;
    run.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

class ICalendarByPython : public TempFolderTest {
  protected:
    // The events as the script prints them; fails the test when Python reports anything.
    std::string ReadWithPython(const std::string& bytes) {
        const std::string path = PathOf("export.ics");
        WriteBytes(path, bytes);
        const PythonRun run = RunPython(ORVIK_ICS_SCRIPT, path);
        EXPECT_TRUE(run.succeeded)
            << run.output << "(scripts/common.sh installs python3-icalendar)";
        return run.output;
    }
};

TEST_F(ICalendarByPython, ReadsEveryEventWithItsUtcStartSummaryAndUid) {
    const std::string longText = "Long: " + std::string(60, '=') +
                                 " \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xF0\x9F\x8E\x82,;\\ end";
    EventStore store;
    store.Append(Ymd(2026, 3, 29), "9:30 Dentist, Dr. Lee; room 2\r\n02:30 skipped hour\r\n"
                                   "09:30 Dentist, Dr. Lee; room 2");
    store.Append(Ymd(2026, 10, 25), "2:30 repeated hour\r\n23:45 " + longText);
    const struct {
        Date day;
        TimeOfDay time;
        int ordinal;
        const char* start;
        std::string summary;
    } events[] = {
        {Ymd(2026, 3, 29), {9, 30}, 0, "20260329T073000Z", "Dentist, Dr. Lee; room 2"},
        {Ymd(2026, 3, 29), {2, 30}, 0, "20260329T013000Z", "skipped hour"},
        {Ymd(2026, 3, 29), {9, 30}, 1, "20260329T073000Z", "Dentist, Dr. Lee; room 2"},
        {Ymd(2026, 10, 25), {2, 30}, 0, "20261025T003000Z", "repeated hour"},
        {Ymd(2026, 10, 25), {23, 45}, 0, "20261025T224500Z", longText},
    };
    std::string expected = "2.0\t-//RudorAvirivi//OrvikCalendar//EN\tGREGORIAN\tPUBLISH\n";
    for (const auto& e : events)
        expected += EventUid("install", e.day, e.time, e.ordinal) + "\t" + e.start + "\t" +
                    e.summary + "\t1800\t20260601T080000Z\n";
    const ICalendarExport exported = WriteICalendar(
        store,
        {Ymd(2026, 1, 1), Ymd(2026, 12, 31), SecondsOfClock(Clock(2026, 6, 1, 8, 0)), "install"},
        CentralEuropeanTime());
    EXPECT_EQ(ReadWithPython(exported.bytes), expected);
}

// The events as ics_local_events.py prints them.
std::string Shown(const ICalendarImport& read) {
    std::string shown;
    for (const ImportedEvent& event : read.events) {
        char when[32];
        std::snprintf(when, sizeof when, "%04d-%02d-%02d ", event.date.year, event.date.month,
                      event.date.day);
        shown += when;
        if (event.time) {
            std::snprintf(when, sizeof when, "%02d:%02d ", event.time->hour, event.time->minute);
            shown += when;
        } else {
            shown += "all-day ";
        }
        for (const char c : event.summary) {
            const char* escape = c == '\\'   ? "\\\\"
                                 : c == '\r' ? "\\r"
                                 : c == '\n' ? "\\n"
                                 : c == '\t' ? "\\t"
                                             : nullptr;
            if (escape)
                shown += escape;
            else
                shown += c;
        }
        shown += "\n";
    }
    return shown;
}

// Only the files both read are compared: the reader refuses a file whole for
// one bad event or an unknown TZID (which python3-icalendar takes as
// floating), and python3-icalendar refuses more than one VCALENDAR. Python
// reads Europe/Berlin from the tz database, which has had the rules of
// CentralEuropeanTime since 1996.
TEST(ICalendarSeedsByPython, SingleEventsAgreeInLocalDayTimeAndSummary) {
    const CentralEuropeanTime local;
    int compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ORVIK_ICS_SEEDS)) {
        const std::string path = entry.path().string();
        const ICalendarImport read = ReadICalendar(ReadWholeFile(path), local);
        const PythonRun python = RunPython(ORVIK_ICS_LOCAL_SCRIPT, path);
        if (!read.error.empty() || !python.succeeded)
            continue;
        EXPECT_EQ(Shown(read), python.output) << path;
        ++compared;
    }
    // All seeds but the damaged one: a reader that refused them would compare nothing.
    EXPECT_GE(compared, 8) << "(scripts/common.sh installs python3-icalendar)";
}

} // namespace

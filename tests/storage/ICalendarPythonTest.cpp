// An export read by an independent parser, Debian's python3-icalendar.
#include "storage/ICalendarWriter.h"

#include "core/DayText.h"
#include "tests/storage/TempFolder.h"
#include "tests/support/EuropeanTime.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

namespace {

class ICalendarByPython : public TempFolderTest {
  protected:
    // The events as the script prints them; fails the test when Python reports anything.
    std::string ReadWithPython(const std::string& bytes) {
        const std::string path = PathOf("export.ics");
        WriteBytes(path, bytes);
        const std::string command = "/usr/bin/python3 '" ORVIK_ICS_SCRIPT "' '" + path + "' 2>&1";
        std::FILE* pipe = popen(command.c_str(), "r");
        EXPECT_NE(pipe, nullptr);
        std::string output;
        char chunk[4096];
        std::size_t got;
        while (pipe && (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
            output.append(chunk, got);
        const int status = pipe ? pclose(pipe) : -1;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << output << "(scripts/common.sh installs python3-icalendar)";
        return output;
    }
};

TEST_F(ICalendarByPython, ReadsEveryEventWithItsUtcStartSummaryAndUid) {
    const std::string longText = "Long: " + std::string(60, '=') +
                                 " \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xF0\x9F\x8E\x82,;\\ end";
    const struct {
        Date day;
        std::string line;
        const char* start;
        std::string summary;
    } cases[] = {
        {Ymd(2026, 1, 15), "9:30 Dentist, Dr. Lee; room 2", "20260115T083000Z",
         "Dentist, Dr. Lee; room 2"},
        {Ymd(2026, 1, 15), "9:30 Dentist, Dr. Lee; room 2", "20260115T083000Z",
         "Dentist, Dr. Lee; room 2"},
        {Ymd(2026, 3, 29), "02:30 skipped hour", "20260329T013000Z", "skipped hour"},
        {Ymd(2026, 3, 29), "03:15 C:\\path\\file", "20260329T011500Z", "C:\\path\\file"},
        {Ymd(2026, 7, 1), "23:45 " + longText, "20260701T214500Z", longText},
        {Ymd(2026, 10, 25),
         "2:30pm Gr\xC3\xBC\xC3\x9F"
         "e",
         "20261025T133000Z",
         "Gr\xC3\xBC\xC3\x9F"
         "e"},
        {Ymd(2026, 10, 25), "2:30 repeated hour", "20261025T003000Z", "repeated hour"},
    };
    EventStore store;
    std::string expected = "2.0\t-//RudorAvirivi//OrvikCalendar//EN\tGREGORIAN\tPUBLISH\n";
    int ordinal = 0;
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const auto& c = cases[k];
        const bool sameDayAsBefore = k > 0 && cases[k - 1].day == c.day;
        const std::string text = sameDayAsBefore ? store.Lookup(c.day) + "\r\n" + c.line : c.line;
        store.SetDayText(c.day, text);
        const bool sameTimeAsBefore = sameDayAsBefore && cases[k - 1].line == c.line;
        ordinal = sameTimeAsBefore ? ordinal + 1 : 0;
        const TimeOfDay time = ReadTimedLine(c.line)->time;
        expected += EventUid("install", c.day, time, ordinal) + "\t" + c.start + "\t" + c.summary +
                    "\t1800\t20260601T080000Z\n";
    }
    const ICalendarExport exported = WriteICalendar(
        store,
        {Ymd(2026, 1, 1), Ymd(2026, 12, 31), SecondsOfClock(Clock(2026, 6, 1, 8, 0)), "install"},
        CentralEuropeanTime());
    EXPECT_EQ(ReadWithPython(exported.bytes), expected);
}

} // namespace

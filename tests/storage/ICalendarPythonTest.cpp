// An export read by an independent parser, Debian's python3-icalendar.
#include "storage/ICalendarWriter.h"

#include "tests/support/EuropeanTime.h"
#include "tests/support/TempFolder.h"

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

} // namespace

#include "core/KnownTimeZones.h"
#include "core/YearlyTimeRules.h"
#include "tests/support/EuropeanTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

const UtcSeconds kHour = 3600;

// The moments from start to end at which two rule sets give different
// offsets, the first few of them shown. Changes of the reference fall on full
// hours: the offsets are compared every twelve hours and, where the
// reference changes in between, at every hour and the second before it.
int Differences(const TimeRules& ours, const TimeRules& reference, const char* name,
                UtcSeconds start, UtcSeconds end) {
    int differences = 0;
    const auto compare = [&](UtcSeconds moment) {
        if (ours.OffsetAt(moment) != reference.OffsetAt(moment) && ++differences <= 3)
            ADD_FAILURE() << name << " at " << ShowUtc(moment) << ": ours " << ours.OffsetAt(moment)
                          << ", reference " << reference.OffsetAt(moment);
    };
    const UtcSeconds step = 12 * kHour;
    for (UtcSeconds moment = start; moment < end; moment += step) {
        compare(moment);
        if (reference.OffsetAt(moment) == reference.OffsetAt(moment + step))
            continue;
        for (UtcSeconds hour = moment + kHour; hour < moment + step; hour += kHour) {
            compare(hour - 1);
            compare(hour);
        }
    }
    return differences;
}

TEST(TimeRules, LocalToUtcAcrossTheDaylightSavingChanges) {
    const CentralEuropeanTime cet;
    const struct {
        LocalDateTime clock;
        const char* utc;
    } cases[] = {
        {Clock(2026, 1, 15, 12, 0), "2026-01-15 11:00:00Z"},
        {Clock(2026, 7, 15, 12, 0), "2026-07-15 10:00:00Z"},
        {Clock(2026, 3, 29, 1, 59, 59), "2026-03-29 00:59:59Z"},
        // Skipped by the spring change: read with the winter offset, so 02:30 is 03:30 summer time.
        {Clock(2026, 3, 29, 2, 0), "2026-03-29 01:00:00Z"},
        {Clock(2026, 3, 29, 2, 30), "2026-03-29 01:30:00Z"},
        {Clock(2026, 3, 29, 3, 0), "2026-03-29 01:00:00Z"},
        {Clock(2026, 10, 25, 1, 59), "2026-10-24 23:59:00Z"},
        // Repeated by the autumn change: the first, summer-time occurrence.
        {Clock(2026, 10, 25, 2, 0), "2026-10-25 00:00:00Z"},
        {Clock(2026, 10, 25, 2, 59), "2026-10-25 00:59:00Z"},
        {Clock(2026, 10, 25, 3, 0), "2026-10-25 02:00:00Z"},
        {Clock(2026, 1, 1, 0, 30), "2025-12-31 23:30:00Z"},
        {Clock(1969, 7, 1, 0, 0), "1969-06-30 22:00:00Z"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShowUtc(cet.ToUtc(c.clock)), c.utc) << Show(c.clock);
}

TEST(TimeRules, UtcToLocalAndBackThroughAYear) {
    const CentralEuropeanTime cet;
    int repeated = 0;
    const UtcSeconds start = SecondsOfClock(Clock(2026, 1, 1, 0, 0));
    for (UtcSeconds moment = start; moment < start + 366 * 24 * kHour; moment += kHour / 4) {
        const UtcSeconds back = cet.ToUtc(cet.ToLocal(moment));
        if (back == moment)
            continue;
        // Only the second pass through the repeated hour reads back as the first.
        ++repeated;
        EXPECT_EQ(back, moment - kHour) << ShowUtc(moment) << " came back as " << ShowUtc(back);
    }
    EXPECT_EQ(repeated, 4) << "the quarters of one repeated hour";
}

TEST(YearlyTimeRules, DayOfChange) {
    const struct {
        int year;
        YearlyChange change;
        int day;
    } cases[] = {
        {2026, {3, -1, 1, 0}, 29}, {2027, {3, -1, 1, 0}, 28}, {2026, {3, 2, 1, 0}, 8},
        {2026, {11, 1, 1, 0}, 1},  {2026, {10, 1, 1, 0}, 4},  {2026, {9, -1, 1, 0}, 27},
        {2026, {3, 5, 1, 0}, 29},  {2026, {3, 5, 3, 0}, 31},  {2026, {3, -2, 1, 0}, 22},
        {2026, {2, -1, 7, 0}, 28}, {2024, {2, 5, 5, 0}, 29},  {2026, {2, 1, 1, 0}, 1},
    };
    for (const auto& c : cases) {
        const Date day = DayOfChange(c.year, c.change);
        EXPECT_EQ(day, Ymd(c.year, c.change.month, c.day))
            << c.year << " month " << c.change.month << " week " << c.change.week << " weekday "
            << c.change.weekday << ": " << day.Format(0);
    }
}

TEST(YearlyTimeRules, AgreeWithTheEuropeanRulesWrittenOut) {
    const CentralEuropeanTime reference;
    const TimeRules* berlin = FindKnownTimeZone("Europe/Berlin");
    ASSERT_NE(berlin, nullptr);
    EXPECT_EQ(Differences(*berlin, reference, "Europe/Berlin",
                          SecondsOfClock(Clock(1980, 1, 1, 0, 0)),
                          SecondsOfClock(Clock(2100, 1, 1, 0, 0))),
              0);
}

TEST(KnownTimeZones, ChangesOfZonesEverywhere) {
    const struct {
        const char* name;
        LocalDateTime utc;
        double hours; // east of UTC
    } cases[] = {
        {"Eastern Standard Time", Clock(2026, 3, 8, 6, 59), -5},
        {"america/new_york", Clock(2026, 3, 8, 7, 0), -4},
        {"America/New_York", Clock(2026, 11, 1, 5, 59), -4},
        {"America/New_York", Clock(2026, 11, 1, 6, 0), -5},
        {"Pacific Standard Time", Clock(2026, 7, 1, 0, 0), -7},
        {"GMT Standard Time", Clock(2026, 3, 29, 1, 0), 1},
        {"Europe/London", Clock(2026, 3, 29, 0, 59), 0},
        {"FLE Standard Time", Clock(2026, 10, 25, 0, 59), 3},
        {"Europe/Helsinki", Clock(2026, 10, 25, 1, 0), 2},
        {"Australia/Sydney", Clock(2026, 4, 4, 15, 59), 11},
        {"AUS Eastern Standard Time", Clock(2026, 4, 4, 16, 0), 10},
        {"Australia/Sydney", Clock(2026, 10, 3, 16, 0), 11},
        {"Pacific/Auckland", Clock(2026, 9, 26, 14, 0), 13},
        {"India Standard Time", Clock(2026, 7, 1, 0, 0), 5.5},
        {"Asia/Tokyo", Clock(2026, 7, 1, 0, 0), 9},
        {"UTC", Clock(2026, 7, 1, 0, 0), 0},
    };
    for (const auto& c : cases) {
        const TimeRules* zone = FindKnownTimeZone(c.name);
        ASSERT_NE(zone, nullptr) << c.name;
        EXPECT_EQ(zone->OffsetAt(SecondsOfClock(c.utc)), static_cast<int>(c.hours * 3600))
            << c.name << " at " << Show(c.utc);
    }
    EXPECT_EQ(FindKnownTimeZone("Mars/Olympus_Mons"), nullptr);
    EXPECT_EQ(FindKnownTimeZone("Europe/Berlin "), nullptr);
}

#ifndef _WIN32
// The C library's zone database, one zone at a time through TZ.
class TimeZoneVariable {
  public:
    explicit TimeZoneVariable(const char* zone) {
        if (const char* old = std::getenv("TZ"))
            saved = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZoneVariable() {
        if (saved.empty())
            unsetenv("TZ");
        else
            setenv("TZ", saved.c_str(), 1);
        tzset();
    }

  private:
    std::string saved;
};

TEST(KnownTimeZones, AgreeWithTheZoneDatabase) {
    const char* const names[] = {
        "Etc/UTC",
        "Europe/London",
        "Europe/Dublin",
        "Europe/Lisbon",
        "Europe/Berlin",
        "Europe/Amsterdam",
        "Europe/Rome",
        "Europe/Vienna",
        "Europe/Zurich",
        "Europe/Stockholm",
        "Europe/Oslo",
        "Europe/Paris",
        "Europe/Brussels",
        "Europe/Madrid",
        "Europe/Copenhagen",
        "Europe/Prague",
        "Europe/Budapest",
        "Europe/Belgrade",
        "Europe/Warsaw",
        "Europe/Zagreb",
        "Europe/Helsinki",
        "Europe/Kyiv",
        "Europe/Riga",
        "Europe/Sofia",
        "Europe/Athens",
        "Europe/Bucharest",
        "Europe/Moscow",
        "Europe/Istanbul",
        "America/New_York",
        "America/Toronto",
        "America/Chicago",
        "America/Denver",
        "America/Phoenix",
        "America/Los_Angeles",
        "America/Anchorage",
        "Pacific/Honolulu",
        "America/Halifax",
        "America/Mexico_City",
        "America/Sao_Paulo",
        "America/Argentina/Buenos_Aires",
        "Africa/Johannesburg",
        "Asia/Dubai",
        "Asia/Kolkata",
        "Asia/Shanghai",
        "Asia/Hong_Kong",
        "Asia/Singapore",
        "Asia/Tokyo",
        "Asia/Seoul",
        "Australia/Brisbane",
        "Australia/Sydney",
        "Australia/Melbourne",
        "Pacific/Auckland",
    };
    for (const char* name : names) {
        const TimeRules* ours = FindKnownTimeZone(name);
        ASSERT_NE(ours, nullptr) << name;
        const TimeZoneVariable zone(name);
        EXPECT_EQ(Differences(*ours, CLibraryTimeRules(), name,
                              SecondsOfClock(Clock(2024, 1, 1, 0, 0)),
                              SecondsOfClock(Clock(2031, 1, 1, 0, 0))),
                  0);
    }
}

TEST(CLibraryTimeRules, SkippedAndRepeatedHoursAsEverywhere) {
    const TimeZoneVariable zone("Europe/Berlin");
    const CLibraryTimeRules library;
    const CentralEuropeanTime reference;
    for (const LocalDateTime& clock :
         {Clock(2026, 3, 29, 2, 30), Clock(2026, 10, 25, 2, 30), Clock(2026, 7, 1, 9, 0)}) {
        EXPECT_EQ(ShowUtc(library.ToUtc(clock)), ShowUtc(reference.ToUtc(clock))) << Show(clock);
    }
}
#endif

} // namespace

#include "core/KnownTimeZones.h"
#include "core/YearlyTimeRules.h"
#include "tests/support/EuropeanTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <sstream>

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
        {Clock(2026, 3, 29, 1, 59, 59), "2026-03-29 00:59:59Z"},
        // Skipped by the spring change: read with the winter offset, so 02:30 is 03:30 summer time.
        {Clock(2026, 3, 29, 2, 30), "2026-03-29 01:30:00Z"},
        {Clock(2026, 3, 29, 3, 0), "2026-03-29 01:00:00Z"},
        {Clock(2026, 10, 25, 1, 59), "2026-10-24 23:59:00Z"},
        // Repeated by the autumn change: the first, summer-time occurrence.
        {Clock(2026, 10, 25, 2, 0), "2026-10-25 00:00:00Z"},
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
    // Sundays of 2026: 1 and 8 March, 22 and 29 March, 4 October, 1 November.
    const struct {
        YearlyChange change;
        int day;
    } cases[] = {
        {{3, 1, 1, 0}, 1},   {{3, 2, 1, 0}, 8},   {{3, -1, 1, 0}, 29}, {{3, -2, 1, 0}, 22},
        {{3, 5, 1, 0}, 29},  {{3, 5, 3, 0}, 31},  {{10, 1, 1, 0}, 4},  {{11, 1, 1, 0}, 1},
        {{2, -1, 7, 0}, 28}, {{2, -1, 1, 0}, 22},
    };
    for (const auto& c : cases) {
        const Date day = DayOfChange(2026, c.change);
        EXPECT_EQ(day, Ymd(2026, c.change.month, c.day))
            << "month " << c.change.month << " week " << c.change.week << " weekday "
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

TEST(KnownTimeZones, ByWindowsOrIanaNameInAnyCase) {
    const struct {
        const char* name;
        LocalDateTime utc;
        double hours; // east of UTC
    } cases[] = {
        {"Eastern Standard Time", Clock(2026, 3, 8, 6, 59), -5},
        {"america/new_york", Clock(2026, 3, 8, 7, 0), -4},
        {"AUS Eastern Standard Time", Clock(2026, 4, 4, 16, 0), 10},
        {"India Standard Time", Clock(2026, 7, 1, 0, 0), 5.5},
    };
    for (const auto& c : cases) {
        const TimeRules* zone = FindKnownTimeZone(c.name);
        ASSERT_NE(zone, nullptr) << c.name;
        EXPECT_EQ(zone->OffsetAt(SecondsOfClock(c.utc)), static_cast<int>(c.hours * 3600))
            << c.name << " at " << Show(c.utc);
    }
    EXPECT_EQ(FindKnownTimeZone("Mars/Olympus_Mons"), nullptr);
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
    std::istringstream names(
        "Etc/UTC Europe/London Europe/Dublin Europe/Lisbon Europe/Berlin Europe/Amsterdam "
        "Europe/Rome Europe/Vienna Europe/Zurich Europe/Stockholm Europe/Oslo Europe/Paris "
        "Europe/Brussels Europe/Madrid Europe/Copenhagen Europe/Prague Europe/Budapest "
        "Europe/Belgrade Europe/Warsaw Europe/Zagreb Europe/Helsinki Europe/Kyiv Europe/Riga "
        "Europe/Sofia Europe/Athens Europe/Bucharest Europe/Moscow Europe/Istanbul "
        "America/New_York America/Toronto America/Chicago America/Denver America/Phoenix "
        "America/Los_Angeles America/Anchorage Pacific/Honolulu America/Halifax "
        "America/Mexico_City America/Sao_Paulo America/Argentina/Buenos_Aires "
        "Africa/Johannesburg Asia/Dubai Asia/Kolkata Asia/Shanghai Asia/Hong_Kong "
        "Asia/Singapore Asia/Tokyo Asia/Seoul Australia/Brisbane Australia/Sydney "
        "Australia/Melbourne Pacific/Auckland");
    for (std::string name; names >> name;) {
        const TimeRules* ours = FindKnownTimeZone(name);
        ASSERT_NE(ours, nullptr) << name;
        const TimeZoneVariable zone(name.c_str());
        EXPECT_EQ(Differences(*ours, CLibraryTimeRules(), name.c_str(),
                              SecondsOfClock(Clock(2024, 1, 1, 0, 0)),
                              SecondsOfClock(Clock(2031, 1, 1, 0, 0))),
                  0);
    }
}

#endif

} // namespace

#include "core/Now.h"
#include "tests/support/DateHelpers.h"

#include <gtest/gtest.h>

namespace {

// Minutes since the start of day 0 that a local clock shows.
long long ClockMinutes(const Date& day, int hour, int minute) {
    return static_cast<long long>(day.dayNumber) * 24 * 60 + hour * 60 + minute;
}
long long ClockMinutes(const std::tm& local) {
    return ClockMinutes(Date(local), local.tm_hour, local.tm_min);
}

// Every quarter hour of a year, in the zone the tests run in: a time the
// clock shows comes back as itself, and a time it skips as the moment of the
// jump, when the clock goes from before it to after it. Returns how many
// were skipped.
int RoundTripAYear(int year) {
    int skipped = 0;
    std::time_t previous = 0;
    for (Date day = Ymd(year, 1, 1); day.year == year; day.SubtractDays(-1)) {
        for (int minute = 0; minute < 24 * 60; minute += 15) {
            const std::time_t moment = FromLocalTime(day, minute / 60, minute % 60);
            const long long wanted = ClockMinutes(day, minute / 60, minute % 60);
            const std::tm shown = ToLocalTime(moment);
            if (ClockMinutes(shown) != wanted || shown.tm_sec != 0) {
                ++skipped;
                EXPECT_GT(ClockMinutes(shown), wanted) << day.Format(0) << " " << minute;
                EXPECT_LT(ClockMinutes(ToLocalTime(moment - 1)), wanted) << day.Format(0);
            }
            EXPECT_GE(moment, previous) << day.Format(0) << " " << minute;
            previous = moment;
        }
    }
    return skipped;
}

TEST(FromLocalTime, GivesBackTheTimesTheClockShows) {
    RoundTripAYear(2026);
}

#ifndef _WIN32
TEST(FromLocalTime, SkippedAndRepeatedHours) {
    const CentralEuropeanTime zone;
    EXPECT_EQ(RoundTripAYear(2026), 4) << "02:00, 02:15, 02:30 and 02:45 of 29 March";
    const struct {
        int month, day, hour, minute;
        std::time_t moment;
    } cases[] = {
        {1, 1, 0, 0, UtcMoment(2025, 12, 31, 23, 0)},
        {7, 1, 12, 0, UtcMoment(2026, 7, 1, 10, 0)},
        {3, 29, 1, 59, UtcMoment(2026, 3, 29, 0, 59)},
        {3, 29, 2, 0, UtcMoment(2026, 3, 29, 1, 0)}, // skipped: the jump
        {3, 29, 2, 30, UtcMoment(2026, 3, 29, 1, 0)},
        {3, 29, 3, 0, UtcMoment(2026, 3, 29, 1, 0)},
        {3, 29, 3, 1, UtcMoment(2026, 3, 29, 1, 1)},
        {10, 25, 1, 59, UtcMoment(2026, 10, 24, 23, 59)},
        {10, 25, 2, 0, UtcMoment(2026, 10, 25, 0, 0)}, // repeated: the first pass
        {10, 25, 2, 30, UtcMoment(2026, 10, 25, 0, 30)},
        {10, 25, 2, 59, UtcMoment(2026, 10, 25, 0, 59)},
        {10, 25, 3, 0, UtcMoment(2026, 10, 25, 2, 0)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FromLocalTime(Ymd(2026, c.month, c.day), c.hour, c.minute), c.moment)
            << c.month << "/" << c.day << " " << c.hour << ":" << c.minute;
    }
}
#endif

} // namespace

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
TEST(FromLocalTime, SkipsOneHourAYearInCentralEurope) {
    const ProcessInCentralEurope zone;
    EXPECT_EQ(RoundTripAYear(2026), 4) << "02:00, 02:15, 02:30 and 02:45 of 29 March";
}
#endif

} // namespace

#include "core/YearlyTimeRules.h"

namespace {

UtcSeconds MomentOfChange(int year, const YearlyChange& change, int offsetBefore) {
    LocalDateTime clock;
    clock.date = DayOfChange(year, change);
    return SecondsOfClock(clock) + change.secondsIntoDay - offsetBefore;
}

} // namespace

Date DayOfChange(int year, const YearlyChange& change) {
    Date first(change.month, year);
    if (change.week > 0) {
        Date day(first.dayNumber +
                 static_cast<std::uint32_t>((change.weekday - first.weekday + 7) % 7 +
                                            7 * (change.week - 1)));
        // The fifth weekday that is not in the month is the last one.
        while (day.month != change.month)
            day.SubtractDays(7);
        return day;
    }
    Date last = Date(first).NextMonth().SubtractDays(1);
    return Date(last.dayNumber -
                static_cast<std::uint32_t>((last.weekday - change.weekday + 7) % 7 +
                                           7 * (-change.week - 1)));
}

int YearlyTimeRules::OffsetAt(UtcSeconds moment) const {
    if (!daylight)
        return standardOffset;
    const int year = ClockOfSeconds(moment + standardOffset).date.year;
    const UtcSeconds starts = MomentOfChange(year, daylight->starts, standardOffset);
    const UtcSeconds ends = MomentOfChange(year, daylight->ends, daylight->offset);
    // South of the equator daylight saving spans the turn of the year.
    const bool inDaylight =
        starts < ends ? moment >= starts && moment < ends : moment >= starts || moment < ends;
    return inDaylight ? daylight->offset : standardOffset;
}

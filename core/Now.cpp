#include "core/Now.h"

#include <cstdint>

namespace {

bool pinned = false;
std::time_t pinnedMoment = 0;

const std::int64_t kSecondsPerDay = 24 * 60 * 60;
const std::int64_t kDayNumberOf1970 = 2440588; // 1 January 1970

// A local time in seconds since 1970, counted as if the zone were UTC.
std::int64_t ClockReading(const Date& day, int hour, int minute, int second) {
    return (static_cast<std::int64_t>(day.dayNumber) - kDayNumberOf1970) * kSecondsPerDay +
           hour * 60 * 60 + minute * 60 + second;
}

// How far the local clock is ahead of UTC at that moment.
std::int64_t OffsetAt(std::int64_t moment) {
    const std::tm local = ToLocalTime(static_cast<std::time_t>(moment));
    return ClockReading(Date(local), local.tm_hour, local.tm_min, local.tm_sec) - moment;
}

} // namespace

std::time_t Now() {
    return pinned ? pinnedMoment : std::time(nullptr);
}

std::tm LocalNow() {
    return ToLocalTime(Now());
}

std::tm ToLocalTime(std::time_t moment) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &moment);
#else
    localtime_r(&moment, &local);
#endif
    return local;
}

std::time_t FromLocalTime(const Date& day, int hour, int minute) {
    const std::int64_t reading = ClockReading(day, hour, minute, 0);
    // Zones change their offset at most once within a few days, so the
    // offsets of a day before and a day after are the only ones to try.
    const std::int64_t before = OffsetAt(reading - kSecondsPerDay);
    if (OffsetAt(reading - before) == before)
        return static_cast<std::time_t>(reading - before);
    const std::int64_t after = OffsetAt(reading + kSecondsPerDay);
    if (OffsetAt(reading - after) == after)
        return static_cast<std::time_t>(reading - after);
    // The clock jumped over the time; the jump lies between the two readings.
    std::int64_t stillBefore = reading - after;
    std::int64_t alreadyAfter = reading - before;
    while (alreadyAfter - stillBefore > 1) {
        const std::int64_t middle = stillBefore + (alreadyAfter - stillBefore) / 2;
        if (OffsetAt(middle) == before)
            stillBefore = middle;
        else
            alreadyAfter = middle;
    }
    return static_cast<std::time_t>(alreadyAfter);
}

void PinNow(std::time_t moment) {
    pinned = true;
    pinnedMoment = moment;
}

void UnpinNow() {
    pinned = false;
}

#include "core/TimeRules.h"

#include <ctime>

namespace {

const std::int64_t kSecondsPerDay = 86400;
const std::int64_t kDayNumberOf1970 = 2440588; // 1 January 1970

// Rounds towards minus infinity, so moments before 1970 fall on their own day.
std::int64_t FloorDivide(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return (value % divisor < 0) ? quotient - 1 : quotient;
}

bool ToLocalFields(UtcSeconds moment, std::tm& local) {
    const std::time_t time = static_cast<std::time_t>(moment);
#ifdef _WIN32
    return localtime_s(&local, &time) == 0;
#else
    return localtime_r(&time, &local) != nullptr;
#endif
}

} // namespace

std::int64_t SecondsOfClock(const LocalDateTime& clock) {
    const std::int64_t days = static_cast<std::int64_t>(clock.date.dayNumber) - kDayNumberOf1970;
    return days * kSecondsPerDay + clock.hour * 3600 + clock.minute * 60 + clock.second;
}

LocalDateTime ClockOfSeconds(std::int64_t seconds) {
    const std::int64_t days = FloorDivide(seconds, kSecondsPerDay);
    const int rest = static_cast<int>(seconds - days * kSecondsPerDay);
    LocalDateTime clock;
    clock.date = Date(static_cast<std::uint32_t>(days + kDayNumberOf1970));
    clock.hour = rest / 3600;
    clock.minute = rest / 60 % 60;
    clock.second = rest % 60;
    return clock;
}

UtcSeconds TimeRules::ToUtc(const LocalDateTime& clock) const {
    const std::int64_t wall = SecondsOfClock(clock);
    // The offsets a day before and a day after; with at most one change
    // between them, the reading is one of these (or lies in a skipped stretch).
    const int before = OffsetAt(wall - kSecondsPerDay);
    const int after = OffsetAt(wall + kSecondsPerDay);
    const bool beforeFits = OffsetAt(wall - before) == before;
    const bool afterFits = OffsetAt(wall - after) == after;
    if (beforeFits && afterFits)
        return wall - (before > after ? before : after); // the first occurrence
    if (afterFits)
        return wall - after;
    return wall - before; // also the skipped stretch: read with the offset before it
}

LocalDateTime TimeRules::ToLocal(UtcSeconds moment) const {
    return ClockOfSeconds(moment + OffsetAt(moment));
}

int CLibraryTimeRules::OffsetAt(UtcSeconds moment) const {
    // Some runtimes convert only 1970 to 3000; elsewhere the same date 28
    // years on or back stands in (weekdays and leap years repeat after 28
    // years from 1901 to 2099), so their rules of today apply to it.
    const std::int64_t kTwentyEightYears = 10227 * kSecondsPerDay;
    std::tm local{};
    UtcSeconds probe = moment;
    for (int attempt = 0; !ToLocalFields(probe, local); ++attempt) {
        if (attempt == 64)
            return 0;
        probe += probe < 0 ? kTwentyEightYears : -kTwentyEightYears;
    }
    LocalDateTime clock;
    clock.date = Date(local);
    clock.hour = local.tm_hour;
    clock.minute = local.tm_min;
    clock.second = local.tm_sec;
    return static_cast<int>(SecondsOfClock(clock) - probe);
}

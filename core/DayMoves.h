#pragma once

#include "core/Date.h"

// The keyboard's moves from day to day.
enum class DayMove {
    PreviousDay,
    NextDay,
    PreviousWeek,
    NextWeek,
    PreviousMonth,
    NextMonth,
    PreviousYear,
    NextYear
};

// The day a move leads to. A month or year away keeps the day of the month,
// or takes the month's last day where it has no such day (31 March, one
// month back, is 28 or 29 February).
Date MovedDay(const Date& from, DayMove move);

#include "core/DayMoves.h"

namespace {

Date InMonth(int year, int month, int day) {
    // Month 0 and 13 are December before and January after.
    if (month < 1) {
        month += 12;
        --year;
    } else if (month > 12) {
        month -= 12;
        ++year;
    }
    Date date(month, year);
    const int last = date.DaysInMonth();
    return date.SubtractDays(1 - (day < last ? day : last));
}

} // namespace

Date MovedDay(const Date& from, DayMove move) {
    Date to(from.dayNumber);
    switch (move) {
    case DayMove::PreviousDay:
        return to.SetDayNumber(from.dayNumber - 1);
    case DayMove::NextDay:
        return to.SetDayNumber(from.dayNumber + 1);
    case DayMove::PreviousWeek:
        return to.SetDayNumber(from.dayNumber - 7);
    case DayMove::NextWeek:
        return to.SetDayNumber(from.dayNumber + 7);
    case DayMove::PreviousMonth:
        return InMonth(from.year, from.month - 1, from.day);
    case DayMove::NextMonth:
        return InMonth(from.year, from.month + 1, from.day);
    case DayMove::PreviousYear:
        return InMonth(from.year - 1, from.month, from.day);
    case DayMove::NextYear:
        return InMonth(from.year + 1, from.month, from.day);
    }
    return to;
}

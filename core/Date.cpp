#include "core/Date.h"

#include "core/Now.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

const char* const kWeekdayNames[8] = {"",          "Sunday",   "Monday", "Tuesday",
                                      "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonthNames[13] = {"",        "January",  "February", "March",  "April",
                                     "May",     "June",     "July",     "August", "September",
                                     "October", "November", "December"};

namespace {

const int kDaysInMonth[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// The fields are 16 bits wide and larger values wrap; 64-bit arithmetic
// before the cut keeps every input free of overflow.
std::int16_t Wrap16(std::int64_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsAsciiSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Reads a number like the C library's atol, but saturating at the 32-bit
// range instead of overflowing.
std::int64_t NumberAt(const char* text) {
    while (IsAsciiSpace(*text))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    std::int64_t value = 0;
    for (; IsAsciiDigit(*text); ++text) {
        value = value * 10 + (*text - '0');
        if (value > 2147483648LL)
            value = 2147483648LL;
    }
    value = negative ? -value : value;
    return value > 2147483647LL ? 2147483647LL : value;
}

// The month whose English name starts with the same three letters, any case.
int MonthWordAt(const char* text) {
    for (int month = 1; month <= 12; ++month) {
        const char* name = kMonthNames[month];
        int same = 0;
        while (same < 3 && text[same] != '\0' && AsciiLower(text[same]) == AsciiLower(name[same]))
            ++same;
        if (same == 3)
            return month;
    }
    return 0;
}

// The position after the next blank at or after `from`, or null.
const char* AfterNextBlank(const char* from) {
    const char* blank = std::strchr(from, ' ');
    return blank ? blank + 1 : nullptr;
}

bool EqualsIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        if (AsciiLower(*a) != AsciiLower(*b))
            return false;
    }
    return *a == *b;
}

} // namespace

Date::Date(std::uint32_t dayNumber) : dayNumber(dayNumber) {
    DayNumberToFields();
}

Date::Date(int month, int year) : year(Wrap16(year)), month(Wrap16(month)), day(1) {
    FieldsToDayNumber();
}

Date::Date(const std::tm& localTime)
    : year(Wrap16(static_cast<std::int64_t>(localTime.tm_year) + 1900)),
      month(Wrap16(static_cast<std::int64_t>(localTime.tm_mon) + 1)),
      day(Wrap16(localTime.tm_mday)) {
    FieldsToDayNumber();
}

Date::Date(const Date& other) : year(other.year), month(other.month), day(other.day) {
    FieldsToDayNumber();
}

Date::Date(const char* text) {
    ParseText(text ? text : "");
    FieldsToDayNumber();
}

Date Date::FromWeekday(int weekday) {
    Date date(1, 0);
    std::int32_t move = weekday - 7;
    if (move < 0)
        move += 7;
    date.SubtractDays(-move);
    return date;
}

Date& Date::SubtractDays(std::int32_t n) {
    return SetDayNumber(dayNumber - static_cast<std::uint32_t>(n));
}

Date Date::PostIncrement() {
    Date before(*this);
    SetDayNumber(dayNumber + 1);
    return before;
}

Date& Date::AddWeeks(std::int32_t n) {
    return SetDayNumber(dayNumber + 7u * static_cast<std::uint32_t>(n));
}

Date& Date::SetDayNumber(std::uint32_t n) {
    dayNumber = n;
    DayNumberToFields();
    return *this;
}

Date& Date::AddYears(std::int16_t n) {
    year = Wrap16(static_cast<std::int64_t>(year) + n);
    FieldsToDayNumber();
    return *this;
}

Date& Date::NextMonth() {
    std::int64_t newMonth = static_cast<std::int64_t>(month) + 1;
    std::int64_t newYear = year;
    if (newMonth < 1) {
        newYear -= (12 - newMonth) / 12;
        newMonth = (newMonth % 12) + 12;
    } else if (newMonth > 12) {
        newYear += (newMonth - 1) / 12;
        newMonth = (newMonth - 1) % 12 + 1;
    }
    month = Wrap16(newMonth);
    year = Wrap16(newYear);
    const int days = DaysInMonth();
    if (day > days) {
        month = Wrap16(month + 1);
        day = Wrap16(day - days);
    }
    FieldsToDayNumber();
    return *this;
}

Date& Date::SetToday() {
    *this = Date(LocalNow());
    return *this;
}

std::string Date::Format(int style) const {
    char text[64];
    switch (style) {
    case 1:
        return weekday >= 1 && weekday <= 7 ? kWeekdayNames[weekday] : "invalid day";
    case 2:
        return month >= 1 && month <= 12 ? kMonthNames[month] : "invalid month";
    case 3:
        if (month < 1 || month > 12 || weekday < 1 || weekday > 7)
            return "invalid date";
        std::snprintf(text, sizeof text, "%s, %s %d, %02d%s", kWeekdayNames[weekday],
                      kMonthNames[month], day, year < 0 ? -year : year, year < 0 ? " B.C.E." : "");
        return text;
    default:
        if (day == 0 || month == 0 || year == 0)
            return "invalid date";
        std::snprintf(text, sizeof text, "%1d/%1d/%02d", month, day, year);
        return text;
    }
}

int Date::DayOfYear() const {
    const Date first(1, year);
    return static_cast<int>(dayNumber - first.dayNumber) + 1;
}

int Date::WeekOfYear() const {
    // Its own day count, with every fourth year a leap year; n % 7 == 0 is a Monday.
    const std::int64_t y = year, m = month, d = day;
    const std::int64_t base = 365 * y + (y - 1) / 4;
    std::int64_t n = d + 31 * m - 27 + base;
    if (m > 2) {
        if (y % 4 == 0)
            n += 1;
        n -= m < 8 ? (m - 3) / 2 + 3 : (m - 4) / 2 + 3;
    }
    const std::int64_t last = 365 * y + y / 4 + 369;
    if (last % 7 <= 2 && last - n <= last % 7)
        return 1;
    const std::int64_t first = base + 5;
    const std::int64_t monday = 7 * (first / 7);
    if (first % 7 <= 3)
        return static_cast<int>((n - monday) / 7 + 1);
    if (n >= monday + 7)
        return static_cast<int>((n - monday) / 7);
    const std::int64_t prev = base - 360;
    const std::int64_t previousMonday = 7 * (prev / 7);
    return static_cast<int>((n - previousMonday) / 7 + (prev % 7 <= 3 ? 1 : 0));
}

int Date::IsLeapYear() const {
    if (year < 1582)
        return year % 4 == 0;
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int Date::DaysInMonth() const {
    if (month < 1 || month > 12)
        return 0;
    return kDaysInMonth[month] + (month == 2 && IsLeapYear() ? 1 : 0);
}

void Date::FieldsToDayNumber() {
    // Fliegel and Van Flandern; C++ division truncates toward zero as the formula wants.
    const std::int64_t y = year, m = month, d = day;
    const std::int64_t a = (m - 14) / 12;
    const std::int64_t jdn = d - 32075 + 1461 * (y + 4800 + a) / 4 + 367 * (m - 2 - 12 * a) / 12 -
                             3 * ((y + 4900 + a) / 100) / 4;
    dayNumber = static_cast<std::uint32_t>(jdn);
    UpdateWeekday();
}

void Date::DayNumberToFields() {
    std::int64_t l = static_cast<std::int64_t>(dayNumber) + 68569;
    const std::int64_t n = 4 * l / 146097;
    l = l - (146097 * n + 3) / 4;
    const std::int64_t i = 4000 * (l + 1) / 1461001;
    l = l - 1461 * i / 4 + 31;
    const std::int64_t j = 80 * l / 2447;
    day = Wrap16(l - 2447 * j / 80);
    l = j / 11;
    month = Wrap16(j + 2 - 12 * l);
    year = Wrap16(100 * (n - 49) + i + l);
    UpdateWeekday();
}

void Date::UpdateWeekday() {
    weekday = static_cast<std::int8_t>((dayNumber + 1u) % 7u + 1u);
}

void Date::ParseText(const char* text) {
    if (text[0] == '.' || EqualsIgnoringCase(text, "TODAY")) {
        const Date today(LocalNow());
        year = today.year;
        month = today.month;
        day = today.day;
        return;
    }

    const std::size_t length = std::strlen(text);
    bool digitsOnly = true;
    for (const char* p = text; *p; ++p)
        digitsOnly = digitsOnly && IsAsciiDigit(*p);

    std::int64_t newYear = 0, newMonth = 0, newDay = 0;
    if (IsAsciiLetter(text[0])) {
        // "Sunday, December 6, 2026": the first word is not examined.
        const char* p1 = AfterNextBlank(text);
        const char* p2 = p1 ? AfterNextBlank(p1) : nullptr;
        const char* p3 = p2 ? AfterNextBlank(p2) : nullptr;
        if (!p3) {
            year = month = day = 0;
            return;
        }
        newMonth = MonthWordAt(p1);
        newDay = NumberAt(p2);
        newYear = NumberAt(p3);
    } else if (length == 20 || (length == 13 && IsAsciiLetter(text[5]))) {
        // "25 March 2026", "06 Dec 2026 12:34:56"
        const char* p1 = AfterNextBlank(text);
        const char* p2 = p1 ? AfterNextBlank(p1) : nullptr;
        if (!p2) {
            year = month = day = 0;
            return;
        }
        newDay = NumberAt(text);
        newMonth = MonthWordAt(p1);
        newYear = NumberAt(p2);
    } else if (digitsOnly) {
        // "20261206"
        if (length < 8) {
            year = month = day = 0;
            return;
        }
        auto digits = [text](int from, int count) {
            std::int64_t value = 0;
            for (int k = from; k < from + count; ++k)
                value = value * 10 + (text[k] - '0');
            return value;
        };
        newYear = digits(0, 4);
        newMonth = digits(4, 2);
        newDay = digits(6, 2);
    } else {
        // "12/6/2026", "12-6", "12 6 2026"
        std::size_t k = 0;
        while (IsAsciiDigit(text[k]))
            ++k;
        const char separator = text[k];
        newMonth = NumberAt(text);
        newDay = NumberAt(text + k + 1);
        const char* again = std::strchr(text + k + 1, separator);
        newYear = again ? NumberAt(again + 1) : LocalNow().tm_year + 1900;
    }

    year = Wrap16(newYear);
    month = Wrap16(newMonth);
    day = Wrap16(newDay);
    if (std::strchr(text, '.'))
        year = Wrap16(-static_cast<std::int64_t>(year));
    if (month <= 0 || day <= 0) {
        year = month = day = 0;
    } else if (year >= 1 && year <= 99) {
        year = Wrap16(year + 1900);
    }
}

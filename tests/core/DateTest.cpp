#include "core/Date.h"
#include "tests/support/DateHelpers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Fields {
    int year, month, day;
};

void ExpectFields(const Date& date, Fields expected, const std::string& context) {
    EXPECT_EQ(date.year, expected.year) << context;
    EXPECT_EQ(date.month, expected.month) << context;
    EXPECT_EQ(date.day, expected.day) << context;
}

TEST(DateConversion, EveryDayNumberRoundTripsThroughTheFields) {
    Date date;
    for (std::uint32_t n = 0; n <= 13689325; ++n) {
        date.SetDayNumber(n);
        const Date copy(date); // recomputes the day number from the fields
        if (copy.dayNumber != n || date.weekday != static_cast<int>((n + 1) % 7 + 1)) {
            FAIL() << "day number " << n << " came back as " << copy.dayNumber;
        }
    }
}

TEST(DateConversion, KnownDays) {
    const Date millennium(2451545u);
    ExpectFields(millennium, {2000, 1, 1}, "2451545");
    EXPECT_EQ(millennium.weekday, 7);
    EXPECT_EQ(Ymd(2026, 12, 6).dayNumber, 2461381u);
    EXPECT_EQ(Ymd(2026, 12, 6).weekday, 1);
    EXPECT_EQ(Date(0u).year, -4713);
    // No Julian switch: the Gregorian calendar runs on backwards.
    EXPECT_EQ(Ymd(1582, 10, 15).dayNumber - Ymd(1582, 10, 4).dayNumber, 11u);
}

TEST(DateConversion, FieldsPastTheEndCountOn) {
    EXPECT_EQ(Date(13, 2026).dayNumber, Ymd(2027, 1, 1).dayNumber);
    Date feb29 = Ymd(2024, 2, 29);
    feb29.AddYears(1);
    ExpectFields(feb29, {2025, 2, 29}, "AddYears");
    EXPECT_EQ(feb29.dayNumber, Ymd(2025, 3, 1).dayNumber);
    EXPECT_EQ(feb29.Format(0), "2/29/2025");
    EXPECT_EQ(Date(feb29).dayNumber, Ymd(2025, 3, 1).dayNumber);
}

TEST(DateConversion, ZeroDates) {
    const Date empty;
    EXPECT_EQ(empty.dayNumber, 0u);
    EXPECT_EQ(empty.weekday, 0);
    const Date unreadable("nonsense");
    ExpectFields(unreadable, {0, 0, 0}, "nonsense");
    EXPECT_EQ(unreadable.dayNumber, 1721028u);
    EXPECT_EQ(unreadable.weekday, 3);
    EXPECT_NE(empty, unreadable);
}

TEST(DateArithmetic, NextMonth) {
    const struct {
        Fields from, to;
    } cases[] = {
        {{2026, 3, 15}, {2026, 4, 15}}, {{2026, 1, 31}, {2026, 3, 3}},
        {{2024, 1, 31}, {2024, 3, 2}},  {{2026, 3, 31}, {2026, 5, 1}},
        {{2026, 12, 1}, {2027, 1, 1}},  {{-1, 12, 1}, {0, 1, 1}},
    };
    for (const auto& c : cases) {
        Date date = Ymd(c.from.year, c.from.month, c.from.day);
        date.NextMonth();
        ExpectFields(date, c.to, date.Format(0));
        EXPECT_EQ(date.dayNumber, Ymd(c.to.year, c.to.month, c.to.day).dayNumber);
    }
}

TEST(DateArithmetic, StepsAndWeeks) {
    Date date = Ymd(2026, 12, 31);
    const Date before = date.PostIncrement();
    ExpectFields(before, {2026, 12, 31}, "PostIncrement result");
    ExpectFields(date, {2027, 1, 1}, "PostIncrement");
    date.SubtractDays(1);
    ExpectFields(date, {2026, 12, 31}, "SubtractDays");
    date.SubtractDays(-2);
    ExpectFields(date, {2027, 1, 2}, "SubtractDays negative");
    date.AddWeeks(-1);
    ExpectFields(date, {2026, 12, 26}, "AddWeeks");
    date.AddYears(-2026);
    ExpectFields(date, {0, 12, 26}, "AddYears to year 0");
}

TEST(DateArithmetic, FromWeekdayWalksTheWeek) {
    const Date sunday = Date::FromWeekday(1);
    ExpectFields(sunday, {0, 1, 2}, "Sunday");
    ExpectFields(Date::FromWeekday(2), {0, 1, 3}, "Monday");
    ExpectFields(Date::FromWeekday(6), {0, 1, 7}, "Friday");
    ExpectFields(Date::FromWeekday(7), {0, 1, 1}, "Saturday");
    for (int first : {1, 2}) {
        Date date = Date::FromWeekday(first);
        for (int k = 0; k < 7; ++k) {
            const int expected = (first - 1 + k) % 7 + 1;
            EXPECT_EQ(date.PostIncrement().Format(1), kWeekdayNames[expected]);
        }
    }
}

TEST(DateCalendar, LeapYearsAndMonthLengths) {
    const struct {
        int year;
        int leap;
    } years[] = {{2024, 1}, {2026, 0}, {2000, 1}, {1900, 0}, {1700, 0}, {1600, 1},
                 {1500, 1}, {1582, 0}, {0, 1},    {-4, 1},   {-1, 0},   {-100, 1}};
    for (const auto& y : years)
        EXPECT_EQ(Date(1, y.year).IsLeapYear(), y.leap) << y.year;
    EXPECT_EQ(Date(2, 1500).DaysInMonth(), 29);
    EXPECT_EQ(Date(2, 1900).DaysInMonth(), 28);
    EXPECT_EQ(Date(2, 2024).DaysInMonth(), 29);
    EXPECT_EQ(Date(4, 2026).DaysInMonth(), 30);
    EXPECT_EQ(Ymd(2026, 12, 6).DayOfYear(), 340);
    EXPECT_EQ(Ymd(2024, 12, 31).DayOfYear(), 366);
    EXPECT_EQ(Ymd(2026, 1, 1).DayOfYear(), 1);
}

TEST(DateCalendar, WeekOfYearExamples) {
    const struct {
        Fields date;
        int week;
    } cases[] = {
        {{2026, 12, 6}, 49}, {{2026, 1, 1}, 1},  {{2024, 12, 30}, 1},  {{2021, 1, 3}, 53},
        {{2027, 1, 1}, 53},  {{2000, 1, 1}, 52}, {{2005, 1, 1}, 52},   {{2005, 1, 2}, 52},
        {{2005, 1, 3}, 1},   {{2100, 3, 7}, 10}, {{2026, 12, 31}, 53},
    };
    for (const auto& c : cases) {
        const Date date = Ymd(c.date.year, c.date.month, c.date.day);
        EXPECT_EQ(date.WeekOfYear(), c.week) << date.Format(0);
    }
}

int IsoWeeksInYear(int y) {
    auto p = [](int year) { return (year + year / 4 - year / 100 + year / 400) % 7; };
    return (p(y) == 4 || p(y - 1) == 3) ? 53 : 52;
}

int IsoWeek(const Date& date) {
    const int isoWeekday = (date.weekday + 5) % 7 + 1; // Monday 1 .. Sunday 7
    const int week = (date.DayOfYear() - isoWeekday + 10) / 7;
    if (week < 1)
        return IsoWeeksInYear(date.year - 1);
    return week > IsoWeeksInYear(date.year) ? 1 : week;
}

TEST(DateCalendar, WeekOfYearIsIsoFrom1901To2099ButForKnownJanuaryDays) {
    const int exceptionYears[] = {1921, 1949, 1977, 2005, 2033, 2061, 2089};
    for (Date date = Ymd(1901, 1, 1); date.year <= 2099; date.SubtractDays(-1)) {
        bool exception = false;
        for (int year : exceptionYears)
            exception = exception || (date.year == year && date.month == 1 && date.day <= 2);
        if (exception)
            EXPECT_EQ(date.WeekOfYear(), 52) << date.Format(0);
        else if (date.WeekOfYear() != IsoWeek(date))
            FAIL() << date.Format(0) << ": " << date.WeekOfYear() << " vs ISO " << IsoWeek(date);
    }
}

TEST(DateFormat, Styles) {
    const struct {
        Date date;
        const char* style0;
        const char* style1;
        const char* style2;
        const char* style3;
    } cases[] = {
        {Ymd(2026, 12, 6), "12/6/2026", "Sunday", "December", "Sunday, December 6, 2026"},
        {Ymd(2024, 1, 5), "1/5/2024", "Friday", "January", "Friday, January 5, 2024"},
        {Ymd(5, 1, 1), "1/1/05", "Saturday", "January", "Saturday, January 1, 05"},
        {Ymd(-44, 3, 15), "3/15/-44", "Thursday", "March", "Thursday, March 15, 44 B.C.E."},
        {Ymd(0, 6, 1), "invalid date", "Thursday", "June", "Thursday, June 1, 00"},
        {Date(), "invalid date", "invalid day", "invalid month", "invalid date"},
        {Date("nonsense"), "invalid date", "Tuesday", "invalid month", "invalid date"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.date.Format(0), c.style0);
        EXPECT_EQ(c.date.Format(7), c.style0) << "other styles print like style 0";
        EXPECT_EQ(c.date.Format(1), c.style1);
        EXPECT_EQ(c.date.Format(2), c.style2);
        EXPECT_EQ(c.date.Format(3), c.style3);
    }
    // The longest screen text: nine-letter names, five-digit year, B.C.E.
    Date longest(9, -10000);
    longest.day = 30;
    longest.weekday = 4;
    EXPECT_EQ(longest.Format(3).size(), 37u) << longest.Format(3);
}

} // namespace

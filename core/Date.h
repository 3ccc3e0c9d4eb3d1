#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// One calendar day: a Julian Day Number plus the Gregorian fields. Identity
// and order are the day number alone. The fields are deliberately not range
// checked: month 13 or 31 February count on past the end of the year/month.
class Date {
  public:
    std::uint32_t dayNumber = 0; // day 0 is 24 November -4713 (proleptic Gregorian)
    std::int16_t year = 0;       // astronomical: the year 0 exists
    std::int16_t month = 0;      // 1..12; 0 in the zero date
    std::int16_t day = 0;        // 1..; 0 in the zero date
    std::int8_t weekday = 0;     // 1 = Sunday .. 7 = Saturday

    // The zero date, with day number 0 and weekday 0.
    Date() = default;
    explicit Date(std::uint32_t dayNumber);
    // The first day of the month.
    Date(int month, int year);
    explicit Date(const std::tm& localTime);
    // Reads the file form, the screen form and a few others; unreadable
    // text gives the zero date (with its computed day number 1721028).
    explicit Date(const char* text);
    // Copies the fields and recomputes the day number from them.
    Date(const Date& other);
    // Assignment copies all fields unchanged.
    Date& operator=(const Date& other) = default;

    // The first date on or after 1 January of the year 0 with that weekday.
    static Date FromWeekday(int weekday);

    Date& SubtractDays(std::int32_t n);
    Date PostIncrement();
    Date& AddWeeks(std::int32_t n);
    Date& SetDayNumber(std::uint32_t n);
    Date& AddYears(std::int16_t n);
    Date& NextMonth();
    Date& SetToday();

    // 0: "12/6/2026" (the file form), 1: weekday name, 2: month name,
    // 3: "Sunday, December 6, 2026" (the screen form).
    std::string Format(int style) const;
    int DayOfYear() const;
    int WeekOfYear() const;
    int IsLeapYear() const;
    int DaysInMonth() const;

    bool IsZero() const { return month == 0; }

    friend bool operator==(const Date& a, const Date& b) { return a.dayNumber == b.dayNumber; }
    friend bool operator!=(const Date& a, const Date& b) { return a.dayNumber != b.dayNumber; }
    friend bool operator<(const Date& a, const Date& b) { return a.dayNumber < b.dayNumber; }

  private:
    void FieldsToDayNumber();
    void DayNumberToFields();
    void UpdateWeekday();
    void ParseText(const char* text);
};

extern const char* const kWeekdayNames[8]; // index 1..7
extern const char* const kMonthNames[13];  // index 1..12

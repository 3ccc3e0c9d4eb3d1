#include "core/Date.h"
#include "tests/support/DateHelpers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DateText, ReadsEveryForm) {
    const PinnedNow now(2026, 12, 6);
    const struct {
        const char* text;
        int year, month, day;
    } cases[] = {
        {"Today", 2026, 12, 6},
        {"TODAY", 2026, 12, 6},
        {"today", 2026, 12, 6},
        {".", 2026, 12, 6},
        {".whatever follows", 2026, 12, 6},
        {"Sunday, December 6, 2026", 2026, 12, 6},
        {"Sunday, DECEMBER 6, 2026", 2026, 12, 6},
        {"x dec 6 2026", 2026, 12, 6},
        {"Thursday, March 15, 44 B.C.E.", -44, 3, 15},
        {"Saturday, January 1, 05", 1905, 1, 1},
        {"25 March 2026", 2026, 3, 25},
        {"06 Dec 2026 12:34:56", 2026, 12, 6},
        {"20261206", 2026, 12, 6},
        {"202612061234", 2026, 12, 6},
        {"2026120", 0, 0, 0},
        {"", 0, 0, 0},
        {"12/6/2026", 2026, 12, 6},
        {"12-6-2026", 2026, 12, 6},
        {"12 6 2026", 2026, 12, 6},
        {"12/6", 2026, 12, 6},
        {"12-6-26", 1926, 12, 6},
        {"1/5/99", 1999, 1, 5},
        {"3/1/50", 1950, 3, 1},
        {"1/1/0", 0, 1, 1},
        {"6.12.2026", -2026, 6, 12},
        {"6 December 2026", 0, 0, 0},
        {"0/5/2026", 0, 0, 0},
        {"5/0/2026", 0, 0, 0},
        {"-3/5/2026", 0, 0, 0},
        {"13/45/2026", 2026, 13, 45},
        {"invalid date", 0, 0, 0},
        {"Sunday,December", 0, 0, 0},
        {" 12/6/2026", 2026, 12, 12},
        {"Foo, Bar 6, 2026", 0, 0, 0},
    };
    for (const auto& c : cases) {
        const Date date(c.text);
        EXPECT_EQ(date.year, c.year) << '"' << c.text << '"';
        EXPECT_EQ(date.month, c.month) << '"' << c.text << '"';
        EXPECT_EQ(date.day, c.day) << '"' << c.text << '"';
        if (c.month != 0)
            EXPECT_EQ(date.dayNumber, Date(date).dayNumber);
        else
            EXPECT_EQ(date.dayNumber, 1721028u) << '"' << c.text << '"';
    }
    EXPECT_EQ(Date("13/45/2026").dayNumber, Ymd(2027, 2, 14).dayNumber);
}

TEST(DateText, HostileTextsGiveSomeDateAndNeverCrash) {
    const PinnedNow now(2026, 12, 6);
    const std::string huge(100000, '7');
    const std::string many(5000, ' ');
    const char* texts[] = {
        "99999999999999999999999/5/2026",
        "5/99999999999999999999/2026",
        "5/5/-99999999999999999999",
        "70000/70000/70000",
        "-",
        "/",
        "a",
        "a ",
        "a b ",
        "\xff\xfe\x80",
        "Sunday, December 6, 99999999999",
        huge.c_str(),
        many.c_str(),
        "1 ",
        "12345678901234567890",
    };
    for (const char* text : texts) {
        const Date date(text);
        // The fields are 16 bits and wrap; all that matters is a defined result.
        EXPECT_EQ(date.dayNumber, Date(date).dayNumber);
        (void)date.Format(0);
        (void)date.Format(3);
    }
    EXPECT_EQ(Date("70000/5/2026").month, static_cast<std::int16_t>(70000));
    EXPECT_EQ(Date(nullptr).month, 0);
}

TEST(DateText, FileAndScreenFormsReadBack) {
    // Years 1..99 written with style 0 come back in the 1900s, by design.
    EXPECT_EQ(Date(Ymd(5, 1, 1).Format(0).c_str()).year, 1905);
    for (int year : {-9999, -2026, -100, 100, 1582, 1999, 2026, 9999, 32767}) {
        for (Date date = Ymd(year, 1, 1); date.year == year; date.SubtractDays(-13)) {
            EXPECT_EQ(Date(date.Format(0).c_str()), date) << date.Format(0);
            EXPECT_EQ(Date(date.Format(3).c_str()), date) << date.Format(3);
        }
    }
}

TEST(DateText, TodayFollowsThePinnedClock) {
    const PinnedNow now(2027, 2, 28, 23, 59);
    Date date;
    date.SetToday();
    EXPECT_EQ(date, Ymd(2027, 2, 28));
    EXPECT_EQ(Date("12/6").year, 2027);
}

} // namespace

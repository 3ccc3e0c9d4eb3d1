#include "core/Reminders.h"
#include "core/EventTime.h"
#include "tests/support/DateHelpers.h"
#include "tests/support/SscanfEventTime.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <utility>

namespace {

std::string Show(const std::optional<TimeOfDay>& time) {
    if (!time)
        return "no event";
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", time->hour, time->minute);
    return text;
}

TEST(ParseEventTime, TimeAtTheStartOfALine) {
    const struct {
        const char* line;
        const char* time;
    } cases[] = {
        {"11:00 Go to the dentist", "11:00"},
        {"9.30", "09:30"},
        {"7:5", "07:05"},
        {"11:30pm", "23:30"},
        {"11:30 pm", "11:30"}, // the letters must follow the digits
        {"1130", "11:30"},
        {"1130pm", "23:30"},
        {"9pm", "21:00"},
        {"9 Meeting", "09:00"},
        {"12pm", "12:00"},
        {"12am", "12:00"},
        {"12:30am", "12:30"},
        {"9am", "09:00"}, // the a stops the letters
        {"123 Main Street", "12:03"},
        {"  8:15 after blanks", "08:15"},
        {"11::30", "11:30"},
        {"11.:30", "11:30"},
        {"11:30PM", "23:30"},
        {"11:30p", "23:30"},
        {"9M", "21:00"},
        {"0:00", "00:00"},
        {"00:10 Night train", "00:10"},
        {"12345", "12:34"},
        {"9 30", "09:30"},
        {"25:75", "25:75"}, // kept as read: never due
        {"-5 degrees", "-5:00"},
        {"", "no event"},
        {"Go shopping", "no event"},
        {"   ", "no event"},
        {":30 late", "no event"},
        {"am 9", "no event"},
        {"-", "no event"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Show(ParseEventTime(c.line)), c.time) << '"' << c.line << '"';
    }
}

TEST(ParseEventTime, ReadsLikeTheCLibrary) {
    // Every line of up to five characters from an alphabet that exercises
    // each pattern: digits, separators, letters in and out of the set,
    // blanks and signs.
    const std::string alphabet = "19:.pMa -";
    std::vector<std::string> lines = {""};
    for (std::size_t start = 0; start < lines.size(); ++start) {
        if (lines[start].size() == 5)
            continue;
        for (const char c : alphabet)
            lines.push_back(lines[start] + c);
    }
    int differences = 0;
    for (const std::string& line : lines) {
        const std::optional<TimeOfDay> expected = SscanfEventTime(line);
        const std::optional<TimeOfDay> actual = ParseEventTime(line);
        const bool same =
            expected.has_value() == actual.has_value() &&
            (!expected || (expected->hour == actual->hour && expected->minute == actual->minute));
        if (!same && ++differences <= 10)
            ADD_FAILURE() << '"' << line << "\": sscanf " << Show(expected) << ", ours "
                          << Show(actual);
    }
    EXPECT_EQ(differences, 0) << "of " << lines.size() << " lines";
}

using Days = std::vector<std::pair<Date, std::string>>;
using Strings = std::vector<std::string>;

EventStore Diary(const Days& days) {
    EventStore store;
    for (const auto& [day, text] : days)
        store.Append(day, text);
    return store;
}

Strings Raised(const std::vector<DueReminder>& raised) {
    Strings texts;
    for (const DueReminder& due : raised)
        texts.push_back(due.text);
    return texts;
}

Strings Menu(const ReminderEngine& engine) {
    Strings items;
    for (const ReminderMenuItem& item : engine.MenuItems())
        items.push_back(std::to_string(item.index) + " " + item.text);
    return items;
}

TEST(ReminderTarget, NowPlusTheLeadTime) {
    const struct {
        int year, month, day, hour, minute;
        LeadTime lead;
        const char* target;
    } cases[] = {
        {2026, 12, 6, 11, 0, {0, 0, 0}, "12/6/2026 11:00"},
        {2026, 12, 5, 11, 0, {1, 0, 0}, "12/6/2026 11:00"},
        {2026, 1, 14, 23, 50, {0, 0, 20}, "1/15/2026 00:10"},
        {2026, 12, 31, 23, 50, {0, 0, 20}, "1/1/2027 00:10"},
        {2026, 2, 27, 22, 0, {1, 3, 0}, "3/1/2026 01:00"},
        {2024, 2, 28, 12, 0, {1, 0, 0}, "2/29/2024 12:00"},
        {2026, 1, 14, 0, 0, {366, 23, 59}, "1/15/2027 23:59"},
        {2026, 1, 15, 0, 5, {0, 0, -10}, "1/14/2026 23:55"},
        {2026, 1, 15, 10, 0, {0, 30, 90}, "1/16/2026 17:30"}, // beyond the dialog's ranges
    };
    for (const auto& c : cases) {
        PinnedNow now(c.year, c.month, c.day, c.hour, c.minute);
        const TargetMoment target = ReminderTarget(c.lead);
        char time[16];
        std::snprintf(time, sizeof time, " %02d:%02d", target.hour, target.minute);
        EXPECT_EQ(target.day.Format(0) + time, c.target)
            << c.month << "/" << c.day << " " << c.hour << ":" << c.minute;
    }
}

TEST(ReminderEngine, RemindsALineOnceWithinItsMinute) {
    const EventStore store = Diary({{Ymd(2026, 12, 6), "10:59 Coffee\r\n11:00 Go to the dentist"}});
    ReminderEngine engine;
    PinnedNow now(2026, 12, 6, 10, 59);
    PinNow(Now() + 50);
    EXPECT_EQ(Raised(engine.CheckReminders(store, {})),
              Strings{"Sunday, December 6, 2026 - 10:59 Coffee"});
    PinNow(Now() + 10);
    EXPECT_EQ(Raised(engine.CheckReminders(store, {})),
              Strings{"Sunday, December 6, 2026 - 11:00 Go to the dentist"});
    for (int tick = 1; tick < 6; ++tick) {
        PinNow(Now() + 10);
        EXPECT_TRUE(engine.CheckReminders(store, {}).empty()) << "tick " << tick;
    }
    PinNow(Now() + 10);
    EXPECT_TRUE(engine.CheckReminders(store, {}).empty()) << "11:01";
    EXPECT_EQ(Menu(engine), (Strings{"1 Sunday, December 6, 2026 - 11:00 Go to the dentist",
                                     "0 Sunday, December 6, 2026 - 10:59 Coffee"}));
}

TEST(ReminderEngine, LeadTimePicksTheDayAndMinute) {
    const EventStore store = Diary({
        {Ymd(2026, 1, 14), "00:10 Not this day\r\n11:00 Dentist"},
        {Ymd(2026, 1, 15), "11:00 Dentist tomorrow\r\n00:10 Night train"},
    });
    const struct {
        int day, hour, minute;
        LeadTime lead;
        Strings raised;
    } cases[] = {
        {14, 11, 0, {0, 0, 0}, {"Wednesday, January 14, 2026 - 11:00 Dentist"}},
        {14, 11, 0, {1, 0, 0}, {"Thursday, January 15, 2026 - 11:00 Dentist tomorrow"}},
        {14, 23, 50, {0, 0, 20}, {"Thursday, January 15, 2026 - 00:10 Night train"}},
        {13, 21, 10, {1, 3, 0}, {"Thursday, January 15, 2026 - 00:10 Night train"}},
        {14, 10, 0, {0, 1, 0}, {"Wednesday, January 14, 2026 - 11:00 Dentist"}},
        {14, 11, 0, {0, 0, 1}, {}},
        {16, 11, 0, {-1, 0, 0}, {"Thursday, January 15, 2026 - 11:00 Dentist tomorrow"}},
    };
    for (const auto& c : cases) {
        ReminderEngine engine;
        PinnedNow now(2026, 1, c.day, c.hour, c.minute);
        EXPECT_EQ(Raised(engine.CheckReminders(store, c.lead)), c.raised)
            << c.day << " " << c.hour << ":" << c.minute;
    }
}

TEST(ReminderEngine, OnlyLinesThatBeginWithATimeAreEvents) {
    // Plain text and empty lines do not count as 00:00.
    const EventStore store = Diary(
        {{Ymd(2026, 1, 15),
          "Go shopping\r\n\r\n00:00 Midnight\r\n  0:00 Also midnight\r\n12am Noon\r\n:00\r\n"}});
    ReminderEngine engine;
    PinnedNow now(2026, 1, 15, 0, 0);
    EXPECT_EQ(Raised(engine.CheckReminders(store, {})),
              (Strings{"Thursday, January 15, 2026 - 00:00 Midnight",
                       "Thursday, January 15, 2026 -   0:00 Also midnight"}));
}

TEST(ReminderEngine, OnlyTheFirstEntryOfADayIsRead) {
    const EventStore store = Diary({
        {Ymd(2026, 1, 15), "09:00 Shown"},
        {Ymd(2026, 1, 15), "09:00 Second record of the day"},
    });
    ReminderEngine engine;
    PinnedNow now(2026, 1, 15, 9, 0);
    EXPECT_EQ(Raised(engine.CheckReminders(store, {})),
              Strings{"Thursday, January 15, 2026 - 09:00 Shown"});
}

TEST(ReminderEngine, SameLineOnTwoDaysIsRemindedOnce) {
    const EventStore store = Diary({
        {Ymd(2026, 1, 12), "09:00 Team meeting"},
        {Ymd(2026, 1, 19), "09:00 Team meeting\r\n09:00 Retrospective"},
    });
    ReminderEngine engine;
    {
        PinnedNow now(2026, 1, 12, 9, 0);
        EXPECT_EQ(engine.CheckReminders(store, {}).size(), 1u);
    }
    PinnedNow now(2026, 1, 19, 9, 0);
    EXPECT_EQ(Raised(engine.CheckReminders(store, {})),
              Strings{"Monday, January 19, 2026 - 09:00 Retrospective"});
    EXPECT_EQ(Menu(engine), (Strings{"1 Monday, January 19, 2026 - 09:00 Retrospective",
                                     "0 Monday, January 19, 2026 - 09:00 Team meeting"}))
        << "the pending entry moved to the later day";
}

TEST(ReminderEngine, DismissedLineIsNeverRemindedAgain) {
    const EventStore store = Diary({
        {Ymd(2026, 1, 12), "09:00 Team meeting\r\n09:00 Stand-up\r\n10:00 Review"},
        {Ymd(2026, 1, 19), "09:00 Team meeting"},
    });
    ReminderEngine engine;
    {
        PinnedNow now(2026, 1, 12, 9, 0);
        engine.CheckReminders(store, {});
    }
    {
        PinnedNow now(2026, 1, 12, 10, 0);
        engine.CheckReminders(store, {});
    }
    ASSERT_EQ(Menu(engine), (Strings{"2 Monday, January 12, 2026 - 10:00 Review",
                                     "1 Monday, January 12, 2026 - 09:00 Stand-up",
                                     "0 Monday, January 12, 2026 - 09:00 Team meeting"}));

    const std::optional<Reminder> opened = engine.Dismiss(0);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->line, "09:00 Team meeting");
    EXPECT_EQ(opened->day, Ymd(2026, 1, 12));
    EXPECT_EQ(Menu(engine), (Strings{"1 Monday, January 12, 2026 - 10:00 Review",
                                     "0 Monday, January 12, 2026 - 09:00 Stand-up"}));
    for (const int invalid : {-1, 2, 201}) {
        EXPECT_FALSE(engine.Dismiss(invalid)) << invalid;
    }
    EXPECT_EQ(Menu(engine).size(), 2u);

    {
        PinnedNow now(2026, 1, 12, 9, 0);
        EXPECT_TRUE(engine.CheckReminders(store, {}).empty()) << "same minute again";
    }
    PinnedNow now(2026, 1, 19, 9, 0);
    EXPECT_TRUE(engine.CheckReminders(store, {}).empty()) << "a later day";
    engine.Dismiss(1);
    engine.Dismiss(0);
    EXPECT_FALSE(engine.HasPending());
}

} // namespace

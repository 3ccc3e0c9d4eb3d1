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

TEST(ReadTimedLine, EventsAreLinesWithATimeOfDay) {
    const struct {
        const char* line;
        const char* event; // "HH:MM|text"
    } cases[] = {
        {"11:00 Go to the dentist", "11:00|Go to the dentist"},
        {"9.30\tcoffee", "09:30|coffee"},
        {"11:30pm  late", "23:30|late"},
        {"11:30 pm", "11:30|pm"},
        {"1130", "11:30|"},
        {"9pm Dinner", "21:00|Dinner"},
        {"12345 too many", "12:34|5 too many"},
        {"  0:00 midnight", "00:00|midnight"},
        {"24:00 no such hour", "no event"},
        {"12:60", "no event"},
        {"-5 degrees", "no event"},
        {"Go shopping", "no event"},
    };
    for (const auto& c : cases) {
        const std::optional<TimedLine> line = ReadTimedLine(c.line);
        EXPECT_EQ(line ? Show(line->time) + "|" + line->text : "no event", c.event)
            << '"' << c.line << '"';
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
using Raised = std::vector<std::pair<std::time_t, std::string>>;

EventStore Diary(const Days& days) {
    EventStore store;
    for (const auto& [day, text] : days)
        store.Append(day, text);
    return store;
}

Strings Menu(const ReminderEngine& engine, int room = 201) {
    const ReminderMenu menu = engine.Menu(room);
    Strings items;
    for (const Reminder& item : menu.items)
        items.push_back(ReminderText(item));
    if (menu.more > 0)
        items.push_back(std::to_string(menu.more) + " more");
    return items;
}

class Reminders : public ::testing::Test {
  protected:
    void TearDown() override { UnpinNow(); }

    // One check at that moment: the texts it raised.
    Strings CheckAt(std::time_t moment, const LeadTime& lead = {}) {
        PinNow(moment);
        Strings texts;
        for (const DueReminder& due : engine.CheckReminders(store, lead))
            texts.push_back(due.text);
        return texts;
    }
    // Checks every 10 seconds from first to last, as the timer makes them:
    // every raised text with the moment of its check.
    Raised Ticks(std::time_t first, std::time_t last, const LeadTime& lead = {}) {
        Raised raised;
        for (std::time_t now = first; now <= last; now += 10) {
            for (const std::string& text : CheckAt(now, lead))
                raised.emplace_back(now, text);
        }
        return raised;
    }

    EventStore store;
    ReminderEngine engine;
};

TEST_F(Reminders, TheLeadTimePicksTheDayAndMinute) {
    const struct {
        std::time_t now;
        LeadTime lead;
        const char* day;
        const char* line;
        bool raised = true;
    } cases[] = {
        {LocalMoment(2026, 12, 5, 11, 0), {1, 0, 0}, "12/6/2026", "11:00 Go to the dentist"},
        {LocalMoment(2026, 1, 14, 23, 50), {0, 0, 20}, "1/15/2026", "00:10 Night train"},
        {LocalMoment(2026, 12, 31, 23, 50), {0, 0, 20}, "1/1/2027", "0:10 New year"},
        {LocalMoment(2026, 2, 27, 22, 0), {1, 3, 0}, "3/1/2026", "1am Flight"},
        {LocalMoment(2024, 2, 28, 12, 0), {1, 0, 0}, "2/29/2024", "12pm Leap day"},
        {LocalMoment(2026, 1, 14, 0, 0), {366, 23, 59}, "1/15/2027", "11:59pm Late"},
        {LocalMoment(2026, 1, 15, 0, 5), {0, 0, -10}, "1/14/2026", "23:55 Afterwards"},
        {LocalMoment(2026, 1, 15, 10, 0), {0, 30, 90}, "1/16/2026", "17:30 Beyond the dialog"},
        {LocalMoment(2026, 1, 14, 11, 0), {0, 0, 1}, "1/14/2026", "11:00 A minute early", false},
    };
    for (const auto& c : cases) {
        // The same line on the days around must not be taken for it.
        const Date day(c.day);
        Date before(day), after(day);
        before.SubtractDays(1);
        after.SubtractDays(-1);
        store = Diary({{before, c.line}, {day, c.line}, {after, c.line}});
        engine = ReminderEngine();
        const Strings expected = c.raised ? Strings{day.Format(3) + " - " + c.line} : Strings{};
        EXPECT_EQ(CheckAt(c.now, c.lead), expected) << c.line;
    }
}

TEST_F(Reminders, TicksRaiseEachLineOnceAtTheFirstCheckAfterItsMoment) {
    // The same times on three days, a lead time of 1 h 30 min, and a tick
    // every 10 seconds, off the minutes by 7 seconds, over two midnights: the
    // target's and now's.
    const std::time_t first = LocalMoment(2026, 1, 14, 21, 0, 7);
    const std::time_t last = LocalMoment(2026, 1, 15, 3, 0);
    const std::time_t lead = 90 * 60;
    Raised expected;
    Days days;
    for (int day = 14; day <= 16; ++day) {
        std::string text = "Plain text\r\n25:75 Never\r\n";
        for (int minute = 3; minute < 24 * 60; minute += 37) {
            char line[32];
            std::snprintf(line, sizeof line, "%02d:%02d Event", minute / 60, minute % 60);
            text += line + std::string("\r\n") + line + "\r\n"; // twice: raised once
            const std::time_t moment = LocalMoment(2026, 1, day, minute / 60, minute % 60) - lead;
            // The first check looks back a minute; later ones to the check before.
            if (moment > first - 60 && moment <= last)
                expected.emplace_back(moment <= first ? first
                                                      : first + (moment - first + 9) / 10 * 10,
                                      ReminderText(Reminder{line, Ymd(2026, 1, day)}));
        }
        days.emplace_back(Ymd(2026, 1, day), text);
    }
    store = Diary(days);
    EXPECT_EQ(Ticks(first, last, {0, 1, 30}), expected);
}

TEST_F(Reminders, ALineWrittenInItsMinuteAfterACheckIsStillRaised) {
    EXPECT_EQ(CheckAt(LocalMoment(2026, 1, 15, 11, 0, 5)), Strings{});
    store = Diary({{Ymd(2026, 1, 15), "11:00 Dentist"}});
    EXPECT_EQ(CheckAt(LocalMoment(2026, 1, 15, 11, 0, 45)),
              Strings{"Thursday, January 15, 2026 - 11:00 Dentist"});
    EXPECT_EQ(CheckAt(LocalMoment(2026, 1, 15, 11, 0, 55)), Strings{});
}

TEST_F(Reminders, OnlyLinesThatBeginWithATimeOfDayAreEvents) {
    // Plain text and empty lines do not count as 00:00, nor 24:00 of the day before.
    store = Diary({
        {Ymd(2026, 1, 14), "24:00 Not a time"},
        {Ymd(2026, 1, 15),
         "Go shopping\r\n\r\n00:00 Midnight\r\n  0:00 Also midnight\r\n12am Noon\r\n:00\r\n"},
    });
    EXPECT_EQ(CheckAt(LocalMoment(2026, 1, 15, 0, 0)),
              (Strings{"Thursday, January 15, 2026 - 00:00 Midnight",
                       "Thursday, January 15, 2026 -   0:00 Also midnight"}));
}

TEST_F(Reminders, OnlyTheFirstEntryOfADayIsRead) {
    store = Diary({
        {Ymd(2026, 1, 15), "09:00 Shown"},
        {Ymd(2026, 1, 15), "09:00 Second record of the day"},
    });
    EXPECT_EQ(CheckAt(LocalMoment(2026, 1, 15, 9, 0)),
              Strings{"Thursday, January 15, 2026 - 09:00 Shown"});
}

TEST_F(Reminders, AWeeklyLineIsRemindedEveryWeekWhateverWasDismissed) {
    store = Diary({
        {Ymd(2026, 1, 12), "09:00 Team meeting\r\n10:00 Review"},
        {Ymd(2026, 1, 19), "09:00 Team meeting\r\n09:00 Retrospective"},
    });
    EXPECT_EQ(CheckAt(LocalMoment(2026, 1, 12, 9, 0)),
              Strings{"Monday, January 12, 2026 - 09:00 Team meeting"});
    EXPECT_EQ(CheckAt(LocalMoment(2026, 1, 12, 10, 0)),
              Strings{"Monday, January 12, 2026 - 10:00 Review"});
    ASSERT_EQ(Menu(engine), (Strings{"Monday, January 12, 2026 - 10:00 Review",
                                     "Monday, January 12, 2026 - 09:00 Team meeting"}));
    EXPECT_EQ(Menu(engine, 1), (Strings{"Monday, January 12, 2026 - 10:00 Review", "1 more"}));

    const std::optional<Reminder> opened =
        engine.Dismiss(Reminder{"09:00 Team meeting", Ymd(2026, 1, 12)});
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->line, "09:00 Team meeting");
    EXPECT_FALSE(engine.Dismiss(*opened)) << "no longer pending";
    EXPECT_FALSE(engine.Dismiss(Reminder{"10:00 Review", Ymd(2026, 1, 19)})) << "another day";
    EXPECT_EQ(Menu(engine), Strings{"Monday, January 12, 2026 - 10:00 Review"});

    EXPECT_EQ(CheckAt(LocalMoment(2026, 1, 12, 9, 0)), Strings{}) << "clock set back";
    EXPECT_EQ(CheckAt(LocalMoment(2026, 1, 19, 9, 0)),
              (Strings{"Monday, January 19, 2026 - 09:00 Team meeting",
                       "Monday, January 19, 2026 - 09:00 Retrospective"}));
    EXPECT_EQ(Menu(engine), (Strings{"Monday, January 19, 2026 - 09:00 Retrospective",
                                     "Monday, January 19, 2026 - 09:00 Team meeting",
                                     "Monday, January 12, 2026 - 10:00 Review"}));
    engine.DismissAll();
    EXPECT_FALSE(engine.HasPending());
}

TEST_F(Reminders, AGapIsCaughtUpOnceAndAtMostADayBack) {
    const EventStore diary = Diary({
        {Ymd(2026, 1, 12), "09:00 Monday"},
        {Ymd(2026, 1, 14), "10:00 A day before\r\n10:30 Wednesday"},
        {Ymd(2026, 1, 15), "08:00 Last check\r\n08:30 Breakfast\r\n10:58 Call\r\n10:59 Coffee\r\n"
                           "11:00 Dentist\r\n11:01 Taxi"},
    });
    const auto Jan = [](int day, int hour, int minute, int second = 0) {
        return LocalMoment(2026, 1, day, hour, minute, second);
    };
    const std::optional<std::time_t> none;
    const char* const day = "Thursday, January 15, 2026 - ";
    const struct {
        std::optional<std::time_t> lastCheck;
        std::time_t now;
        LeadTime lead;
        const char* what;
        Strings raised;
    } cases[] = {
        {Jan(15, 8, 0),
         Jan(15, 11, 0, 5),
         {},
         "a sleep of three hours",
         {"missed: 08:30 Breakfast", "missed: 10:58 Call", "missed: 10:59 Coffee",
          "11:00 Dentist"}},
        {Jan(15, 10, 59, 30),
         Jan(15, 11, 1),
         {},
         "a minute late is on time",
         {"11:00 Dentist", "11:01 Taxi"}},
        {Jan(12, 10, 0),
         Jan(15, 10, 0),
         {},
         "three days: only the last 24 hours",
         {"Wednesday, January 14, 2026 - missed: 10:30 Wednesday", "missed: 08:00 Last check",
          "missed: 08:30 Breakfast"}},
        {Jan(14, 9, 0),
         Jan(14, 11, 0, 5),
         {1, 0, 0},
         "a lead time of a day",
         {"missed: 10:58 Call", "missed: 10:59 Coffee", "11:00 Dentist"}},
        {Jan(15, 8, 0, 5),
         Jan(15, 8, 40),
         {},
         "the minute of the stored check was the earlier run's",
         {"missed: 08:30 Breakfast"}},
        {none, Jan(15, 11, 0, 30), {}, "a start without a stored check", {"11:00 Dentist"}},
        {LocalMoment(2030, 1, 1, 0, 0),
         Jan(15, 11, 0, 30),
         {},
         "a clock set back",
         {"11:00 Dentist"}},
    };
    for (const auto& c : cases) {
        store = diary;
        engine = ReminderEngine();
        if (c.lastCheck)
            engine.ResumeAfter(*c.lastCheck);
        Strings expected;
        for (const std::string& text : c.raised)
            expected.push_back(text.find(" - ") == std::string::npos ? day + text : text);
        EXPECT_EQ(CheckAt(c.now, c.lead), expected) << c.what;
        EXPECT_EQ(engine.LastCheck(), c.now) << c.what;
        EXPECT_EQ(CheckAt(c.now + 10, c.lead), Strings{}) << c.what << ": raised once";
    }
}

TEST_F(Reminders, SnoozeBringsThePendingLinesBackWhenItsTimeComes) {
    store = Diary({{Ymd(2026, 1, 15), "08:30 Breakfast\r\n09:00 Dentist\r\n09:10 Bus"}});
    const Strings comeBack = {"Thursday, January 15, 2026 - missed: 08:30 Breakfast",
                              "Thursday, January 15, 2026 - 09:00 Dentist"};
    for (const int minutes : {5, 15, 60}) {
        engine = ReminderEngine();
        engine.ResumeAfter(LocalMoment(2026, 1, 15, 8, 0));
        const std::time_t start = LocalMoment(2026, 1, 15, 9, 0);
        ASSERT_EQ(CheckAt(start), comeBack);
        engine.Snooze(minutes);
        EXPECT_FALSE(engine.HasPending()) << minutes;
        const std::time_t until = start + minutes * 60;
        EXPECT_EQ(Ticks(start + 10, until - 10).size(), minutes > 10 ? 1u : 0u)
            << minutes << ": only the bus";
        EXPECT_EQ(CheckAt(until), comeBack) << minutes;
        Ticks(until + 10, LocalMoment(2026, 1, 15, 9, 10));
        EXPECT_EQ(Menu(engine).size(), 3u) << minutes;
        engine.DismissAll();
        EXPECT_EQ(CheckAt(start), Strings{}) << minutes << ": clock set back after all";
    }
}

#ifndef _WIN32
TEST_F(Reminders, TheSkippedAndTheRepeatedHourAreRemindedOnce) {
    const ProcessInCentralEurope zone;
    // 02:00 CET becomes 03:00 CEST on 29 March; 03:00 CEST becomes 02:00 CET on 25 October.
    store = Diary({
        {Ymd(2026, 3, 29), "01:59 Before\r\n02:00 At the jump\r\n02:30 Skipped\r\n03:00 After\r\n"
                           "09:00 Brunch"},
        {Ymd(2026, 10, 25), "01:59 Before\r\n02:30 Repeated\r\n03:00 After"},
    });
    const std::string spring = "Sunday, March 29, 2026 - ";
    const std::string autumn = "Sunday, October 25, 2026 - ";
    const Raised skipped = {
        {UtcMoment(2026, 3, 29, 0, 59) + 3, spring + "01:59 Before"},
        {UtcMoment(2026, 3, 29, 1, 0) + 3, spring + "02:00 At the jump"},
        {UtcMoment(2026, 3, 29, 1, 0) + 3, spring + "02:30 Skipped"},
        {UtcMoment(2026, 3, 29, 1, 0) + 3, spring + "03:00 After"},
    };
    EXPECT_EQ(Ticks(UtcMoment(2026, 3, 29, 0, 0) + 3, UtcMoment(2026, 3, 29, 2, 0)), skipped);
    const Raised repeated = {
        {UtcMoment(2026, 10, 24, 23, 59) + 3, autumn + "01:59 Before"},
        {UtcMoment(2026, 10, 25, 0, 30) + 3, autumn + "02:30 Repeated"},
        {UtcMoment(2026, 10, 25, 2, 0) + 3, autumn + "03:00 After"},
    };
    EXPECT_EQ(Ticks(UtcMoment(2026, 10, 24, 23, 0) + 3, UtcMoment(2026, 10, 25, 3, 0)), repeated);
    // A day of lead time is 24 hours: 09:00 CEST comes at 08:00 CET the day before.
    engine = ReminderEngine();
    EXPECT_EQ(CheckAt(UtcMoment(2026, 3, 28, 7, 0), {1, 0, 0}), Strings{spring + "09:00 Brunch"});
}
#endif

TEST(BalloonText, ListsWhatFitsAndCountsTheRest) {
    const auto Due = [](const std::string& text) { return DueReminder{Reminder{}, text}; };
    EXPECT_EQ(BalloonText({Due("one"), Due("two")}), "one\ntwo");
    EXPECT_EQ(BalloonText({Due("1"), Due("2"), Due("3"), Due("4"), Due("5"), Due("6"), Due("7")}),
              "1\n2\n3\n4\nand 3 more");

    // Many mixes: how many lines, how long, of which characters.
    for (const std::string character : {"a", "\xC3\xBC", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"}) {
        for (const std::size_t length : {10, 45, 60, 130, 300}) {
            for (std::size_t count = 1; count <= 12; ++count) {
                std::vector<DueReminder> raised;
                std::string joined;
                for (std::size_t i = 0; i < count; ++i) {
                    std::string text = std::to_string(i) + " ";
                    while (text.size() + character.size() <= length)
                        text += character;
                    joined += (i > 0 ? "\n" : "") + text;
                    raised.push_back(Due(text));
                }
                const std::string balloon = BalloonText(raised);
                SCOPED_TRACE(std::to_string(count) + " of " + std::to_string(length) + " bytes");
                EXPECT_LE(balloon.size(), 255u);
                Strings lines;
                for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
                    end = balloon.find('\n', start);
                    lines.push_back(balloon.substr(start, end - start));
                }
                ASSERT_LE(lines.size(), 5u);
                std::size_t more = 0;
                if (lines.back().rfind("and ", 0) == 0) {
                    more = std::stoul(lines.back().substr(4));
                    lines.pop_back();
                }
                ASSERT_EQ(lines.size() + more, count);
                EXPECT_EQ(balloon == joined, count <= 5 && joined.size() <= 255);
                for (std::size_t i = 0; i < lines.size(); ++i) {
                    if (lines[i] == raised[i].text)
                        continue;
                    // Only a first line too long alone is cut, and only between characters.
                    EXPECT_EQ(i, 0u);
                    ASSERT_GE(lines[i].size(), 3u);
                    const std::size_t cut = lines[i].size() - 3;
                    EXPECT_EQ(lines[i].substr(cut), "...");
                    EXPECT_EQ(lines[i].substr(0, cut), raised[i].text.substr(0, cut));
                    EXPECT_NE(raised[i].text[cut] & 0xC0, 0x80) << "cut inside a character";
                }
            }
        }
    }
}

} // namespace

#pragma once

#include "core/Date.h"
#include "core/EventStore.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

// How long before an event the reminder comes; any values, negative included.
// It is counted in elapsed time, so across a daylight-saving change a day of
// lead time is 24 hours, not the same clock time of the day before.
struct LeadTime {
    int days = 0;
    int hours = 0;
    int minutes = 0;
};

// A line of one day's text that has been reminded. The same text on another
// day is another reminder.
struct Reminder {
    std::string line;
    Date day;
    bool missed = false; // raised late, because no check ran when it fell due
};

// "Sunday, December 6, 2026 - 11:00 Go to the dentist", or "... - missed:
// 11:00 Go to the dentist": the tooltip and the menu item of a reminder.
std::string ReminderText(const Reminder& reminder);

struct DueReminder {
    Reminder reminder;
    std::string text; // its ReminderText
};

// The text of the one balloon that shows what a check raised: one
// ReminderText a line, as many as a notification can show, and "and 3 more"
// for the rest.
std::string BalloonText(const std::vector<DueReminder>& raised);

// The reminder menu as built: the newest pending reminders that fit, newest
// first, and how many older ones are left out. Those stay pending and come
// in as newer ones are dismissed.
struct ReminderMenu {
    std::vector<Reminder> items;
    int more = 0;
};

// Which event lines fall due, and the reminders the user has not yet dealt
// with. A check raises every line whose reminder moment (its day and time
// minus the lead time) lies after the previous check and not after now. A
// line is raised once per day it stands on: neither a later check nor a clock
// set back raises it again; only a snooze brings it back.
class ReminderEngine {
  public:
    // The last check of an earlier run, kept in the settings: the first check
    // catches up from there. Without it the first check looks back a minute.
    void ResumeAfter(std::time_t previousCheck);
    // When the latest check ran, for the settings; nothing before the first.
    std::optional<std::time_t> LastCheck() const { return lastCheck; }

    // One check at Now(): returns the lines raised, those back from a snooze
    // first, then the new ones in the order of their moments.
    std::vector<DueReminder> CheckReminders(const EventStore& store, const LeadTime& lead);

    bool HasPending() const { return !pending.empty(); }
    // The menu with room for that many reminders.
    ReminderMenu Menu(int room) const;
    // Takes the reminder of that day and line out of the pending ones for
    // good; nothing when it is not pending (any more).
    std::optional<Reminder> Dismiss(const Reminder& which);
    void DismissAll();
    // Every pending line leaves the menu until the first check that many
    // minutes from now or later, which raises it again.
    void Snooze(int minutes);

  private:
    struct SnoozedReminder {
        Reminder reminder;
        std::time_t until;
    };

    std::time_t CheckedSince(std::time_t now) const;
    void WakeSnoozed(std::time_t now, std::vector<DueReminder>& raised);

    std::optional<std::time_t> lastCheck;
    bool lastCheckResumed = false; // from an earlier run, which raised what fell before it
    std::vector<Reminder> pending;
    std::vector<SnoozedReminder> snoozed;
    // Day number and line of every reminder raised in this run.
    std::set<std::pair<std::uint32_t, std::string>> alreadyRaised;
};

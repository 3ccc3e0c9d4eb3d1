#pragma once

#include "core/Date.h"
#include "core/EventStore.h"

#include <optional>
#include <string>
#include <vector>

// How long before an event the reminder comes; any values, negative included.
struct LeadTime {
    int days = 0;
    int hours = 0;
    int minutes = 0;
};

// The moment whose events are due now: now plus the lead time, to the minute.
struct TargetMoment {
    Date day;
    int hour;
    int minute;
};
TargetMoment ReminderTarget(const LeadTime& lead);

// "Sunday, December 6, 2026 - 11:00 Go to the dentist": the tooltip of a new
// reminder and the text of its menu item.
std::string ReminderText(const Date& day, const std::string& line);

// A line of a day text and the day on which it was last found due.
struct Reminder {
    std::string line;
    Date day;
};

struct DueReminder {
    Reminder reminder;
    std::string text; // ReminderText of the two
};

struct ReminderMenuItem {
    int index; // what Dismiss takes
    std::string text;
};

// Which event lines are due, and the reminders the user has not yet opened.
// Both lists are keyed by the line's text, so a text is reminded at most once
// per run: the same line on a later day only moves its pending entry to that
// day, and an opened (dismissed) line is never reminded again.
class ReminderEngine {
  public:
    // One check: the lines of the target day whose time is the target's hour
    // and minute become pending; returns those that were not pending before.
    std::vector<DueReminder> CheckReminders(const EventStore& store, const LeadTime& lead);

    bool HasPending() const { return !pending.empty(); }
    // The items of the reminder menu, newest first, each with its index in
    // the order the reminders came.
    std::vector<ReminderMenuItem> MenuItems() const;
    // Moves pending entry `index` to the dismissed ones and returns it; nothing
    // for an index that is not pending.
    std::optional<Reminder> Dismiss(int index);

  private:
    std::vector<Reminder> pending;
    std::vector<Reminder> dismissed;
};

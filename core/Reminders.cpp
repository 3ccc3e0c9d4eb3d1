#include "core/Reminders.h"

#include "core/DayText.h"
#include "core/EventTime.h"
#include "core/Now.h"

#include <algorithm>
#include <cstdint>

namespace {

Reminder* FindLine(std::vector<Reminder>& list, const std::string& line) {
    const auto found = std::find_if(list.begin(), list.end(),
                                    [&](const Reminder& entry) { return entry.line == line; });
    return found == list.end() ? nullptr : &*found;
}

} // namespace

TargetMoment ReminderTarget(const LeadTime& lead) {
    // Adding the lead to the local fields and normalising them with mktime
    // under now's daylight-saving flag comes to the same moment; this way
    // does not depend on how each C runtime's mktime normalises.
    const std::int64_t seconds = (static_cast<std::int64_t>(lead.days) * 24 * 60 +
                                  static_cast<std::int64_t>(lead.hours) * 60 + lead.minutes) *
                                 60;
    const std::tm target = ToLocalTime(Now() + static_cast<std::time_t>(seconds));
    return TargetMoment{Date(target), target.tm_hour, target.tm_min};
}

std::string ReminderText(const Date& day, const std::string& line) {
    return day.Format(3) + " - " + line;
}

std::vector<DueReminder> ReminderEngine::CheckReminders(const EventStore& store,
                                                        const LeadTime& lead) {
    const TargetMoment target = ReminderTarget(lead);
    std::vector<DueReminder> raised;
    for (const std::string& line : SplitLines(store.Lookup(target.day))) {
        const std::optional<TimeOfDay> time = ParseEventTime(line);
        if (!time || time->hour != target.hour || time->minute != target.minute)
            continue;
        if (FindLine(dismissed, line) != nullptr)
            continue;
        // Every check within the target minute finds the line again; only the
        // first raises it.
        if (Reminder* known = FindLine(pending, line)) {
            known->day = Date(target.day);
            continue;
        }
        pending.push_back(Reminder{line, Date(target.day)});
        raised.push_back(DueReminder{pending.back(), ReminderText(target.day, line)});
    }
    return raised;
}

std::vector<ReminderMenuItem> ReminderEngine::MenuItems() const {
    std::vector<ReminderMenuItem> items;
    for (int index = static_cast<int>(pending.size()) - 1; index >= 0; --index) {
        const Reminder& entry = pending[static_cast<std::size_t>(index)];
        items.push_back(ReminderMenuItem{index, ReminderText(entry.day, entry.line)});
    }
    return items;
}

std::optional<Reminder> ReminderEngine::Dismiss(int index) {
    if (index < 0 || index >= static_cast<int>(pending.size()))
        return std::nullopt;
    Reminder chosen = pending[static_cast<std::size_t>(index)];
    pending.erase(pending.begin() + index);
    dismissed.push_back(chosen);
    return chosen;
}

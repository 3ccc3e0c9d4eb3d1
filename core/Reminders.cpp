#include "core/Reminders.h"

#include "core/DayText.h"
#include "core/EventTime.h"
#include "core/Now.h"
#include "core/Utf8.h"

#include <algorithm>

namespace {

// However long no check ran (the computer slept, the program was closed),
// only the last day is caught up on.
const std::time_t kLongestCatchUp = 24 * 60 * 60;
// A line is due for the whole minute of its moment. With a tick every 10
// seconds it is raised within that minute; later, no check ran when it fell due.
const std::time_t kMinute = 60;
// A first check without a previous one covers the minute in which a tick
// would have raised a line.
const std::time_t kFirstLookBack = 60;

// A notification shows 255 bytes and a handful of lines.
const std::size_t kBalloonBytes = 255;
const std::size_t kBalloonLines = 5;
const char kCutMark[] = "...";

struct DueLine {
    std::time_t moment;
    Reminder reminder;
};

std::int64_t Seconds(const LeadTime& lead) {
    return ((static_cast<std::int64_t>(lead.days) * 24 + lead.hours) * 60 + lead.minutes) * 60;
}

bool IsTimeOfDay(const TimeOfDay& time) {
    return time.hour >= 0 && time.hour < 24 && time.minute >= 0 && time.minute < 60;
}

// The event lines whose reminder moment lies in (since, now], earliest first.
// Only the days on which such events can stand are looked up.
std::vector<DueLine> LinesDue(const EventStore& store, const LeadTime& lead, std::time_t since,
                              std::time_t now) {
    std::vector<DueLine> due;
    if (since >= now)
        return due;
    const std::int64_t leadSeconds = Seconds(lead);
    const std::uint32_t firstDay =
        Date(ToLocalTime(static_cast<std::time_t>(since + 1 + leadSeconds))).dayNumber;
    const std::uint32_t lastDay =
        Date(ToLocalTime(static_cast<std::time_t>(now + leadSeconds))).dayNumber;
    // Where clocks go back at midnight, the first day can come after the last.
    const auto [from, to] = std::minmax(firstDay, lastDay);
    for (std::uint32_t dayNumber = from; dayNumber <= to; ++dayNumber) {
        const Date day(dayNumber);
        for (const std::string& line : SplitLines(store.Lookup(day))) {
            const std::optional<TimeOfDay> time = ParseEventTime(line);
            if (!time || !IsTimeOfDay(*time))
                continue;
            const std::int64_t moment = FromLocalTime(day, time->hour, time->minute) - leadSeconds;
            if (moment > since && moment <= now)
                due.push_back(DueLine{static_cast<std::time_t>(moment),
                                      Reminder{line, day, now - moment > kMinute}});
        }
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const DueLine& a, const DueLine& b) { return a.moment < b.moment; });
    return due;
}

DueReminder Due(const Reminder& reminder) {
    return DueReminder{reminder, ReminderText(reminder)};
}

std::string MoreNote(std::size_t left) {
    return left == 0 ? "" : "\nand " + std::to_string(left) + " more";
}

} // namespace

std::string ReminderText(const Reminder& reminder) {
    return reminder.day.Format(3) + " - " + (reminder.missed ? "missed: " : "") + reminder.line;
}

std::string BalloonText(const std::vector<DueReminder>& raised) {
    std::string text;
    std::size_t listed = 0;
    for (; listed < raised.size(); ++listed) {
        const std::size_t left = raised.size() - listed - 1;
        const std::size_t lines = listed + 1 + (left > 0 ? 1 : 0);
        std::string longer = text + (listed > 0 ? "\n" : "") + raised[listed].text;
        if (lines > kBalloonLines || longer.size() + MoreNote(left).size() > kBalloonBytes)
            break;
        text = std::move(longer);
    }
    if (listed == 0 && !raised.empty()) {
        // The first line alone is too long: its start stands for it.
        const std::size_t room =
            kBalloonBytes - MoreNote(raised.size() - 1).size() - (sizeof kCutMark - 1);
        text = raised.front().text.substr(0, Utf8CutLength(raised.front().text, room)) + kCutMark;
        listed = 1;
    }
    return text + MoreNote(raised.size() - listed);
}

void ReminderEngine::ResumeAfter(std::time_t previousCheck) {
    lastCheck = previousCheck;
    lastCheckResumed = true;
}

std::vector<DueReminder> ReminderEngine::CheckReminders(const EventStore& store,
                                                        const LeadTime& lead) {
    const std::time_t now = Now();
    const std::time_t since = CheckedSince(now);
    lastCheck = now;
    lastCheckResumed = false;
    std::vector<DueReminder> raised;
    WakeSnoozed(now, raised);
    for (const DueLine& due : LinesDue(store, lead, since, now)) {
        const Reminder& reminder = due.reminder;
        if (!alreadyRaised.emplace(reminder.day.dayNumber, reminder.line).second)
            continue;
        pending.push_back(reminder);
        raised.push_back(Due(reminder));
    }
    return raised;
}

std::time_t ReminderEngine::CheckedSince(std::time_t now) const {
    // A clock set back starts anew, as a run without a stored check does; what
    // was raised before is not raised again.
    if (!lastCheck || *lastCheck > now)
        return now - kFirstLookBack;
    // Within a run a line is due for the whole minute of its moment, so that
    // one written in that minute after a check is still raised; the checks
    // of this run raised the others already.
    const std::time_t since = lastCheckResumed ? *lastCheck : *lastCheck - *lastCheck % kMinute - 1;
    return std::max(since, now - kLongestCatchUp);
}

void ReminderEngine::WakeSnoozed(std::time_t now, std::vector<DueReminder>& raised) {
    const auto awake =
        std::stable_partition(snoozed.begin(), snoozed.end(),
                              [now](const SnoozedReminder& entry) { return entry.until > now; });
    for (auto entry = awake; entry != snoozed.end(); ++entry) {
        pending.push_back(entry->reminder);
        raised.push_back(Due(entry->reminder));
    }
    snoozed.erase(awake, snoozed.end());
}

ReminderMenu ReminderEngine::Menu(int room) const {
    ReminderMenu menu;
    const std::size_t shown = std::min(pending.size(), static_cast<std::size_t>(std::max(room, 0)));
    menu.items.assign(pending.rbegin(), pending.rbegin() + static_cast<std::ptrdiff_t>(shown));
    menu.more = static_cast<int>(pending.size() - shown);
    return menu;
}

std::optional<Reminder> ReminderEngine::Dismiss(const Reminder& which) {
    const auto found = std::find_if(pending.begin(), pending.end(), [&](const Reminder& entry) {
        return entry.day == which.day && entry.line == which.line;
    });
    if (found == pending.end())
        return std::nullopt;
    Reminder chosen = *found;
    pending.erase(found);
    return chosen;
}

void ReminderEngine::DismissAll() {
    pending.clear();
}

void ReminderEngine::Snooze(int minutes) {
    const std::time_t until = Now() + static_cast<std::time_t>(minutes) * 60;
    for (Reminder& reminder : pending)
        snoozed.push_back(SnoozedReminder{std::move(reminder), until});
    pending.clear();
}

#include "storage/CalendarSync.h"

#include "core/DayText.h"
#include "core/EventImport.h"
#include "storage/ICalendarReader.h"
#include "storage/ICalendarWriter.h"

#include <algorithm>
#include <cassert>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <map>
#include <unordered_map>
#include <unordered_set>
#include <utility>

bool SameEvent(const SyncEvent& one, const SyncEvent& other) {
    const bool sameTime = one.time.has_value() == other.time.has_value() &&
                          (!one.time || (one.time->hour == other.time->hour &&
                                         one.time->minute == other.time->minute));
    return one.day == other.day && sameTime && one.summary == other.summary;
}

namespace {

const char kChangedToo[] = " (changed in the calendar too)";
const std::size_t kFetchBatch = 50;
const int kKeepEvery = 100;
const int kAnyMinute = -2;

// Servers spell one href with and without percent-escapes ("@" or "%40"):
// compared unescaped.
std::string HrefKey(const std::string& href) {
    std::string key;
    key.reserve(href.size());
    for (std::size_t i = 0; i < href.size(); ++i) {
        if (href[i] == '%' && i + 2 < href.size() &&
            std::isxdigit(static_cast<unsigned char>(href[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(href[i + 2]))) {
            key += static_cast<char>(std::stoi(href.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            key += href[i];
        }
    }
    return key;
}

int MinuteOf(const std::optional<TimeOfDay>& time) {
    return time ? time->hour * 60 + time->minute : -1;
}

std::string LineOf(const SyncEvent& event) {
    return EventLine(ImportedEvent{event.day, event.time, event.summary, ""});
}

// A server's event as the diary line made of it reads back, so that an event
// brought into the diary compares equal to its line at the next sync.
SyncEvent AsInDiary(const ImportedEvent& imported) {
    SyncEvent event{imported.date, imported.time, EventLine(imported)};
    if (imported.time) {
        const std::optional<TimedLine> line = ReadTimedLine(event.summary);
        event.time = line ? line->time : *imported.time;
        event.summary = line ? line->text : std::string();
    }
    return event;
}

struct ServerEvent {
    std::string href, etag, uid;
    SyncEvent event;
};

// The one event of a resource; else the reason it cannot be taken.
std::string ReadResource(const CalendarServer::Resource& resource, const TimeRules& local,
                         ServerEvent& out) {
    const ICalendarImport read = ReadICalendar(resource.data, local);
    if (!read.error.empty())
        return read.error;
    if (read.repeatingSkipped > 0)
        return "a repeating event, which the diary cannot hold";
    if (read.events.size() != 1)
        return "not a single event";
    out = ServerEvent{resource.href, resource.etag, read.events[0].uid, AsInDiary(read.events[0])};
    if (!out.event.time && out.event.summary.empty())
        return "an all-day event without a summary";
    return std::string();
}

enum class ServerSide { Unchanged, Changed, Gone, Untouched };
enum class DiarySide { NotLooked, Same, Changed, Gone };

struct DiaryLine {
    std::string text;
    std::optional<TimedLine> timed;
    int ordinal = 0; // among the day's timed lines at its time
    bool used = false;
};

int MinuteOf(const DiaryLine& line) {
    return line.timed ? MinuteOf(std::optional<TimeOfDay>(line.timed->time)) : -1;
}

// A day of the window: its saved lines, indexed so that matching never scans.
struct DiaryDay {
    Date day;
    std::vector<DiaryLine> lines;
    std::map<std::string, std::vector<int>> byText;    // every line, by its whole text
    std::map<std::string, std::vector<int>> bySummary; // timed lines, by the text after the time
    std::map<std::pair<int, int>, int> byPlace;        // timed lines, by minute and ordinal
    std::vector<int> items;                            // the state's items on the day
};

// The first unused line of the candidates at that minute, the one with that
// ordinal preferred; marked used.
int Take(DiaryDay& day, const std::vector<int>* candidates, int minute, int ordinal) {
    if (candidates == nullptr)
        return -1;
    int found = -1;
    for (const int k : *candidates) {
        const DiaryLine& line = day.lines[static_cast<std::size_t>(k)];
        if (line.used || (minute != kAnyMinute && MinuteOf(line) != minute))
            continue;
        if (found < 0 || line.ordinal == ordinal)
            found = k;
        if (line.ordinal == ordinal)
            break;
    }
    if (found >= 0)
        day.lines[static_cast<std::size_t>(found)].used = true;
    return found;
}

template <typename Key>
const std::vector<int>* Find(const std::map<Key, std::vector<int>>& index, const Key& key) {
    const auto found = index.find(key);
    return found == index.end() ? nullptr : &found->second;
}

// A line equal to the event: an all-day one by its text, a timed one by time and text.
int TakeEqual(DiaryDay& day, const SyncEvent& event, int ordinal) {
    if (!event.time)
        return Take(day, Find(day.byText, LineOf(event)), kAnyMinute, ordinal);
    return Take(day, Find(day.bySummary, event.summary), MinuteOf(event.time), ordinal);
}

class Sync {
  public:
    Sync(CalendarServer& server, SyncState& state, const EventStore& saved, const SyncArgs& args,
         const std::function<void(const SyncState&)>& keep)
        : server(server), state(state), saved(saved), args(args), keep(keep) {}

    SyncOutcome Run() {
        assert(args.local != nullptr);
        dropped.assign(state.items.size(), false);
        if (ReadServer()) {
            ReadDiary();
            Decide();
        }
        state = Compacted();
        if (!aborted) {
            state.syncToken = token;
            outcome.completed = true;
        }
        keep(state);
        return std::move(outcome);
    }

  private:
    enum class Write { Done, Conflict, Aborted };
    enum class Got { Found, Gone, Aborted };

    struct Match {
        DiarySide side = DiarySide::NotLooked;
        const DiaryLine* line = nullptr;
        Date day;
    };

    bool InWindow(const Date& day) const { return !(day < args.first) && !(args.last < day); }

    bool Abort(const ServerFailure& failure) {
        outcome.failure = failure;
        aborted = true;
        return false;
    }

    void Skip(const std::string& href, const std::string& reason) {
        outcome.skipped.push_back(href + ": " + reason);
    }

    // A step of the state done: kept now and then, so a sync cut off resumes.
    void Step() {
        if (++stepsSinceKeep < kKeepEvery)
            return;
        keep(Compacted());
        stepsSinceKeep = 0;
    }

    SyncState Compacted() const {
        SyncState copy{state.calendarUrl, state.syncToken, {}};
        for (std::size_t i = 0; i < state.items.size(); ++i) {
            if (!dropped[i])
                copy.items.push_back(state.items[i]);
        }
        return copy;
    }

    void Drop(std::size_t i) {
        dropped[i] = true;
        Step();
    }

    void AddItem(SyncedItem item) {
        uids.insert(item.uid);
        state.items.push_back(std::move(item));
        dropped.push_back(false);
        Step();
    }

    void Change(DiaryChange::Kind kind, const Date& day, std::string line,
                std::string replacement = std::string()) {
        outcome.changes.push_back(DiaryChange{kind, day, std::move(line), std::move(replacement)});
        ++outcome.received;
    }

    // The diary's line follows the server's new version of its event.
    void Follow(const Date& day, const std::string& line, const SyncEvent& now) {
        if (now.day == day) {
            Change(DiaryChange::Kind::Replace, day, line, LineOf(now));
            return;
        }
        Change(DiaryChange::Kind::Remove, day, line);
        Change(DiaryChange::Kind::Add, now.day, LineOf(now));
    }

    // Where a line added to the day will stand among the lines of its time.
    int OrdinalOnArrival(const SyncEvent& event) const {
        const auto found = days.find(event.day.dayNumber);
        if (!event.time || found == days.end())
            return 0;
        return static_cast<int>(std::count_if(
            found->second.lines.begin(), found->second.lines.end(),
            [&](const DiaryLine& line) { return MinuteOf(line) == MinuteOf(event.time); }));
    }

    // The item takes the server's version, not yet seen in a saved diary.
    void TakeServer(std::size_t i, const ServerEvent& now) {
        SyncedItem& item = state.items[i];
        item.href = now.href;
        item.etag = now.etag;
        item.event = now.event;
        item.ordinal = OrdinalOnArrival(now.event);
        item.agreed = false;
        Step();
    }

    // ---- The server's side.

    bool ReadServer() {
        CalendarServer::Listing listing;
        ServerFailure failure;
        if (!server.List(state.syncToken, listing, failure))
            return Abort(failure);
        token = listing.syncToken;
        const std::size_t count = state.items.size();
        serverSide.assign(count, ServerSide::Unchanged);
        fetched.resize(count);
        std::unordered_map<std::string, std::size_t> byHref;
        for (std::size_t i = 0; i < count; ++i) {
            byHref[HrefKey(state.items[i].href)] = i;
            uids.insert(state.items[i].uid);
        }
        std::vector<bool> listed(count, false);
        std::vector<std::string> toFetch;
        std::unordered_set<std::string> asked;
        for (const CalendarServer::Item& listedItem : listing.items) {
            const auto found = byHref.find(HrefKey(listedItem.href));
            if (found != byHref.end()) {
                listed[found->second] = true;
                state.items[found->second].href = listedItem.href; // the server's spelling
                if (!listedItem.etag.empty() && listedItem.etag == state.items[found->second].etag)
                    continue;
                // Left as it is unless the fetch brings it.
                serverSide[found->second] = ServerSide::Untouched;
            }
            if (asked.insert(listedItem.href).second)
                toFetch.push_back(listedItem.href);
        }
        for (std::size_t i = 0; i < count && listing.complete; ++i) {
            if (!listed[i])
                serverSide[i] = ServerSide::Gone;
        }
        for (const std::string& href : listing.removed) {
            const auto found = byHref.find(HrefKey(href));
            if (found != byHref.end() && !listed[found->second])
                serverSide[found->second] = ServerSide::Gone;
        }
        for (std::size_t first = 0; first < toFetch.size(); first += kFetchBatch) {
            const std::vector<std::string> batch(
                toFetch.begin() + static_cast<std::ptrdiff_t>(first),
                toFetch.begin() +
                    static_cast<std::ptrdiff_t>(std::min(toFetch.size(), first + kFetchBatch)));
            std::vector<CalendarServer::Resource> resources;
            if (!server.Fetch(batch, resources, failure))
                return Abort(failure);
            for (const CalendarServer::Resource& resource : resources)
                TakeFetched(resource, byHref);
        }
        return true;
    }

    void TakeFetched(const CalendarServer::Resource& resource,
                     const std::unordered_map<std::string, std::size_t>& byHref) {
        ServerEvent event;
        const std::string reason = ReadResource(resource, *args.local, event);
        if (!reason.empty()) {
            Skip(resource.href, reason); // and its item, if any, stays untouched
            return;
        }
        const auto found = byHref.find(HrefKey(resource.href));
        if (found == byHref.end()) {
            newOnServer.push_back(std::move(event));
            return;
        }
        const std::size_t i = found->second;
        if (SameEvent(event.event, state.items[i].event)) {
            // Only the etag moved (a server rewriting it, or one not known after a write).
            state.items[i].etag = event.etag;
            serverSide[i] = ServerSide::Unchanged;
            Step();
            return;
        }
        serverSide[i] = ServerSide::Changed;
        fetched[i] = std::move(event);
    }

    Got FetchOne(const std::string& href, CalendarServer::Resource& resource) {
        std::vector<CalendarServer::Resource> resources;
        ServerFailure failure;
        if (!server.Fetch({href}, resources, failure)) {
            Abort(failure);
            return Got::Aborted;
        }
        if (resources.empty())
            return Got::Gone;
        resource = std::move(resources[0]);
        return Got::Found;
    }

    Write Put(const std::string& href, const SyncEvent& event, const std::string& uid,
              const std::string& etag, CalendarServer::Written& written) {
        assert(event.time); // only timed lines travel
        const std::string data =
            EventResource(uid, event.day, TimedLine{*event.time, event.summary}, args.stamp,
                          args.reminderMinutes, *args.local);
        ServerFailure failure;
        if (server.Put(href, data, etag, written, failure)) {
            ++outcome.sent;
            if (written.href.empty())
                written.href = href;
            return Write::Done;
        }
        if (failure.kind == ServerFailure::Kind::Refused && failure.status == 412)
            return Write::Conflict;
        Abort(failure);
        return Write::Aborted;
    }

    // The item now holds what was written; a server that gave no etag is
    // asked for it. False when cut off (the item then stands without one).
    bool Record(std::size_t i, const SyncEvent& event, int ordinal, const std::string& uid,
                const CalendarServer::Written& written, bool agreed = true) {
        SyncedItem& item = state.items[i];
        item.uid = uid;
        item.href = written.href;
        item.etag = written.etag;
        item.event = event;
        item.ordinal = ordinal;
        item.agreed = agreed;
        Step();
        if (!written.etag.empty())
            return true;
        CalendarServer::Resource resource;
        const Got got = FetchOne(written.href, resource);
        if (got == Got::Found)
            state.items[i].etag = resource.etag;
        return got != Got::Aborted;
    }

    // ---- The diary's side.

    void AddDay(const Date& day, const std::string& text) {
        DiaryDay& entry = days[day.dayNumber];
        entry.day = day;
        std::map<int, int> atMinute;
        for (std::string& line : SplitLines(text)) {
            DiaryLine read{std::move(line), std::nullopt};
            read.timed = ReadTimedLine(read.text);
            const int k = static_cast<int>(entry.lines.size());
            entry.byText[read.text].push_back(k);
            if (read.timed) {
                const int minute = MinuteOf(read.timed->time);
                read.ordinal = atMinute[minute]++;
                entry.bySummary[read.timed->text].push_back(k);
                entry.byPlace[{minute, read.ordinal}] = k;
            }
            entry.lines.push_back(std::move(read));
        }
    }

    void ReadDiary() {
        // The window's days that hold text: by day or by entry, whichever is fewer.
        const std::uint64_t span =
            args.last < args.first ? 0
                                   : std::uint64_t(args.last.dayNumber) - args.first.dayNumber + 1;
        if (span <= static_cast<std::uint64_t>(saved.GetCount())) {
            for (std::uint64_t n = 0; n < span; ++n) {
                const Date day(static_cast<std::uint32_t>(args.first.dayNumber + n));
                const int index = saved.FindIndex(day);
                if (index >= 0)
                    AddDay(saved.GetDateAt(index), saved.GetTextAt(index));
            }
        } else {
            for (int index = 0; index < saved.GetCount(); ++index) {
                const Date& day = saved.GetDateAt(index);
                if (InWindow(day) && saved.FindIndex(day) == index)
                    AddDay(day, saved.GetTextAt(index));
            }
        }
        matches.resize(state.items.size());
        for (std::size_t i = 0; i < state.items.size(); ++i) {
            const Date& day = state.items[i].event.day;
            if (!InWindow(day))
                continue;
            DiaryDay& entry = days[day.dayNumber];
            entry.day = day;
            entry.items.push_back(static_cast<int>(i));
        }
        for (auto& day : days)
            MatchItems(day.second);
    }

    // Each item of the day to a line: an equal one first; else one with its
    // text at another time (moved), else the line at its place (edited), is it
    // changed. The text is the surer sign: the place may hold a line added since.
    void MatchItems(DiaryDay& day) {
        const auto set = [&](int i, DiarySide side, int k) {
            Match& match = matches[static_cast<std::size_t>(i)];
            match.side = side;
            match.day = day.day;
            match.line = k < 0 ? nullptr : &day.lines[static_cast<std::size_t>(k)];
        };
        for (const int i : day.items) {
            const SyncedItem& item = state.items[static_cast<std::size_t>(i)];
            const int k = TakeEqual(day, item.event, item.ordinal);
            set(i, k >= 0 ? DiarySide::Same : DiarySide::Gone, k);
        }
        for (const bool byText : {true, false}) {
            for (const int i : day.items) {
                const SyncedItem& item = state.items[static_cast<std::size_t>(i)];
                if (matches[static_cast<std::size_t>(i)].side != DiarySide::Gone ||
                    !item.event.time)
                    continue;
                int k = -1;
                if (byText) {
                    k = Take(day, Find(day.bySummary, item.event.summary), kAnyMinute,
                             item.ordinal);
                } else {
                    const auto place = day.byPlace.find({MinuteOf(item.event.time), item.ordinal});
                    if (place != day.byPlace.end() &&
                        !day.lines[static_cast<std::size_t>(place->second)].used) {
                        k = place->second;
                        day.lines[static_cast<std::size_t>(k)].used = true;
                    }
                }
                if (k >= 0)
                    set(i, DiarySide::Changed, k);
            }
        }
    }

    static SyncEvent EventOf(const Match& match) {
        return SyncEvent{match.day, match.line->timed->time, match.line->timed->text};
    }

    // ---- The decisions.

    void Decide() {
        const std::size_t count = state.items.size();
        for (const ServerEvent& event : newOnServer)
            Pull(event);
        for (std::size_t i = 0; i < count; ++i) {
            if (!DecideItem(i))
                return;
        }
        for (auto& day : days) {
            for (const DiaryLine& line : day.second.lines) {
                if (line.used || !line.timed)
                    continue;
                const SyncEvent event{day.second.day, line.timed->time, line.timed->text};
                if (!Create(event, line.ordinal, std::nullopt))
                    return;
            }
        }
    }

    // A new event of the server: adopted by an equal line, else brought in.
    // One outside the window is only remembered, unagreed, so that it comes
    // in once the window reaches its day.
    void Pull(const ServerEvent& event) {
        SyncedItem item{event.uid, event.href, event.etag, event.event, 0, false};
        if (InWindow(event.event.day)) {
            const auto day = days.find(event.event.day.dayNumber);
            const int k = day == days.end() ? -1 : TakeEqual(day->second, event.event, -1);
            if (k >= 0) {
                item.ordinal = day->second.lines[static_cast<std::size_t>(k)].ordinal;
                item.agreed = true;
            } else {
                item.ordinal = OrdinalOnArrival(event.event);
                Change(DiaryChange::Kind::Add, event.event.day, LineOf(event.event));
            }
        }
        AddItem(std::move(item));
    }

    bool DecideItem(std::size_t i) {
        const ServerSide server = serverSide[i];
        const Match match = matches[i];
        if (server == ServerSide::Untouched)
            return true;
        if (match.side == DiarySide::Same) {
            SyncedItem& item = state.items[i];
            if (!item.agreed || item.ordinal != match.line->ordinal) {
                item.agreed = true;
                item.ordinal = match.line->ordinal;
                Step();
            }
        }
        const SyncedItem item = state.items[i]; // a copy: the steps below change it
        const bool looked = match.side != DiarySide::NotLooked;
        if (server == ServerSide::Unchanged) {
            if (match.side == DiarySide::Same || !looked)
                return true;
            if (!item.agreed) {
                // Brought in but never seen saved: it comes back.
                Change(DiaryChange::Kind::Add, item.event.day, LineOf(item.event));
                return true;
            }
            return match.side == DiarySide::Changed ? SendChange(i) : SendDeletion(i, item.etag);
        }
        if (server == ServerSide::Gone) {
            if (match.side == DiarySide::Changed && item.agreed)
                return Create(EventOf(match), match.line->ordinal, i); // a change wins
            if (match.side == DiarySide::Same)
                Change(DiaryChange::Kind::Remove, match.day, match.line->text);
            else if (looked ? !item.agreed : item.agreed) // a line brought in, or one out of sight
                Change(DiaryChange::Kind::Remove, item.event.day, LineOf(item.event));
            Drop(i);
            return true;
        }
        const ServerEvent now = fetched[i];
        if (looked && item.agreed && item.event.time && uids.count(MarkedUid(i, now)) > 0) {
            // A sync cut off in a conflict kept this version as its marked copy
            // already: the diary's side of the conflict is what is left to do.
            return match.side == DiarySide::Gone ? SendDeletion(i, now.etag) : BothChanged(i, now);
        }
        if (match.side == DiarySide::Same) {
            Follow(match.day, match.line->text, now.event);
        } else if (!looked || !item.agreed) {
            // A line brought in follows; out of the window only one the diary was seen to hold.
            if (looked || item.agreed)
                Follow(item.event.day, LineOf(item.event), now.event);
        } else if (match.side == DiarySide::Gone) {
            Change(DiaryChange::Kind::Add, now.event.day, LineOf(now.event)); // a change wins
        } else {
            return BothChanged(i, now);
        }
        TakeServer(i, now);
        return true;
    }

    bool SendChange(std::size_t i) {
        const SyncedItem item = state.items[i];
        const SyncEvent mine = EventOf(matches[i]);
        CalendarServer::Written written;
        switch (Put(item.href, mine, item.uid, item.etag, written)) {
        case Write::Aborted:
            return false;
        case Write::Done:
            return Record(i, mine, matches[i].line->ordinal, item.uid, written);
        case Write::Conflict:
            break;
        }
        // Changed on the server since the listing: as if the listing had said so.
        CalendarServer::Resource resource;
        switch (FetchOne(item.href, resource)) {
        case Got::Aborted:
            return false;
        case Got::Gone:
            return Create(mine, matches[i].line->ordinal, i);
        case Got::Found:
            break;
        }
        ServerEvent now;
        const std::string reason = ReadResource(resource, *args.local, now);
        if (!reason.empty()) {
            Skip(item.href, reason);
            return true;
        }
        return BothChanged(i, now);
    }

    // The diary keeps its line and gets the server's beside it, marked; the
    // server gets the diary's, and the marked version as an event of its own,
    // unagreed like any line brought in: should the diary never take the
    // marked line, the next sync brings it again rather than losing it. The
    // marked event is written first, under a UID made of the item's and the
    // version's, and the line only asked for once it stands: a sync cut off
    // before the rest finds it next time and neither loses nor doubles it.
    bool BothChanged(std::size_t i, const ServerEvent& now) {
        const SyncEvent mine = EventOf(matches[i]);
        if (SameEvent(mine, now.event)) {
            TakeServer(i, now);
            state.items[i].agreed = true;
            state.items[i].ordinal = matches[i].line->ordinal;
            return true;
        }
        SyncEvent marked = now.event;
        marked.summary += kChangedToo;
        // An all-day version travels only as a line (only timed lines are sent).
        if (marked.time) {
            const std::string uid = MarkedUid(i, now);
            if (uids.count(uid) == 0 &&
                !Create(marked, OrdinalOnArrival(marked), std::nullopt, false, uid))
                return false;
        }
        Change(DiaryChange::Kind::Add, marked.day, LineOf(marked));
        CalendarServer::Written written;
        switch (Put(now.href, mine, state.items[i].uid, now.etag, written)) {
        case Write::Aborted:
            return false;
        case Write::Conflict:
            Skip(now.href, "changed again during the sync; tried again next time");
            return true;
        case Write::Done:
            break;
        }
        return Record(i, mine, matches[i].line->ordinal, state.items[i].uid, written);
    }

    bool SendDeletion(std::size_t i, const std::string& etag) {
        const SyncedItem item = state.items[i];
        ServerFailure failure;
        if (server.Delete(item.href, etag, failure)) {
            ++outcome.sent;
            Drop(i);
            return true;
        }
        if (failure.kind == ServerFailure::Kind::Refused &&
            (failure.status == 404 || failure.status == 410)) {
            Drop(i); // gone already
            return true;
        }
        if (failure.kind != ServerFailure::Kind::Refused || failure.status != 412)
            return Abort(failure);
        // Changed on the server since the listing: the change wins.
        CalendarServer::Resource resource;
        const Got got = FetchOne(item.href, resource);
        if (got == Got::Aborted)
            return false;
        ServerEvent now;
        if (got == Got::Gone) {
            Drop(i);
        } else if (const std::string reason = ReadResource(resource, *args.local, now);
                   !reason.empty()) {
            Skip(item.href, reason);
        } else {
            Change(DiaryChange::Kind::Add, now.event.day, LineOf(now.event));
            TakeServer(i, now);
        }
        return true;
    }

    // The UID of the marked copy of the server's version of the item in a conflict.
    std::string MarkedUid(std::size_t i, const ServerEvent& now) const {
        return EventUid(args.installationId + " " + state.items[i].uid + " " + now.etag,
                        now.event.day, now.event.time.value_or(TimeOfDay{0, 0}), 0);
    }

    // A UID for a new event, by the line's place; another where that one is taken.
    std::string NewUid(const SyncEvent& event, int ordinal) const {
        std::string uid = EventUid(args.installationId, event.day, *event.time, ordinal);
        for (int n = 1; uids.count(uid) > 0 && n < 10; ++n)
            uid = EventUid(args.installationId + "/" + std::to_string(n), event.day, *event.time,
                           ordinal);
        return uid;
    }

    // Writes the line as an item where none stands: a new one, or `i` again
    // after the server deleted it. What stands there already is adopted when it
    // is the same event; another event there gets the line a UID of its own, once.
    bool Create(const SyncEvent& event, int ordinal, std::optional<std::size_t> i,
                bool agreed = true, const std::string& firstUid = std::string()) {
        std::string href;
        for (int attempt = 0; attempt < 2; ++attempt) {
            const bool again = i && attempt == 0;
            std::string uid = again                               ? state.items[*i].uid
                              : attempt == 0 && !firstUid.empty() ? firstUid
                                                                  : NewUid(event, ordinal);
            href = again ? state.items[*i].href : server.HrefFor(uid);
            uids.insert(uid);
            CalendarServer::Written written;
            const Write write = Put(href, event, uid, std::string(), written);
            if (write == Write::Aborted)
                return false;
            if (write == Write::Conflict) {
                CalendarServer::Resource resource;
                const Got got = FetchOne(href, resource);
                if (got == Got::Aborted)
                    return false;
                ServerEvent standing;
                if (got == Got::Gone || !ReadResource(resource, *args.local, standing).empty() ||
                    !SameEvent(standing.event, event))
                    continue;
                written = CalendarServer::Written{standing.href, standing.etag};
                if (!standing.uid.empty())
                    uid = standing.uid;
            }
            if (!i) {
                AddItem(SyncedItem{uid, href, std::string(), event, ordinal, true});
                i = state.items.size() - 1;
            }
            return Record(*i, event, ordinal, uid, written, agreed);
        }
        Skip(href, "another event stands where this one was to go");
        return true;
    }

    CalendarServer& server;
    SyncState& state;
    const EventStore& saved;
    const SyncArgs& args;
    const std::function<void(const SyncState&)>& keep;

    SyncOutcome outcome;
    bool aborted = false;
    std::string token;
    int stepsSinceKeep = 0;
    // By the index of the item in the state as the sync found it.
    std::vector<ServerSide> serverSide;
    std::vector<ServerEvent> fetched; // for the items changed on the server
    std::vector<Match> matches;
    std::vector<bool> dropped; // for every item, the added ones too
    std::vector<ServerEvent> newOnServer;
    std::map<std::uint32_t, DiaryDay> days;
    std::unordered_set<std::string> uids;
};

// ---- The state file: a header, then one line per field or item, tab-separated.

const char kStateHeader[] = "OrvikCalendar sync state 1";

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool Unescaped(std::string_view field, std::string& text) {
    text.clear();
    for (std::size_t k = 0; k < field.size(); ++k) {
        if (field[k] != '\\') {
            text += field[k];
            continue;
        }
        if (++k == field.size())
            return false;
        const char c = field[k];
        if (c != '\\' && c != 't' && c != 'n' && c != 'r')
            return false;
        text += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : '\\';
    }
    return true;
}

template <typename Number> bool ReadNumber(std::string_view text, Number& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

std::optional<SyncedItem> ReadItem(const std::vector<std::string_view>& fields) {
    SyncedItem item;
    std::uint32_t dayNumber = 0;
    int agreed = 0;
    if (fields.size() != 9 || fields[0] != "item" || !Unescaped(fields[1], item.uid) ||
        !Unescaped(fields[2], item.href) || !Unescaped(fields[3], item.etag) ||
        !ReadNumber(fields[4], dayNumber) || !ReadNumber(fields[6], item.ordinal) ||
        item.ordinal < 0 || !ReadNumber(fields[7], agreed) || agreed < 0 || agreed > 1 ||
        !Unescaped(fields[8], item.event.summary))
        return std::nullopt;
    const std::string_view time = fields[5];
    if (!time.empty()) {
        TimeOfDay read{};
        if (time.size() != 5 || time[2] != ':' || !ReadNumber(time.substr(0, 2), read.hour) ||
            !ReadNumber(time.substr(3), read.minute) || read.hour > 23 || read.minute > 59)
            return std::nullopt;
        item.event.time = read;
    }
    item.event.day = Date(dayNumber);
    item.agreed = agreed == 1;
    return item;
}

} // namespace

SyncOutcome SyncCalendar(CalendarServer& server, SyncState& state, const EventStore& saved,
                         const SyncArgs& args, const std::function<void(const SyncState&)>& keep) {
    return Sync(server, state, saved, args, keep).Run();
}

std::string FormatSyncState(const SyncState& state) {
    std::string out = std::string(kStateHeader) + "\nurl\t" + Escaped(state.calendarUrl) +
                      "\ntoken\t" + Escaped(state.syncToken) + "\n";
    for (const SyncedItem& item : state.items) {
        std::string time;
        if (item.event.time) {
            char text[8];
            std::snprintf(text, sizeof text, "%02d:%02d", item.event.time->hour % 100,
                          item.event.time->minute % 100);
            time = text;
        }
        out += "item\t" + Escaped(item.uid) + "\t" + Escaped(item.href) + "\t" +
               Escaped(item.etag) + "\t" + std::to_string(item.event.day.dayNumber) + "\t" + time +
               "\t" + std::to_string(item.ordinal) + "\t" + (item.agreed ? "1" : "0") + "\t" +
               Escaped(item.event.summary) + "\n";
    }
    // The count at the end tells a whole file from one cut short.
    return out + "end\t" + std::to_string(state.items.size()) + "\n";
}

std::optional<SyncState> ParseSyncState(std::string_view bytes) {
    std::vector<std::string_view> lines = Split(bytes, '\n');
    if (lines.size() < 5 || !lines.back().empty() || lines[0] != kStateHeader)
        return std::nullopt;
    lines.pop_back();
    SyncState state;
    const std::vector<std::string_view> url = Split(lines[1], '\t');
    const std::vector<std::string_view> token = Split(lines[2], '\t');
    const std::vector<std::string_view> end = Split(lines.back(), '\t');
    std::size_t count = 0;
    if (url.size() != 2 || url[0] != "url" || !Unescaped(url[1], state.calendarUrl) ||
        token.size() != 2 || token[0] != "token" || !Unescaped(token[1], state.syncToken) ||
        end.size() != 2 || end[0] != "end" || !ReadNumber(end[1], count) ||
        count != lines.size() - 4)
        return std::nullopt;
    for (std::size_t k = 3; k + 1 < lines.size(); ++k) {
        std::optional<SyncedItem> item = ReadItem(Split(lines[k], '\t'));
        if (!item)
            return std::nullopt;
        state.items.push_back(std::move(*item));
    }
    return state;
}

// ---- Applying the changes to the diary.

namespace {

void AddLine(std::vector<std::string>& lines, const std::string& line) {
    if (line.empty() || std::find(lines.begin(), lines.end(), line) != lines.end())
        return;
    // A text that ends in a line break has an empty last line to fill.
    if (!lines.empty() && lines.back().empty())
        lines.back() = line;
    else
        lines.push_back(line);
}

void Apply(std::vector<std::string>& lines, const DiaryChange& change) {
    const auto found = std::find(lines.begin(), lines.end(), change.line);
    switch (change.kind) {
    case DiaryChange::Kind::Add:
        AddLine(lines, change.line);
        break;
    case DiaryChange::Kind::Replace:
        // Added only where the day does not hold it yet: a change asked again,
        // after the document took it unsaved, must not double the line.
        if (found != lines.end())
            *found = change.replacement;
        else
            AddLine(lines, change.replacement);
        break;
    case DiaryChange::Kind::Remove:
        if (found != lines.end())
            lines.erase(found);
        break;
    }
}

} // namespace

std::vector<ChangedDay> ApplyDiaryChanges(const EventStore& diary,
                                          const std::vector<DiaryChange>& changes) {
    std::vector<std::uint32_t> order;
    std::unordered_map<std::uint32_t, std::vector<const DiaryChange*>> byDay;
    for (const DiaryChange& change : changes) {
        std::vector<const DiaryChange*>& ofDay = byDay[change.day.dayNumber];
        if (ofDay.empty())
            order.push_back(change.day.dayNumber);
        ofDay.push_back(&change);
    }
    std::vector<ChangedDay> result;
    for (const std::uint32_t dayNumber : order) {
        const std::vector<const DiaryChange*>& ofDay = byDay[dayNumber];
        const std::string& before = diary.Lookup(ofDay.front()->day);
        std::vector<std::string> lines = SplitLines(before);
        for (const DiaryChange* change : ofDay)
            Apply(lines, *change);
        std::string text;
        for (std::size_t k = 0; k < lines.size(); ++k)
            text += (k > 0 ? "\r\n" : "") + lines[k];
        if (text != before)
            result.push_back(ChangedDay{ofDay.front()->day, std::move(text)});
    }
    return result;
}

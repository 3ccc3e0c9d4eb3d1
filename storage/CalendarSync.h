#pragma once

#include "core/Date.h"
#include "core/EventStore.h"
#include "core/EventTime.h"
#include "core/TimeRules.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Two-way sync of a diary's events with a calendar on a CalDAV server: a
// three-way comparison, per event, of the saved diary, the server and what
// both sides last agreed on (the sync state, kept per computer). Portable:
// the server is an interface, spoken over HTTP on Windows and kept in
// memory by the tests.

// An event as both sides compare it: its local day, its time (nothing for
// an all-day event) and its summary.
struct SyncEvent {
    Date day;
    std::optional<TimeOfDay> time;
    std::string summary;
};
bool SameEvent(const SyncEvent& one, const SyncEvent& other);

// One event the diary and the server share, as they last agreed on it.
struct SyncedItem {
    std::string uid;
    std::string href; // the item's path on the server, as the server gave it
    std::string etag; // exactly as received
    SyncEvent event;
    // Which of the day's lines at its time the line is (from 0); all-day
    // lines are found by their text.
    int ordinal = 0;
    // Seen in a saved diary at a sync. A line pulled from the server into a
    // diary that was never saved with it is not agreed: the next sync
    // brings it again rather than deleting the event.
    bool agreed = false;
};

// What this computer keeps of one diary and one calendar.
struct SyncState {
    std::string calendarUrl;
    std::string syncToken; // RFC 6578; empty: list everything next time
    std::vector<SyncedItem> items;
};
// The state as a small text file, and read back; nothing for bytes that are
// not such a file (a damaged state starts anew: adoption keeps the
// events from doubling).
std::string FormatSyncState(const SyncState& state);
std::optional<SyncState> ParseSyncState(std::string_view bytes);

// Why a call to the server failed.
struct ServerFailure {
    enum class Kind {
        None,
        NotReached,      // no answer: no network, no server, a timeout
        PasswordRefused, // 401 or 403
        CalendarGone,    // 404 or 410 for the calendar itself
        Refused,         // any other status the call cannot go on with
        Cancelled        // the program is closing
    };
    Kind kind = Kind::None;
    int status = 0;     // the HTTP status, when there was one
    std::string detail; // for the status bar
};

// The calendar as the sync needs it. Each call returns false with the
// failure when it could not be done; a conditional write that the server
// refused with 412 is a failure of kind Refused and status 412.
class CalendarServer {
  public:
    struct Item {
        std::string href, etag;
    };
    struct Listing {
        std::vector<Item> items;          // new or changed (or, when complete, every item)
        std::vector<std::string> removed; // hrefs the server says are gone
        std::string syncToken;            // for the next time; empty when the server has none
        bool complete = false;            // every item is listed: one not listed is gone
    };
    struct Resource {
        std::string href, etag, data; // data: the item's iCalendar text
    };
    struct Written {
        std::string href; // where the item is now (the server may move it)
        std::string etag; // empty when the server gave none
    };

    virtual ~CalendarServer() = default;
    // What changed since the token; a full listing for an empty token, or
    // where the server refuses the token.
    virtual bool List(const std::string& syncToken, Listing& listing, ServerFailure& failure) = 0;
    virtual bool Fetch(const std::vector<std::string>& hrefs, std::vector<Resource>& resources,
                       ServerFailure& failure) = 0;
    // With an empty etag, creates the item only where none is (If-None-Match:
    // *); else replaces it only where it still has that etag (If-Match).
    virtual bool Put(const std::string& href, const std::string& data, const std::string& etag,
                     Written& written, ServerFailure& failure) = 0;
    // Only where the item still has that etag (If-Match).
    virtual bool Delete(const std::string& href, const std::string& etag,
                        ServerFailure& failure) = 0;
    // The href for a new item with that UID.
    virtual std::string HrefFor(const std::string& uid) const = 0;
};

struct SyncArgs {
    std::string installationId; // makes the UIDs of new events (EventUid)
    Date first, last;           // the days that travel, both included
    UtcSeconds stamp = 0;       // DTSTAMP of what is written
    const TimeRules* local = nullptr;
    // A reminder (VALARM) this long before each event sent; nothing: none.
    std::optional<int> reminderMinutes;
};

// A change of the diary the sync asks for, applied to the document as it
// stands then (it may hold unsaved edits).
struct DiaryChange {
    enum class Kind {
        Add,     // the line, at the end of the day, unless the day holds it
        Replace, // the line by the replacement, or the replacement added
        Remove   // the first line equal to it
    };
    Kind kind = Kind::Add;
    Date day;
    std::string line;
    std::string replacement;
};

struct SyncOutcome {
    bool completed = false; // else `failure` says why; the changes so far stand
    ServerFailure failure;
    std::vector<DiaryChange> changes; // for the diary, in order
    int sent = 0;                     // items written to or removed from the server
    int received = 0;                 // lines added, changed or removed in the diary
    std::vector<std::string> skipped; // events the reader refused, by href and reason
};

// One sync of the saved diary (the file as last saved, not what is being
// typed) with the server. `state` is what the last sync left and follows
// every step; keep(state) is called after at most 100 changed items and at
// the end, so that a sync cut off resumes without doubling anything.
// The rules: nothing is deleted on either side that was not deleted there
// after both agreed; a change wins over a deletion; an event changed on
// both sides is kept twice; an event equal to a line is adopted, never
// created again; every write is conditional.
SyncOutcome SyncCalendar(CalendarServer& server, SyncState& state, const EventStore& saved,
                         const SyncArgs& args,
                         const std::function<void(const SyncState&)>& keep);

// The diary as the changes leave it: each day's text changed in place.
// Returns the days whose text changed, with their new texts.
struct ChangedDay {
    Date day;
    std::string text;
};
std::vector<ChangedDay> ApplyDiaryChanges(const EventStore& diary,
                                          const std::vector<DiaryChange>& changes);

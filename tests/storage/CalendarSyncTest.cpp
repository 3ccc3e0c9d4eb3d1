#include "storage/CalendarSync.h"

#include "core/DayText.h"
#include "storage/ICalendarReader.h"
#include "storage/ICalendarWriter.h"
#include "tests/support/EuropeanTime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

// A calendar in memory: a new etag at every write, conditional writes
// checked, a sync token counting the changes (when `tokens`), and no answer
// at all once `callsLeft` calls are used up. It lists "@" as "%40", as
// Radicale does, and takes either.
class FakeServer : public CalendarServer {
  public:
    struct Stored {
        std::string etag, data;
        int changed;
    };
    std::map<std::string, Stored> items;
    std::map<std::string, int> removedAt;
    bool tokens = true, etags = true;
    int callsLeft = -1;
    std::function<void(const std::string& href)> beforeWrite; // a change racing the sync's write

    void Store(const std::string& href, const std::string& data) {
        ++version;
        items[href] = Stored{"\"e" + std::to_string(version) + "\"", data, version};
    }
    bool List(const std::string& token, Listing& listing, ServerFailure& failure) override {
        const int since = tokens && !token.empty() ? std::stoi(token) : -1;
        listing = Listing{{}, {}, tokens ? std::to_string(version) : "", since < 0};
        for (const auto& [href, item] : items) {
            if (item.changed > since)
                listing.items.push_back(Item{Replaced(href, "@", "%40"), item.etag});
        }
        for (const auto& [href, at] : removedAt) {
            if (since >= 0 && at > since && items.count(href) == 0)
                listing.removed.push_back(Replaced(href, "@", "%40"));
        }
        return !Failed(failure);
    }
    bool Fetch(const std::vector<std::string>& hrefs, std::vector<Resource>& resources,
               ServerFailure& failure) override {
        for (const std::string& spelt : hrefs) {
            const std::string href = Replaced(spelt, "%40", "@");
            if (items.count(href) > 0)
                resources.push_back(Resource{href, items[href].etag, items[href].data});
        }
        return !Failed(failure);
    }
    bool Put(const std::string& spelt, const std::string& data, const std::string& etag,
             Written& written, ServerFailure& failure) override {
        const std::string href = Replaced(spelt, "%40", "@");
        if (Failed(failure) || Refused(href, etag, failure))
            return false;
        Store(href, data);
        written = Written{href, etags ? items[href].etag : ""};
        return true;
    }
    bool Delete(const std::string& spelt, const std::string& etag,
                ServerFailure& failure) override {
        const std::string href = Replaced(spelt, "%40", "@");
        if (Failed(failure) || Refused(href, etag, failure))
            return false;
        Remove(href);
        return true;
    }
    void Remove(const std::string& href) {
        items.erase(href);
        removedAt[href] = ++version;
    }
    std::string HrefFor(const std::string& uid) const override { return "/cal/" + uid + ".ics"; }

  private:
    bool Failed(ServerFailure& failure) {
        if (callsLeft > 0)
            --callsLeft;
        else if (callsLeft == 0)
            failure = ServerFailure{ServerFailure::Kind::NotReached, 0, "gone"};
        return failure.kind != ServerFailure::Kind::None;
    }
    bool Refused(const std::string& href, const std::string& etag, ServerFailure& failure) {
        if (beforeWrite)
            std::exchange(beforeWrite, nullptr)(href);
        const auto found = items.find(href);
        if (etag.empty() ? found == items.end()
                         : found != items.end() && found->second.etag == etag)
            return false;
        failure = ServerFailure{ServerFailure::Kind::Refused, 412, ""};
        return true;
    }
    int version = 0;
};

const CentralEuropeanTime kLocal;
const Date kDay = Ymd(2026, 3, 10);

std::string Joined(std::vector<std::string> lines, bool sorted, const std::string& between = "|") {
    if (sorted)
        std::sort(lines.begin(), lines.end());
    std::string text;
    for (std::size_t k = 0; k < lines.size(); ++k)
        text += (k > 0 ? between : "") + lines[k];
    return text;
}

// A diary, a server and this computer's state; the state goes through its file at every sync.
struct World {
    FakeServer server;
    EventStore saved;
    SyncState state;
    SyncArgs args{"one", Ymd(2026, 3, 1), Ymd(2026, 3, 31), 0, &kLocal, 15};
    SyncOutcome last;
    int serial = 0;

    void Sync(bool save = true) {
        std::string kept;
        last = SyncCalendar(server, state, saved, args,
                            [&](const SyncState& state) { kept = FormatSyncState(state); });
        ASSERT_EQ(kept, FormatSyncState(state));
        state = ParseSyncState(kept).value();
        for (const ChangedDay& day : ApplyDiaryChanges(saved, last.changes)) {
            if (save)
                saved.SetDayText(day.day, day.text);
        }
    }
    std::string Resource(const std::string& uid, const Date& day, const std::string& line) const {
        if (const std::optional<TimedLine> timed = ReadTimedLine(line))
            return EventResource(uid, day, *timed, 0, std::nullopt, kLocal);
        char date[32];
        std::snprintf(date, sizeof date, "%04d%02d%02d", day.year, day.month, day.day);
        return "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTART;VALUE=DATE:" + date +
               "\r\nSUMMARY:" + line + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    }
    void ServerAdd(const Date& day, const std::string& line, std::string href = "") {
        const std::string uid = "s" + std::to_string(++serial) + "@test";
        server.Store(href.empty() ? server.HrefFor(uid) : href, Resource(uid, day, line));
    }
    // The event stored there; "?" for what the reader refuses.
    ImportedEvent Event(const std::string& href) {
        const ICalendarImport read = ReadICalendar(server.items[href].data, kLocal);
        return read.events.empty() ? ImportedEvent{kDay, std::nullopt, "?", ""} : read.events[0];
    }
    // Every server event, as a diary line; `days` puts the day first.
    std::string ServerLines(bool days = false) {
        std::vector<std::string> lines;
        for (const auto& item : server.items)
            lines.push_back((days ? Event(item.first).date.Format(0) + " " : "") +
                            EventLine(Event(item.first)));
        return Joined(lines, true);
    }
    std::string HrefOf(const std::string& summary) {
        for (const auto& item : server.items) {
            if (Event(item.first).summary == summary)
                return item.first;
        }
        return "";
    }
    void ServerEdit(const std::string& href, const std::string& summary) {
        ImportedEvent event = Event(href);
        event.summary = summary;
        server.Store(href, Resource(event.uid, event.date, EventLine(event)));
    }
};

// Steps: d=TEXT (the saved day, | for line breaks), s+LINE, s~OLD=NEW, s-SUMMARY,
// s!SUMMARY (made repeating, which the reader refuses) on the server, r~OLD=NEW and r+LINE just
// before the sync's next write, sync, drop (a sync whose changes are never saved), lose (the
// state), other (another computer), fail N (calls), notoken, narrow and wide (the
// window without or with the day).
struct Row {
    const char* steps;
    const char* diary;
    const char* server;
    int sent, received;
};

TEST(CalendarSyncTest, FollowsTheRules) {
    const Row rows[] = {
        {"d=09:00 a|note|10:00 b;sync", "09:00 a|note|10:00 b", "09:00 a|10:00 b", 2, 0},
        {"d=note;s+09:00 x;s+y;sync", "note|09:00 x|y", "09:00 x|y", 0, 2},
        {"d=9.30 a|note;sync;d=9.30 b|note;sync", "9.30 b|note", "09:30 b", 1, 0},
        {"d=09:00 a;sync;d=10:00 a;sync", "10:00 a", "10:00 a", 1, 0},
        {"d=09:00 a|09:00 b;sync;d=09:00 b;sync", "09:00 b", "09:00 b", 1, 0},
        {"d=09:00 a|note;sync;d=note;sync", "note", "", 1, 0},
        {"s+y;sync;sync;d=;sync", "", "", 1, 0},
        {"s+09:00 x;drop;sync", "09:00 x", "09:00 x", 0, 1},
        {"d=9.30 a|note;sync;s~a=b;sync", "09:30 b|note", "09:30 b", 0, 1},
        {"d=09:00 a|note;sync;s-a;sync", "note", "", 0, 1},
        {"notoken;d=09:00 a|note;sync;s-a;sync", "note", "", 0, 1},
        {"s+y;sync;s-y;sync", "", "", 0, 1},
        {"d=09:00 a;sync;d=09:00 b;s~a=c;sync", "09:00 b|09:00 c (changed in the calendar too)",
         "09:00 b|09:00 c (changed in the calendar too)", 2, 1},
        {"d=09:00 a;sync;d=09:00 b;s-a;sync", "09:00 b", "09:00 b", 1, 0},
        {"d=09:00 a;sync;d=;s~a=c;sync", "09:00 c", "09:00 c", 0, 1},
        {"d=09:00 a;s+10:00 x;sync;lose;sync", "09:00 a|10:00 x", "09:00 a|10:00 x", 0, 0},
        {"d=09:00 a;sync;other;sync", "09:00 a", "09:00 a", 0, 0},
        {"d=09:00 a;sync;d=09:00 b;r~a=c;sync", "09:00 b|09:00 c (changed in the calendar too)",
         "09:00 b|09:00 c (changed in the calendar too)", 2, 1},
        {"d=09:00 a;sync;d=;r~a=c;sync", "09:00 c", "09:00 c", 0, 1},
        {"d=09:00 a;r+09:00 a;sync", "09:00 a", "09:00 a", 0, 0},
        {"d=09:00 a;r+09:00 z;sync;sync", "09:00 a|09:00 z", "09:00 a|09:00 z", 0, 1},
        {"d=09:00 a;sync;s~a=a;sync", "09:00 a", "09:00 a", 0, 0},
        {"narrow;d=09:00 a;s+10:00 x;sync", "09:00 a", "10:00 x", 0, 0},
        {"narrow;d=09:00 a;s+10:00 x;sync;wide;sync", "09:00 a|10:00 x", "09:00 a|10:00 x", 1, 1},
        {"d=09:00 a|note;sync;s!a;d=note;sync", "note", "?", 0, 0},
        {"d=note;s+09:00 x;s!x;sync", "note", "?", 0, 0},
        {"d=09:00 a;sync;d=09:00 b;s~a=c;fail 3;sync;d=09:00 c (changed in the calendar too);sync",
         "09:00 c (changed in the calendar too)", "09:00 c (changed in the calendar too)", 1, 0},
        {"d=09:00 a;sync;d=09:00 b;s~a=c;fail 3;sync;sync;sync",
         "09:00 b|09:00 c (changed in the calendar too)",
         "09:00 b|09:00 c (changed in the calendar too)", 0, 0},
        {"d=09:00 a|10:00 b;sync;d=09:00 a2|10:00 b;s~b=c;fail 2;sync;sync", "09:00 a2|10:00 c",
         "09:00 a2|10:00 c", 1, 1},
        {"d=09:00 a|10:00 b|11:00 c;fail 2;sync;sync", "09:00 a|10:00 b|11:00 c",
         "09:00 a|10:00 b|11:00 c", 2, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.steps);
        World world;
        const std::string steps = row.steps;
        for (std::size_t start = 0; start <= steps.size();) {
            const std::size_t end = std::min(steps.find(';', start), steps.size());
            const std::string step = steps.substr(start, end - start), rest = step.substr(2);
            const std::size_t equals = rest.find('=');
            const std::string from = rest.substr(0, equals), to = rest.substr(equals + 1);
            start = end + 1;
            if (step == "sync" || step == "drop") {
                const bool failing = world.server.callsLeft >= 0;
                world.Sync(step == "sync");
                EXPECT_EQ(world.last.completed, !failing);
                world.server.callsLeft = -1;
            } else if (step == "lose" || step == "other") {
                world.state = SyncState{};
                world.args.installationId = step == "other" ? "two" : "one";
            } else if (step == "narrow" || step == "wide") {
                world.args.first = Ymd(2026, 3, step == "narrow" ? 11 : 1);
            } else if (step == "notoken") {
                world.server.tokens = false;
            } else if (step.rfind("fail ", 0) == 0) {
                world.server.callsLeft = std::stoi(step.substr(5));
            } else if (step.rfind("d=", 0) == 0) {
                world.saved.SetDayText(kDay, Replaced(rest, "|", "\r\n"));
            } else if (step.rfind("s+", 0) == 0) {
                world.ServerAdd(kDay, rest);
            } else if (step.rfind("s~", 0) == 0) {
                world.ServerEdit(world.HrefOf(from), to);
            } else if (step.rfind("s!", 0) == 0) {
                const std::string href = world.HrefOf(rest);
                world.server.Store(href, Replaced(world.server.items[href].data, "END:VEVENT",
                                                  "RRULE:FREQ=DAILY\r\nEND:VEVENT"));
            } else if (step.rfind("s-", 0) == 0) {
                world.server.Remove(world.HrefOf(rest));
            } else if (step.rfind("r~", 0) == 0) {
                world.server.beforeWrite = [&world, from, to](const std::string&) {
                    world.ServerEdit(world.HrefOf(from), to);
                };
            } else if (step.rfind("r+", 0) == 0) {
                world.server.beforeWrite = [&world, rest](const std::string& href) {
                    world.ServerAdd(kDay, rest, href);
                };
            } else {
                FAIL() << "unknown step " << step;
            }
        }
        EXPECT_EQ(Replaced(world.saved.Lookup(kDay), "\r\n", "|"), row.diary);
        EXPECT_EQ(world.ServerLines(), row.server);
        EXPECT_EQ(world.last.sent, row.sent);
        EXPECT_EQ(world.last.received, row.received);
        EXPECT_EQ(world.last.skipped.size(), steps.find("s!") == std::string::npos ? 0u : 1u);
    }
}

// The word of "HH:MM word", "day HH:MM word" or "HH:MM word (changed in the calendar too)".
std::string WordOf(const std::string& line) {
    const std::size_t start = line.find(" w") + 1;
    return line.substr(start, line.find(' ', start) - start);
}

std::vector<std::string> DiaryLines(const EventStore& diary) {
    std::vector<std::string> lines;
    for (int index = 0; index < diary.GetCount(); ++index) {
        for (const std::string& line : SplitLines(diary.GetTextAt(index)))
            lines.push_back(diary.GetDateAt(index).Format(0) + " " + line);
    }
    return lines;
}

// Random edits on both sides and random cut-off syncs, against a model of
// the words that must survive: added and neither deleted nor changed since.
TEST(CalendarSyncTest, RandomEditsConverge) {
    std::mt19937 random(20260310);
    const auto pick = [&random](int n) {
        return std::uniform_int_distribution<int>(0, n - 1)(random);
    };
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        World world;
        world.server.tokens = round % 3 != 0;
        world.server.etags = round % 4 != 0;
        // Words that must survive; words brought in that no sync saw saved yet,
        // and those of them moved meanwhile: the sync cannot tell the move from
        // a line that never arrived, so it brings the line again beside the moved one.
        std::set<std::string> live, unseen, twice;
        for (int step = 0; step < 40; ++step) {
            const Date day = Ymd(2026, 3, 10 + pick(2));
            std::vector<std::string> lines = SplitLines(world.saved.Lookup(day));
            const std::string word = "w" + std::to_string(step + 10),
                              time = pick(2) ? "09:00" : "10:00";
            const int k = lines.empty() ? -1 : pick(static_cast<int>(lines.size()));
            const int count = static_cast<int>(world.server.items.size());
            const std::string href =
                count == 0 ? "" : std::next(world.server.items.begin(), pick(count))->first;
            const int action = pick(8);
            if (action == 0 || (action <= 3 && k < 0)) {
                lines.push_back(time + " " + word);
                live.insert(word);
            } else if (action <= 3) {
                live.erase(WordOf(lines[k]));
                if (action == 1)
                    lines.erase(lines.begin() + k);
                else
                    lines[k] = action == 2
                                   ? "11:" + word.substr(1) + lines[k].substr(5) // never back
                                   : time + " " + word;
                if (action != 1)
                    live.insert(WordOf(lines[k]));
                if (action == 2 && unseen.count(WordOf(lines[k])) > 0)
                    twice.insert(WordOf(lines[k]));
            } else if (action == 4 || (action <= 6 && href.empty())) {
                world.ServerAdd(day, time + " " + word);
                live.insert(word);
            } else if (action <= 6) {
                live.erase(WordOf(EventLine(world.Event(href))));
                if (action == 5) {
                    world.server.Remove(href);
                } else {
                    world.ServerEdit(href, word);
                    live.insert(word);
                }
            } else {
                const std::vector<std::string> before = DiaryLines(world.saved);
                const bool save = pick(6) != 0;
                world.server.callsLeft = pick(3) ? pick(8) : -1;
                world.Sync(save);
                world.server.callsLeft = -1;
                for (const std::string& line : before) {
                    if (world.last.completed)
                        unseen.erase(WordOf(line));
                }
                for (const DiaryChange& change : world.last.changes) {
                    if (save && change.kind != DiaryChange::Kind::Remove)
                        unseen.insert(
                            WordOf(change.replacement.empty() ? change.line : change.replacement));
                }
            }
            world.saved.SetDayText(day, Joined(lines, false, "\r\n"));
        }
        world.Sync();
        world.Sync();
        ASSERT_TRUE(world.last.completed);
        const std::vector<std::string> diary = DiaryLines(world.saved);
        EXPECT_EQ(Joined(diary, true), world.ServerLines(true));
        std::multiset<std::string> words;
        for (const std::string& line : diary)
            words.insert(WordOf(line));
        for (const std::string& word : words)
            EXPECT_TRUE(words.count(word) == 1 || twice.count(word) > 0) << word;
        for (const std::string& word : live)
            EXPECT_GE(words.count(word), 1u) << word;
        world.Sync();
        EXPECT_EQ(world.last.sent + world.last.received, 0);
    }
}

TEST(CalendarSyncTest, StateFileReadsBackAndRefusesDamage) {
    SyncState state{"https://example.org/cal/", "tok\\1", {}};
    state.items.push_back(
        SyncedItem{"u\t1", "/a b.ics", "\"e\"", {kDay, TimeOfDay{9, 5}, "x\ny"}, 2, true});
    state.items.push_back(SyncedItem{"u2", "/c", "", {kDay, std::nullopt, ""}, 0, false});
    const std::string file = FormatSyncState(state);
    EXPECT_EQ(FormatSyncState(ParseSyncState(file).value()), file);
    std::string cut = file.substr(0, file.find("item\tu2"));
    const std::string damaged[] = {
        "",
        file.substr(0, file.size() - 1),
        cut + file.substr(file.rfind("end")),
        "x" + file,
    };
    for (const std::string& bytes : damaged)
        EXPECT_FALSE(ParseSyncState(bytes)) << bytes;
    for (const char* item : {"u\t/h\t\t2461110\t24:00\t0\t1\tx", "u\t/h\t\t2461110\t\t-1\t1\tx",
                             "u\t/h\t\t2461110\t\t0\t2\tx", "u\t/h\t\tday\t\t0\t1\tx",
                             "u\\q\t/h\t\t2461110\t\t0\t1\tx", "u\t/h\t\t2461110\t\t0\t1"}) {
        EXPECT_FALSE(
            ParseSyncState(std::string("OrvikCalendar sync state 1\nurl\t\ntoken\t\nitem\t") +
                           item + "\nend\t1\n"))
            << item;
    }
    EXPECT_TRUE(ParseSyncState(std::string("OrvikCalendar sync state 1\nurl\t\ntoken\t\n") +
                               "item\tu\t/h\t\t2461110\t09:00\t0\t1\tx\nend\t1\n"));
}

} // namespace

#include "core/Find.h"
#include "core/DiarySearch.h"
#include "core/UnicodeCharacters.h"
#include "core/Utf8.h"
#include "tests/support/DateHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>

namespace {

using Days = std::vector<std::pair<Date, std::string>>;
using Strings = std::vector<std::string>;

EventStore Diary(const Days& days) {
    EventStore store;
    for (const auto& [day, text] : days)
        store.Append(day, text);
    return store;
}

// Presses Find Next the way the view does: a hit makes its day the current
// cell, "Not Found!" leaves no current cell. Each hit reads "day anchor..caret".
Strings Press(Finder& finder, const EventStore& store, std::optional<Date>& current,
              const FindRequest& request, int times) {
    Strings seen;
    for (int press = 0; press < times; ++press) {
        const FindResult result = finder.FindNext(store, current, request);
        if (result.found) {
            current = result.day;
            seen.push_back(result.day.Format(0) + " " + std::to_string(result.Anchor()) + ".." +
                           std::to_string(result.Caret()));
        } else {
            current.reset();
            seen.push_back("Not Found!");
        }
    }
    return seen;
}

FindRequest Down(const std::string& text, bool matchCase = false, bool wholeWord = false) {
    return FindRequest{text, true, matchCase, wholeWord};
}

FindRequest Up(const std::string& text, bool matchCase = false, bool wholeWord = false) {
    return FindRequest{text, false, matchCase, wholeWord};
}

const Days kDentist = {
    {Ymd(2026, 1, 3), "11:00 Go to the dentist"},
    {Ymd(2026, 1, 5), "Dentist bill"},
};

TEST(Find, SearchesDayByDayInDateOrder) {
    const struct {
        const char* name;
        Days days;
        FindRequest request;
        std::optional<Date> current;
        Strings seen;
    } cases[] = {
        {"down",
         kDentist,
         Down("dentist"),
         std::nullopt,
         {"1/3/2026 16..23", "1/5/2026 0..7", "Not Found!", "1/3/2026 16..23"}},
        {"match case",
         kDentist,
         Down("dentist", true),
         std::nullopt,
         {"1/3/2026 16..23", "Not Found!", "1/3/2026 16..23"}},
        {"whole word",
         kDentist,
         Down("dent", false, true),
         std::nullopt,
         {"Not Found!", "Not Found!"}},
        {"up within a day, caret at the start",
         {{Ymd(2026, 1, 3), "ab ab"}},
         Up("ab"),
         Ymd(2026, 1, 3),
         {"1/3/2026 5..3", "1/3/2026 2..0", "Not Found!", "1/3/2026 5..3"}},
        {"up across days, wrapping to the last",
         kDentist,
         Up("DENTIST"),
         std::nullopt,
         {"1/3/2026 23..16", "Not Found!", "1/5/2026 7..0", "1/3/2026 23..16"}},
        {"date order, not the order of entry",
         {{Ymd(2026, 1, 9), "x9"}, {Ymd(2025, 12, 2), "x2"}, {Ymd(2026, 1, 5), "x5"}},
         Down("x"),
         std::nullopt,
         {"12/2/2025 0..1", "1/5/2026 0..1", "1/9/2026 0..1", "Not Found!"}},
        {"overlapping occurrences",
         {{Ymd(2026, 1, 3), "aaa"}},
         Down("aa"),
         std::nullopt,
         {"1/3/2026 0..2", "1/3/2026 1..3", "Not Found!"}},
        {"overlapping occurrences upward",
         {{Ymd(2026, 1, 3), "aaa"}},
         Up("aa"),
         std::nullopt,
         {"1/3/2026 3..1", "1/3/2026 2..0", "Not Found!"}},
        {"whole word tests the first occurrence of a day only",
         {{Ymd(2026, 1, 3), "dentist dent"},
          {Ymd(2026, 1, 4), "(dent)"},
          {Ymd(2026, 1, 5), "dent"}},
         Down("dent", false, true),
         std::nullopt,
         {"1/4/2026 1..5", "1/5/2026 0..4", "Not Found!"}},
        {"whole word upward",
         {{Ymd(2026, 1, 3), "dent dent2"}, {Ymd(2026, 1, 4), "a-dent"}},
         Up("dent", false, true),
         Ymd(2026, 1, 4),
         {"1/4/2026 6..2", "Not Found!", "1/4/2026 6..2"}},
        {"a byte outside UTF-8 is a character of its own that folds to itself",
         {{Ymd(2026, 1, 3), "\xc4RGER"}, {Ymd(2026, 1, 4), "\xe4RGER"}},
         Down("\xe4rger"),
         std::nullopt,
         {"1/4/2026 0..5", "Not Found!"}},
        {"a day with two entries is searched once, in its first text",
         {{Ymd(2026, 1, 3), "x a x"}, {Ymd(2026, 1, 4), "x"}, {Ymd(2026, 1, 3), "second x"}},
         Down("x"),
         std::nullopt,
         {"1/3/2026 0..1", "1/3/2026 4..5", "1/4/2026 0..1", "Not Found!", "1/3/2026 0..1"}},
        {"from a day without text downward",
         {{Ymd(2026, 1, 3), "x"}, {Ymd(2026, 1, 10), "x"}},
         Down("x"),
         Ymd(2026, 1, 5),
         {"1/10/2026 0..1", "Not Found!", "1/3/2026 0..1"}},
        {"from a day without text upward",
         {{Ymd(2026, 1, 3), "xx"}, {Ymd(2026, 1, 10), "x"}},
         Up("x"),
         Ymd(2026, 1, 5),
         {"1/3/2026 2..1", "1/3/2026 1..0", "Not Found!", "1/10/2026 1..0"}},
        {"from after the last day with text",
         kDentist,
         Down("dentist"),
         Ymd(2026, 2, 1),
         {"Not Found!", "1/3/2026 16..23"}},
        {"from before the first day with text, upward",
         kDentist,
         Up("dentist"),
         Ymd(2025, 12, 1),
         {"Not Found!", "1/5/2026 7..0"}},
        {"an emptied day stays in the list and has no hit",
         {{Ymd(2026, 1, 3), ""}, {Ymd(2026, 1, 4), "x"}},
         Down("x"),
         Ymd(2026, 1, 3),
         {"1/4/2026 0..1"}},
        {"empty diary", {}, Down("x"), std::nullopt, {"Not Found!", "Not Found!"}},
        {"empty diary upward", {}, Up("x"), std::nullopt, {"Not Found!", "Not Found!"}},
        {"empty find text", kDentist, Down(""), std::nullopt, {"Not Found!"}},
    };
    for (const auto& c : cases) {
        const EventStore store = Diary(c.days);
        Finder finder;
        std::optional<Date> current = c.current;
        EXPECT_EQ(Press(finder, store, current, c.request, static_cast<int>(c.seen.size())), c.seen)
            << c.name;
    }
}

TEST(Find, TurningRoundGoesOnFromTheOtherSideOfTheHit) {
    const EventStore store = Diary({{Ymd(2026, 1, 3), "dentist dentist"}});
    Finder finder;
    std::optional<Date> current;
    EXPECT_EQ(Press(finder, store, current, Down("dentist"), 2),
              (Strings{"1/3/2026 0..7", "1/3/2026 8..15"}));
    EXPECT_EQ(Press(finder, store, current, Up("dentist"), 2),
              (Strings{"1/3/2026 7..0", "Not Found!"}));
    current = Ymd(2026, 1, 3);
    EXPECT_EQ(Press(finder, store, current, Up("dentist"), 1), Strings{"1/3/2026 15..8"});
    EXPECT_EQ(Press(finder, store, current, Down("dentist"), 1), Strings{"Not Found!"});
}

// One day's text and what Find Next finds there, pressed until "Not Found!".
TEST(Find, FoldsCaseAndTellsWordsInEveryScript) {
    const struct {
        const char* script;
        std::string text;
        FindRequest request;
        Strings seen;
    } cases[] = {
        {"Latin with diacritics", "Åse åSE", Down("Åse"), {"1/3/2026 0..4", "1/3/2026 5..9"}},
        {"match case keeps them apart", "Åse åSE", Down("åse", true), {}},
        {"German sharp s, capital and small",
         "STRAẞE straße",
         Down("straße"),
         {"1/3/2026 0..8", "1/3/2026 9..16"}},
        {"simple folding only: no sharp s for ss", "strasse", Down("straße"), {}},
        {"the Kelvin sign is a K", "5 \u212a", Down("k"), {"1/3/2026 2..5"}},
        {"Cyrillic", "жук", Down("ЖУК"), {"1/3/2026 0..6"}},
        {"Greek final sigma", "ΟΔΥΣ", Down("οδυς"), {"1/3/2026 0..8"}},
        {"titlecase digraph",
         "Ǆ ǅ ǆ",
         Down("ǅ"),
         {"1/3/2026 0..2", "1/3/2026 3..5", "1/3/2026 6..8"}},
        {"Armenian", "ԱՐ", Down("ար"), {"1/3/2026 0..4"}},
        {"Deseret, beyond the first plane", "𐐀𐐨", Up("𐐨"), {"1/3/2026 8..4", "1/3/2026 4..0"}},
        {"CJK has no case and no spaces", "会議室", Down("会議"), {"1/3/2026 0..6"}},
        {"offsets in bytes", "Grüße, Жук 😀", Down("ЖУК"), {"1/3/2026 9..15"}},
        {"whole word: CJK letters are word characters", "会議室", Down("会議", false, true), {}},
        {"whole word: Cyrillic letters", "жуки, жук!", Down("жук", false, true), {}},
        {"whole word: punctuation beyond ASCII",
         "«жук»",
         Down("жук", false, true),
         {"1/3/2026 2..8"}},
        {"whole word: Arabic-Indic digits before", "١٢12", Down("12", false, true), {}},
        {"whole word: Arabic-Indic digits after", "12١٢", Up("12", false, true), {}},
        {"whole word: a byte outside UTF-8 is no letter",
         "\xe4Xmas",
         Down("xmas", false, true),
         {"1/3/2026 1..5"}},
        {"bytes outside UTF-8 match themselves only",
         "\xff\xfe\xc3",
         Down("\xc3"),
         {"1/3/2026 2..3"}},
        {"no hit inside a character", "é", Down("\xa9"), {}},
    };
    for (const auto& c : cases) {
        const EventStore store = Diary({{Ymd(2026, 1, 3), c.text}});
        Finder finder;
        std::optional<Date> current = Ymd(2026, 1, 3);
        Strings expected = c.seen;
        expected.push_back("Not Found!");
        EXPECT_EQ(Press(finder, store, current, c.request, static_cast<int>(expected.size())),
                  expected)
            << c.script;
    }
}

TEST(Find, PositionSurvivesAMoveToAnotherCell) {
    // The offset is only reset by a day without a hit, so after a hit at the
    // start of one day, a search from another day skips that day's first character.
    const EventStore store =
        Diary({{Ymd(2026, 1, 3), "dentist dentist"}, {Ymd(2026, 1, 5), "dentist"}});
    Finder finder;
    std::optional<Date> current = Ymd(2026, 1, 5);
    EXPECT_EQ(Press(finder, store, current, Down("dentist"), 1), Strings{"1/5/2026 0..7"});
    current = Ymd(2026, 1, 3);
    EXPECT_EQ(Press(finder, store, current, Down("dentist"), 1), Strings{"1/3/2026 8..15"});
    EXPECT_EQ(finder.SearchIndex(), 0);
    EXPECT_EQ(finder.SearchOffset(), 9);
}

TEST(Find, SeesEveryChangeOfTheStore) {
    EventStore store = Diary(kDentist);
    Finder finder;
    std::optional<Date> current;
    EXPECT_EQ(Press(finder, store, current, Down("bill"), 1), Strings{"1/5/2026 8..12"});

    store.SetDayText(Ymd(2026, 1, 4), "phone bill");
    store.SetDayText(Ymd(2026, 1, 3), "bill of the dentist");
    current = Ymd(2026, 1, 1);
    EXPECT_EQ(Press(finder, store, current, Down("bill"), 3),
              (Strings{"1/3/2026 0..4", "1/4/2026 6..10", "1/5/2026 8..12"}));

    // Another document with as many days: the days are sorted again.
    store.RemoveAll();
    store.Append(Ymd(2027, 3, 1), "new bill");
    store.Append(Ymd(2027, 2, 1), "bill");
    store.Append(Ymd(2027, 1, 1), "no");
    current = Ymd(2027, 1, 1);
    EXPECT_EQ(Press(finder, store, current, Down("bill"), 2),
              (Strings{"2/1/2027 0..4", "3/1/2027 4..8"}));
}

TEST(Find, StoreThatShrankBelowThePositionStartsAtTheEnd) {
    EventStore store;
    for (int day = 1; day <= 9; ++day)
        store.Append(Ymd(2026, 1, day), "x");
    Finder finder;
    std::optional<Date> current = Ymd(2026, 1, 9);
    Press(finder, store, current, Down("x"), 1);
    ASSERT_EQ(finder.SearchIndex(), 8);

    store.RemoveAll();
    store.Append(Ymd(2027, 1, 2), "x");
    store.Append(Ymd(2027, 1, 1), "x");
    current.reset();
    EXPECT_EQ(Press(finder, store, current, Down("x"), 1), Strings{"1/1/2027 0..1"});
    Finder upward;
    upward.FindNext(store, Ymd(2027, 1, 2), Down("x"));
    store.RemoveAll();
    store.Append(Ymd(2028, 1, 1), "x");
    current.reset();
    EXPECT_EQ(Press(upward, store, current, Up("x"), 1), Strings{"1/1/2028 1..0"});
}

TEST(Find, WritingBackUnchangedCellsKeepsTheSortedDays) {
    // Every focus change and month switch writes cells back into the store;
    // only a real change may cost the next Find a new sort.
    EventStore store = Diary(kDentist);
    const std::uint64_t before = store.Version();
    store.SetDayText(Ymd(2026, 1, 3), "11:00 Go to the dentist");
    store.SetDayText(Ymd(2026, 1, 4), "");
    EXPECT_EQ(store.Version(), before);
    store.SetDayText(Ymd(2026, 1, 3), "11:00 Go to the dentist!");
    EXPECT_NE(store.Version(), before);
}

// The search as the find dialog's rules put it, character by character:
// every day's text decoded and folded as a whole and, upward, reversed, then
// searched from the offset (in bytes of the text as searched).
class LiteralFinder {
  public:
    FindResult FindNext(const EventStore& store, const std::optional<Date>& current,
                        const FindRequest& request) {
        std::vector<std::pair<std::uint32_t, int>> days;
        for (int i = 0; i < store.GetCount(); ++i) {
            if (store.FindIndex(store.GetDateAt(i)) == i)
                days.emplace_back(store.GetDateAt(i).dayNumber, i);
        }
        std::sort(days.begin(), days.end());
        const int n = static_cast<int>(days.size());
        if (current) {
            int at = 0;
            while (at < n && days[at].first < current->dayNumber)
                ++at;
            if (at < n && days[at].first == current->dayNumber) {
                index = at;
            } else {
                index = request.down ? at : at - 1;
                offset = 0;
            }
        } else if (index < 0 || index >= n) {
            index = request.down ? 0 : n - 1;
            offset = 0;
        }
        // Turning round right after a hit: on from the hit's other side.
        if (request.down != lastDown && lastIndex == index && index >= 0 && index < n) {
            const int size = static_cast<int>(store.GetTextAt(days[index].second).size());
            offset = request.down ? lastStart + 1 : size - lastStart - lastLength + 1;
        }
        lastIndex = -1;
        lastDown = request.down;
        std::vector<char32_t> pattern;
        for (const Character& c : Searched(request.text, request.matchCase, request.down))
            pattern.push_back(c.value);
        const std::size_t m = pattern.size();
        for (; index >= 0 && index < n; index += request.down ? 1 : -1) {
            const std::string& text = store.GetTextAt(days[index].second);
            const std::vector<Character> chars = Searched(text, request.matchCase, request.down);
            const std::size_t size = text.size();
            // Where a character starts in the text as searched.
            auto searchedStart = [&](std::size_t k) {
                return request.down ? chars[k].start : size - chars[k].end;
            };
            for (std::size_t k = 0; k + m <= chars.size(); ++k) {
                if (searchedStart(k) < static_cast<std::size_t>(offset) ||
                    !std::equal(pattern.begin(), pattern.end(), chars.begin() + k,
                                [](char32_t p, const Character& c) { return p == c.value; }))
                    continue;
                auto word = [&](std::size_t at) {
                    return at < chars.size() && IsLetterOrDigit(chars[at].original);
                };
                if (request.wholeWord && ((k > 0 && word(k - 1)) || word(k + m)))
                    break;
                offset = static_cast<int>(searchedStart(k)) + 1;
                FindResult hit;
                hit.found = true;
                hit.day = store.GetDateAt(days[index].second);
                const Character& first = request.down ? chars[k] : chars[k + m - 1];
                const Character& last = request.down ? chars[k + m - 1] : chars[k];
                hit.start = static_cast<int>(first.start);
                hit.length = static_cast<int>(last.end - first.start);
                hit.caretAtStart = !request.down;
                lastIndex = index;
                lastStart = hit.start;
                lastLength = hit.length;
                return hit;
            }
            offset = 0;
        }
        index = index < 0 ? n - 1 : 0;
        return FindResult{};
    }

  private:
    struct Character {
        char32_t value, original;
        std::size_t start, end; // in the text
    };

    static std::vector<Character> Searched(const std::string& text, bool matchCase, bool down) {
        std::vector<Character> chars;
        for (std::size_t at = 0; at < text.size();) {
            const Utf8Char c = DecodeUtf8(text, at);
            chars.push_back({matchCase ? c.value : FoldCase(c.value), c.value, at, at + c.length});
            at += c.length;
        }
        if (!down)
            std::reverse(chars.begin(), chars.end());
        return chars;
    }

    int index = 0;
    int offset = 0;
    int lastIndex = -1, lastStart = 0, lastLength = 0;
    bool lastDown = true;
};

TEST(Find, AgreesWithTheLiteralRulesOnRandomDiaries) {
    std::mt19937 random(11);
    auto pick = [&](int below) { return std::uniform_int_distribution<int>(0, below - 1)(random); };
    // Pairs of cases of different lengths, word and non-word characters, and
    // bytes outside UTF-8, which may join their neighbours into a character.
    const std::vector<std::string> alphabet = {"a",      "A", "é",    "É",    "ж",       "Ж", "k",
                                               "\u212a", " ", "-",    "1",    "٢",       "ς", "Σ",
                                               "𐐀",      "𐐨", "\xe4", "\x80", "\xe2\x82"};
    auto randomText = [&](int maxLength) {
        std::string text;
        for (int n = pick(maxLength + 1); n > 0; --n)
            text += alphabet[static_cast<std::size_t>(pick(static_cast<int>(alphabet.size())))];
        return text;
    };
    int hits = 0;
    for (int round = 0; round < 300; ++round) {
        EventStore store;
        const int entries = pick(12);
        for (int i = 0; i < entries; ++i)
            store.Append(Ymd(2026, 1, 1 + pick(10)), randomText(8));
        const FindRequest request{alphabet[static_cast<std::size_t>(pick(8))] + randomText(2),
                                  pick(2) == 0, pick(2) == 0, pick(2) == 0};
        Finder finder;
        LiteralFinder literal;
        std::optional<Date> current;
        if (pick(2) == 0)
            current = Ymd(2026, 1, 1 + pick(10));
        for (int press = 0; press < 20; ++press) {
            if (pick(5) == 0)
                store.SetDayText(Ymd(2026, 1, 1 + pick(10)), randomText(8));
            FindRequest turn = request;
            turn.down = pick(4) != 0 ? request.down : !request.down;
            const FindResult expected = literal.FindNext(store, current, turn);
            const FindResult actual = finder.FindNext(store, current, turn);
            const std::string where = "round " + std::to_string(round) + " press " +
                                      std::to_string(press) + " " +
                                      testing::PrintToString(turn.text);
            ASSERT_EQ(actual.found, expected.found) << where;
            if (!actual.found) {
                current.reset();
                continue;
            }
            ASSERT_EQ(actual.day, expected.day) << where;
            ASSERT_EQ(actual.Anchor(), expected.Anchor()) << where;
            ASSERT_EQ(actual.Caret(), expected.Caret()) << where;
            current = actual.day;
            ++hits;
        }
    }
    EXPECT_GT(hits, 500);
}

// Search All's hits as "day start..end line".
Strings SearchAll(const EventStore& store, const FindRequest& request) {
    DiarySearch search;
    Strings seen;
    for (const SearchHit& hit : search.FindAll(store, request))
        seen.push_back(hit.day.Format(0) + " " + std::to_string(hit.start) + ".." +
                       std::to_string(hit.start + hit.length) + " " + hit.line);
    return seen;
}

TEST(SearchAll, ListsEveryLineThatHoldsTheTextInDateOrder) {
    const Days diary = {
        {Ymd(2026, 3, 12), "Lunch with Anna\r\nanna's bill, ANNA again\r\nnothing"},
        {Ymd(1926, 1, 2), "Anna-Lena\r\n"},
        {Ymd(2026, 3, 12), "a second entry of a day is not searched: Anna"},
        {Ymd(2000, 2, 29), "Annals\r\n09:00 ann  Ann"},
        {Ymd(2001, 5, 1), "Обед с Анной\r\n\u212a for Kelvin"},
    };
    const struct {
        const char* name;
        FindRequest request;
        Strings seen;
    } cases[] = {
        {"case folded, oldest first, one row per line at its first match",
         Down("anna"),
         {"1/2/1926 0..4 Anna-Lena", "2/29/2000 0..4 Annals", "3/12/2026 11..15 Lunch with Anna",
          "3/12/2026 17..21 anna's bill, ANNA again"}},
        {"match case", Down("ANNA", true), {"3/12/2026 30..34 anna's bill, ANNA again"}},
        {"whole word passes over a match inside a word to one that stands alone",
         Down("ann", false, true),
         {"2/29/2000 14..17 09:00 ann  Ann"}},
        {"whole word: a hyphen ends a word",
         Down("anna", false, true),
         {"1/2/1926 0..4 Anna-Lena", "3/12/2026 11..15 Lunch with Anna",
          "3/12/2026 17..21 anna's bill, ANNA again"}},
        {"Cyrillic, offsets in bytes", Down("АННОЙ"), {"5/1/2001 12..22 Обед с Анной"}},
        {"the Kelvin sign is a K", Down("k"), {"5/1/2001 24..27 \u212a for Kelvin"}},
        {"the direction is not looked at",
         Up("bill"),
         {"3/12/2026 24..28 anna's bill, ANNA again"}},
        {"nothing to search for", Down(""), {}},
        {"no hit", Down("Bob"), {}},
    };
    const EventStore store = Diary(diary);
    for (const auto& c : cases)
        EXPECT_EQ(SearchAll(store, c.request), c.seen) << c.name;
}

TEST(SearchAll, SeesEveryChangeOfTheStore) {
    EventStore store = Diary({{Ymd(2026, 3, 12), "dentist"}});
    DiarySearch search;
    EXPECT_EQ(search.FindAll(store, Down("dentist")).size(), 1u);
    store.SetDayText(Ymd(2026, 3, 1), "dentist first");
    store.SetDayText(Ymd(2026, 3, 12), "no more");
    const std::vector<SearchHit> hits = search.FindAll(store, Down("dentist"));
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].day, Ymd(2026, 3, 1));
}

TEST(SearchAll, NewestFirstKeepsTheLinesOfADayInOrder) {
    std::vector<SearchHit> hits;
    for (const auto& [day, start] :
         std::vector<std::pair<int, int>>{{1, 0}, {1, 9}, {2, 0}, {5, 0}, {5, 4}, {5, 8}})
        hits.push_back(SearchHit{Ymd(2026, 1, day), start, 1, ""});
    EXPECT_EQ(RowOrder(hits, false), (std::vector<std::size_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(RowOrder(hits, true), (std::vector<std::size_t>{3, 4, 5, 2, 0, 1}));
    EXPECT_EQ(RowOrder({}, true), std::vector<std::size_t>{});
}

// Search All by its rules, literally: every line decoded and folded as a
// whole, its first match (standing alone, for whole words) a hit.
Strings LiteralSearchAll(const EventStore& store, const FindRequest& request) {
    struct Character {
        char32_t value, original;
        std::size_t start, end;
    };
    auto decode = [&](const std::string& text, std::size_t from, std::size_t to) {
        std::vector<Character> chars;
        for (std::size_t at = from; at < to;) {
            const Utf8Char c = DecodeUtf8(text.substr(0, to), at);
            chars.push_back(
                {request.matchCase ? c.value : FoldCase(c.value), c.value, at, at + c.length});
            at += c.length;
        }
        return chars;
    };
    std::vector<std::pair<std::uint32_t, int>> days;
    for (int i = 0; i < store.GetCount(); ++i) {
        if (store.FindIndex(store.GetDateAt(i)) == i)
            days.emplace_back(store.GetDateAt(i).dayNumber, i);
    }
    std::sort(days.begin(), days.end());
    const std::vector<Character> pattern = decode(request.text, 0, request.text.size());
    const std::size_t m = pattern.size();
    Strings seen;
    for (const auto& day : days) {
        const std::string& text = store.GetTextAt(day.second);
        for (std::size_t lineStart = 0; lineStart <= text.size();) {
            std::size_t lineEnd = text.find("\r\n", lineStart);
            if (lineEnd == std::string::npos)
                lineEnd = text.size();
            const std::vector<Character> chars = decode(text, lineStart, lineEnd);
            for (std::size_t k = 0; m > 0 && k + m <= chars.size(); ++k) {
                if (!std::equal(
                        pattern.begin(), pattern.end(), chars.begin() + k,
                        [](const Character& p, const Character& c) { return p.value == c.value; }))
                    continue;
                auto word = [&](std::size_t at) {
                    return at < chars.size() && IsLetterOrDigit(chars[at].original);
                };
                if (request.wholeWord && ((k > 0 && word(k - 1)) || word(k + m)))
                    continue;
                seen.push_back(store.GetDateAt(day.second).Format(0) + " " +
                               std::to_string(chars[k].start) + ".." +
                               std::to_string(chars[k + m - 1].end) + " " +
                               text.substr(lineStart, lineEnd - lineStart));
                break;
            }
            lineStart = lineEnd + 2;
        }
    }
    return seen;
}

TEST(SearchAll, AgreesWithTheLiteralRulesOnRandomDiaries) {
    std::mt19937 random(23);
    auto pick = [&](int below) { return std::uniform_int_distribution<int>(0, below - 1)(random); };
    const std::vector<std::string> alphabet = {"a", "A", "é", "É", "ж", "Ж", "k",    "\u212a", " ",
                                               "-", "1", "٢", "ς", "Σ", "𐐨", "\xe4", "\r\n"};
    auto randomText = [&](int maxLength) {
        std::string text;
        for (int n = pick(maxLength + 1); n > 0; --n)
            text += alphabet[static_cast<std::size_t>(pick(static_cast<int>(alphabet.size())))];
        return text;
    };
    std::size_t hits = 0;
    for (int round = 0; round < 1000; ++round) {
        EventStore store;
        for (int i = pick(12); i > 0; --i)
            store.Append(Ymd(2026, 1, 1 + pick(10)), randomText(16));
        const FindRequest request{alphabet[static_cast<std::size_t>(pick(8))] + randomText(1), true,
                                  pick(2) == 0, pick(2) == 0};
        const Strings expected = LiteralSearchAll(store, request);
        if (request.text.find('\r') == std::string::npos) {
            EXPECT_EQ(SearchAll(store, request), expected) << testing::PrintToString(request.text);
        }
        hits += expected.size();
    }
    EXPECT_GT(hits, 400u);
}

} // namespace

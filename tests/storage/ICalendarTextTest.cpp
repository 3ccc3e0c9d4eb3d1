#include "storage/ICalendarText.h"

#include "core/Utf8.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(ICalendarText, EscapesAndUnescapes) {
    const struct {
        std::string text;
        std::string escaped;
    } cases[] = {
        {"plain text", "plain text"},
        {"a\\b;c,d", "a\\\\b\\;c\\,d"},
        {"two\nlines", "two\\nlines"},
        {"\\n is no line break", "\\\\n is no line break"},
        {"tab\tkept", "tab\tkept"},
        {"Gr\xC3\xBC\xC3\x9F"
         "e: 10:00",
         "Gr\xC3\xBC\xC3\x9F"
         "e: 10:00"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EscapeText(c.text), c.escaped) << c.text;
        EXPECT_EQ(UnescapeText(c.escaped), c.text) << c.escaped;
    }
    EXPECT_EQ(EscapeText(std::string("bell\a, nul\0.", 12)), "bell\\, nul.") << "controls dropped";
    EXPECT_EQ(UnescapeText("\\N upper\\x, end\\"), "\n upper\\x, end\\");
}

// Folded lines, CR LF each, at most 75 octets, and none beginning inside a
// UTF-8 character or between a backslash and the character it escapes.
void ExpectWellFolded(const std::string& folded, const std::string& line) {
    std::size_t start = 0;
    std::string unfolded;
    for (std::size_t end; (end = folded.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        const std::string physical = folded.substr(start, end - start);
        EXPECT_LE(physical.size(), 75u) << physical;
        const std::string content = start == 0 ? physical : physical.substr(1);
        if (start > 0) {
            EXPECT_EQ(physical[0], ' ');
            EXPECT_TRUE(Utf8CharacterLength(content, 0) > 0) << "split character: " << line;
            std::size_t backslashes = 0;
            while (backslashes < unfolded.size() &&
                   unfolded[unfolded.size() - 1 - backslashes] == '\\')
                ++backslashes;
            EXPECT_EQ(backslashes % 2, 0u) << "split escape: " << line;
        }
        unfolded += content;
    }
    EXPECT_EQ(start, folded.size()) << "ends in CR LF";
    EXPECT_EQ(unfolded, line);
}

TEST(ICalendarText, FoldsAtSeventyFiveOctetsBetweenCharactersAndEscapes) {
    const std::string euro = "\xE2\x82\xAC";
    const struct {
        std::string line;
        int physicalLines;
    } cases[] = {
        {"SUMMARY:" + std::string(67, 'x'), 1},        // exactly 75
        {"SUMMARY:" + std::string(68, 'x'), 2},        // 76
        {"SUMMARY:" + std::string(66, 'x') + euro, 2}, // the euro sign would end at 77
        {"SUMMARY:" + std::string(66, 'x') + "\\,", 2},
        {"SUMMARY:" + std::string(65, 'x') + "\\,", 1},
        {"SUMMARY:" + std::string(300, 'x'), 5},
    };
    for (const auto& c : cases) {
        std::string folded;
        AppendFolded(folded, c.line);
        ExpectWellFolded(folded, c.line);
        std::size_t breaks = 0;
        for (std::size_t at = 0; (at = folded.find("\r\n", at)) != std::string::npos; at += 2)
            ++breaks;
        EXPECT_EQ(breaks, static_cast<std::size_t>(c.physicalLines)) << c.line;
    }
    // Random texts of one- to four-octet characters and escapes, folded and read back.
    const char* const pieces[] = {
        "a",           " ", ",", ";", "\\", "\n", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x8E\x82",
        "\xE6\x97\xA5"};
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 120);
        for (int k = 0; k < length; ++k)
            text += pieces[random() % 10];
        const std::string line = "SUMMARY:" + EscapeText(text);
        std::string folded;
        AppendFolded(folded, line);
        ExpectWellFolded(folded, line);
        const ContentLines read = ReadContentLines(folded);
        ASSERT_EQ(read.lines.size(), 1u) << read.error;
        EXPECT_EQ(UnescapeText(read.lines[0].value), text);
    }
}

TEST(ICalendarText, ReadsContentLines) {
    const struct {
        std::string bytes;
        std::string lines; // NAME[PARAM=value]:value|... or "error"
    } cases[] = {
        {"BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n", "BEGIN:VCALENDAR|END:VCALENDAR"},
        {"begin:vevent\nSummary:Mixed Case\n", "BEGIN:VEVENT|SUMMARY:Mixed Case"},
        {"SUMMARY:fol\r\n ded\r\n\t again\r\nX:y", "SUMMARY:folded again|X:y"},
        {"SUMMARY:lf\n  kept blank\n", "SUMMARY:lf kept blank"},
        {"\r\nX:a\r\n\r\n", "X:a"},
        {"DTSTART;TZID=\"Eastern Standard Time\":20260301T090000",
         "DTSTART[TZID=Eastern Standard Time]:20260301T090000"},
        {"ATTENDEE;CN=\"Doe; John: Jr.\";ROLE=CHAIR:mailto:j@example.com",
         "ATTENDEE[CN=Doe; John: Jr.][ROLE=CHAIR]:mailto:j@example.com"},
        {"DTSTART;value=date;X-A=b,\"c,d\":20260301", "DTSTART[VALUE=DATE][X-A=b,c,d]:20260301"},
        {"X-EMPTY:", "X-EMPTY:"},
        {"no colon here", "error"},
        {" leading continuation", "error"},
        {":no name", "error"},
        {"X;P=\"unclosed:value", "error"},
        {"X;P:value", "error"},
        {"SUMMARY:caf\xE9", "error"},
        {"SUMMARY:split \xC3\r\n \xA9 character", "SUMMARY:split \xC3\xA9 character"},
    };
    for (const auto& c : cases) {
        const ContentLines read = ReadContentLines(c.bytes);
        std::string shown;
        for (const ContentLine& line : read.lines) {
            shown += shown.empty() ? "" : "|";
            shown += line.name;
            for (const auto& [name, value] : line.parameters)
                shown += "[" + name + "=" + value + "]";
            shown += ":" + line.value;
        }
        EXPECT_EQ(read.error.empty() ? shown : "error", c.lines) << c.bytes;
    }
    const ContentLines numbered = ReadContentLines("A:1\r\nB:2\r\n 2\r\nC:3\r\nbroken\r\n");
    EXPECT_EQ(numbered.error, "Line 5 of the file is not an iCalendar line (NAME:value).");
}

} // namespace

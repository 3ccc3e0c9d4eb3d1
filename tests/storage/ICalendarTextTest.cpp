#include "storage/ICalendarText.h"

#include "core/Utf8.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(ICalendarText, EscapesAndUnescapes) {
    // Controls but the tab are dropped, as the format bans them.
    EXPECT_EQ(EscapeText(std::string("a\\b;c,d\ne\tf\a\0\xC3\xA9:", 16)),
              "a\\\\b\\;c\\,d\\ne\tf\xC3\xA9:");
    EXPECT_EQ(UnescapeText("a\\\\b\\;c\\,d\\ne\\N\\x end\\"), "a\\b;c,d\ne\n\\x end\\");
}

// Folded lines, CR LF each, at most 75 octets, and none beginning inside a
// UTF-8 character or between a backslash and the character it escapes;
// unfolded, they give the line back.
void ExpectWellFolded(const std::string& line) {
    std::string folded;
    AppendFolded(folded, line);
    std::size_t start = 0;
    std::string unfolded;
    for (std::size_t end; (end = folded.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        const std::string physical = folded.substr(start, end - start);
        EXPECT_LE(physical.size(), 75u) << physical;
        // A line is cut only where the next piece would not fit.
        if (end + 2 < folded.size()) {
            EXPECT_GE(physical.size(), 71u) << physical;
        }
        if (start > 0) {
            EXPECT_EQ(physical[0], ' ');
            EXPECT_LT(DecodeUtf8(physical, 1).value, kInvalidByte) << "split character: " << line;
            const std::size_t lastOther = unfolded.find_last_not_of('\\');
            const std::size_t backslashes = unfolded.size() - 1 - lastOther;
            EXPECT_EQ(backslashes % 2, 0u) << "split escape: " << line;
        }
        unfolded += start == 0 ? physical : physical.substr(1);
    }
    EXPECT_EQ(start, folded.size()) << "ends in CR LF";
    EXPECT_EQ(unfolded, line);
    const ContentLines read = ReadContentLines(folded);
    ASSERT_EQ(read.lines.size(), 1u) << read.error;
    EXPECT_EQ("SUMMARY:" + read.lines[0].value, line);
}

TEST(ICalendarText, FoldsAtSeventyFiveOctetsBetweenCharactersAndEscapes) {
    ExpectWellFolded("SUMMARY:" + std::string(67, 'x')); // exactly 75: no fold
    ExpectWellFolded("SUMMARY:" + std::string(68, 'x'));
    // Random texts of one- to four-octet characters and escapes.
    const char* const pieces[] = {
        "a",           " ", ",", ";", "\\", "\n", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x8E\x82",
        "\xE6\x97\xA5"};
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (int k = static_cast<int>(random() % 120); k > 0; --k)
            text += pieces[random() % 10];
        ExpectWellFolded("SUMMARY:" + EscapeText(text));
        EXPECT_EQ(UnescapeText(EscapeText(text)), text);
    }
}

} // namespace

#include "core/DayText.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

TEST(DayText, NormalizeLineBreaks) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"", ""},
        {"a\rb\nc", "ab\r\nc"},
        {"a\r\nb", "a\r\nb"},
        {"\n\n", "\r\n\r\n"},
        {"\r\r\n\r", "\r\n"},
        {"a\r\n", "a\r\n"},
        {"\x82\xa0\n\x81\x40", "\x82\xa0\r\n\x81\x40"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NormalizeLineBreaks(c.in), c.out);
        EXPECT_EQ(NormalizeLineBreaks(c.out), c.out) << "normalising twice changes nothing";
    }
}

TEST(DayText, SplitLines) {
    const struct {
        std::string text;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b", ""}},
        {"\r\n", {"", ""}},
        {"a\nb", {"ab"}},
        {"a\rb\r\n\r\nc", {"ab", "", "c"}},
        {"11:00 dentist\r\n12:30 lunch", {"11:00 dentist", "12:30 lunch"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitLines(c.text), c.lines) << testing::PrintToString(c.text);
}

} // namespace

#include "core/Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

namespace {

// The characters of a text as "U+XXXX" or, for a byte outside any sequence,
// "!XX", with the length of each after a slash.
std::string Characters(std::string_view text) {
    std::string out;
    char buffer[16];
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Char c = DecodeUtf8(text, at);
        if (c.value >= kInvalidByte)
            std::snprintf(buffer, sizeof buffer, "!%02X/%zu ", unsigned(c.value - kInvalidByte),
                          c.length);
        else
            std::snprintf(buffer, sizeof buffer, "%04X/%zu ", unsigned(c.value), c.length);
        out += buffer;
        at += c.length;
    }
    return out;
}

TEST(Utf8, DecodesWellFormedSequencesAndNothingElse) {
    const struct {
        const char* what;
        std::string text, characters;
    } cases[] = {
        {"one to four bytes", "a\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80",
         "0061/1 00E9/2 20AC/3 1F600/4 "},
        {"the ends of each length",
         "\x7f\xc2\x80\xdf\xbf\xe0\xa0\x80\xef\xbf\xbf\xf0\x90\x80\x80\xf4\x8f\xbf\xbf",
         "007F/1 0080/2 07FF/2 0800/3 FFFF/3 10000/4 10FFFF/4 "},
        {"around the surrogates", "\xed\x9f\xbf\xee\x80\x80", "D7FF/3 E000/3 "},
        {"overlong", "\xc1\xbf\xe0\x9f\xbf\xf0\x8f\xbf\xbf",
         "!C1/1 !BF/1 !E0/1 !9F/1 !BF/1 !F0/1 !8F/1 !BF/1 !BF/1 "},
        {"surrogate", "\xed\xa0\x80", "!ED/1 !A0/1 !80/1 "},
        {"above U+10FFFF", "\xf4\x90\x80\x80\xf5", "!F4/1 !90/1 !80/1 !80/1 !F5/1 "},
        {"stray continuation bytes", "\xc3\xa9\xa9\x80", "00E9/2 !A9/1 !80/1 "},
        {"lead followed by ASCII", "\xc3z\xe2\x82z", "!C3/1 007A/1 !E2/1 !82/1 007A/1 "},
        {"truncated at the end", "a\xf0\x9f\x98", "0061/1 !F0/1 !9F/1 !98/1 "},
        {"Windows-1252 text", "Gr\xfc\xdf!", "0047/1 0072/1 !FC/1 !DF/1 0021/1 "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Characters(c.text), c.characters) << c.what;
        EXPECT_EQ(IsValidUtf8(c.text), c.characters.find('!') == std::string::npos) << c.what;
    }
}

TEST(Utf8, EveryCodePointSurvivesEncodingAndDecoding) {
    std::string text;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        text.clear();
        AppendUtf8(text, c);
        const std::size_t length = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        ASSERT_EQ(text.size(), length) << std::hex << c;
        const Utf8Char decoded = DecodeUtf8(text, 0);
        ASSERT_EQ(decoded.value, c);
        ASSERT_EQ(decoded.length, length);
        ASSERT_TRUE(IsValidUtf8(text)) << std::hex << c;
    }
}

TEST(Utf8, CutsAndStepsBackByWholeCharacters) {
    // Every cut of random text ends at the last character boundary that fits,
    // and from every boundary the step back reaches the one before.
    std::mt19937 random(3);
    const char* const pieces[] = {"a",    "\xc3\xa9", "\xe2\x82\xac", "\xf0\x9f\x98\x80",
                                  "\x80", "\xe2\x82", "\xf0"};
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        for (int n = std::uniform_int_distribution<int>(0, 8)(random); n > 0; --n)
            text += pieces[std::uniform_int_distribution<int>(0, 6)(random)];
        std::vector<bool> boundary(text.size() + 1, false);
        for (std::size_t at = 0; at < text.size(); at += DecodeUtf8(text, at).length)
            boundary[at] = true;
        boundary[text.size()] = true;
        for (std::size_t maxBytes = 0; maxBytes <= text.size() + 1; ++maxBytes) {
            std::size_t expected = std::min(maxBytes, text.size());
            while (!boundary[expected])
                --expected;
            ASSERT_EQ(Utf8CutLength(text, maxBytes), expected)
                << testing::PrintToString(text) << " " << maxBytes;
        }
        std::size_t previous = 0;
        for (std::size_t at = 1; at <= text.size(); ++at) {
            if (!boundary[at])
                continue;
            ASSERT_EQ(Utf8PreviousCharacter(text, at), previous)
                << testing::PrintToString(text) << " " << at;
            previous = at;
        }
    }
}

TEST(Utf8, CountsUtf16Units) {
    const std::string text = "Grüße, Жук 😀!";
    const std::size_t units[][2] = {{0, 0},   {3, 2},   {4, 3},   {9, 7},
                                    {18, 11}, {20, 13}, {21, 14}, {99, 14}};
    for (const auto& [byteOffset, expected] : units)
        EXPECT_EQ(Utf16Offset(text, byteOffset), expected) << byteOffset;
    EXPECT_EQ(Utf16Length(text), 14u);
    EXPECT_EQ(Utf16Length("a\xe9\x80\xff"), 4u) << "a byte outside UTF-8 is one unit";
    EXPECT_EQ(Utf16Length(""), 0u);
}

TEST(Utf8, ValidTextReplacesOnlyBytesOutsideSequences) {
    const struct {
        std::string text, valid;
    } cases[] = {
        {"a\xC3\xA9" "b", "a\xC3\xA9" "b"},
        {"\xE9t\xE9", "\xEF\xBF\xBDt\xEF\xBF\xBD"},
        {"\xF0\x9F\x98", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}, // a surrogate
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToValidUtf8(c.text), c.valid) << c.text;
        EXPECT_TRUE(IsValidUtf8(ToValidUtf8(c.text)));
    }
}

} // namespace

#include "core/Utf8.h"

#include <gtest/gtest.h>

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
        {"ASCII", "a\x7f", "0061/1 007F/1 "},
        {"two to four bytes", "\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80", "00E9/2 20AC/3 1F600/4 "},
        {"the ends of each length", "\xc2\x80\xdf\xbf\xe0\xa0\x80\xef\xbf\xbf\xf0\x90\x80\x80",
         "0080/2 07FF/2 0800/3 FFFF/3 10000/4 "},
        {"the last code point", "\xf4\x8f\xbf\xbf", "10FFFF/4 "},
        {"around the surrogates", "\xed\x9f\xbf\xee\x80\x80", "D7FF/3 E000/3 "},
        {"overlong two bytes", "\xc0\xaf\xc1\xbf", "!C0/1 !AF/1 !C1/1 !BF/1 "},
        {"overlong three bytes", "\xe0\x9f\xbf", "!E0/1 !9F/1 !BF/1 "},
        {"overlong four bytes", "\xf0\x8f\xbf\xbf", "!F0/1 !8F/1 !BF/1 !BF/1 "},
        {"surrogate", "\xed\xa0\x80", "!ED/1 !A0/1 !80/1 "},
        {"above U+10FFFF", "\xf4\x90\x80\x80", "!F4/1 !90/1 !80/1 !80/1 "},
        {"leads that never start a sequence", "\xf5\x80\xff\xfe", "!F5/1 !80/1 !FF/1 !FE/1 "},
        {"lone continuation bytes", "a\x80\xbf", "0061/1 !80/1 !BF/1 "},
        {"lead followed by ASCII", "\xc3z\xe2\x82z", "!C3/1 007A/1 !E2/1 !82/1 007A/1 "},
        {"truncated at the end", "a\xf0\x9f\x98", "0061/1 !F0/1 !9F/1 !98/1 "},
        {"one too many continuation bytes", "\xc3\xa9\xa9", "00E9/2 !A9/1 "},
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

// UTF-8 as the standard words it: a lead's high bits give the length, the
// value must need that length, and it is no surrogate and at most U+10FFFF.
bool IsValidByDefinition(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80       ? 1
                                   : lead >> 5 == 6  ? 2
                                   : lead >> 4 == 14 ? 3
                                   : lead >> 3 == 30 ? 4
                                                     : 0;
        if (length == 0 || at + length > text.size())
            return false;
        char32_t value = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[at + k]);
            if (next >> 6 != 2)
                return false;
            value = value << 6 | (next & 0x3F);
        }
        const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (value < least[length] || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
            return false;
        at += length;
    }
    return true;
}

TEST(Utf8, ValidityAgreesWithTheDefinitionOnRandomBytes) {
    std::mt19937 random(8);
    // Bytes at the edges of every range, so that short strings hit every rule.
    const unsigned char bytes[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF,
                                   0xC0, 0xC1, 0xC2, 0xDF, 0xE0, 0xE1, 0xEC, 0xED, 0xEE,
                                   0xEF, 0xF0, 0xF1, 0xF3, 0xF4, 0xF5, 0xFF};
    std::uniform_int_distribution<int> length(0, 6), pick(0, sizeof bytes - 1);
    int valid = 0;
    for (int round = 0; round < 200000; ++round) {
        std::string text;
        for (int n = length(random); n > 0; --n)
            text += static_cast<char>(bytes[pick(random)]);
        ASSERT_EQ(IsValidUtf8(text), IsValidByDefinition(text)) << testing::PrintToString(text);
        valid += IsValidUtf8(text);
    }
    EXPECT_GT(valid, 5000);
}

TEST(Utf8, CutsAndStepsBackByWholeCharacters) {
    const struct {
        std::string text;
        std::size_t maxBytes, length;
    } cases[] = {
        {"abc", 5, 3},
        {"abc", 2, 2},
        {"a\xc3\xa9", 2, 1},
        {"a\xc3\xa9", 3, 3},
        {"\xe2\x82\xac\xe2\x82\xac", 4, 3},
        {"\xe2\x82\xac\xe2\x82\xac", 5, 3},
        {"\xf0\x9f\x98\x80!", 3, 0},
        {"\xf0\x9f\x98\x80!", 4, 4},
        {"\xe9\xe9\xe9", 2, 2},         // Windows-1252 bytes are characters of their own
        {"\x80\x80\x80\x80\x80", 4, 4}, // and so are stray continuation bytes
        {"\xc3\xa9\xa9\xa9\xa9", 4, 4}, // after a whole character too
        {"\xe2\x82", 1, 1},             // a truncated sequence is no character
        {"", 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utf8CutLength(c.text, c.maxBytes), c.length)
            << testing::PrintToString(c.text) << " " << c.maxBytes;

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
    const struct {
        std::size_t byteOffset, units;
    } cases[] = {
        {0, 0},   {2, 2},   {3, 2},   {4, 3},   {7, 5},   {8, 6},   {9, 7},
        {15, 10}, {16, 11}, {18, 11}, {20, 13}, {21, 14}, {99, 14},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utf16Offset(text, c.byteOffset), c.units) << c.byteOffset;
    EXPECT_EQ(Utf16Length(text), 14u);
    EXPECT_EQ(Utf16Length("a\xe9\x80\xff"), 4u) << "a byte outside UTF-8 is one unit";
    EXPECT_EQ(Utf16Length(""), 0u);
}

} // namespace

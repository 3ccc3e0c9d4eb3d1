#include "core/Utf8.h"

#include <gtest/gtest.h>

namespace {

TEST(CutUtf8, KeepsWholeCharactersOnly) {
    const struct {
        const char* text;
        std::size_t maxBytes;
        const char* cut;
    } cases[] = {
        {"", 0, ""},
        {"abc", 5, "abc"},
        {"abc", 3, "abc"},
        {"abc", 2, "ab"},
        {"a\xC3\xBC", 2, "a"}, // a two-byte character
        {"a\xC3\xBC", 3, "a\xC3\xBC"},
        {"\xE2\x82\xAC!", 2, ""}, // three bytes
        {"\xE2\x82\xAC!", 3, "\xE2\x82\xAC"},
        {"\xF0\x9F\x98\x80!", 3, ""}, // four bytes
        {"\xF0\x9F\x98\x80!", 4, "\xF0\x9F\x98\x80"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CutUtf8(c.text, c.maxBytes), c.cut) << c.text << " at " << c.maxBytes;
    }
}

} // namespace

#include "core/Utf8.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8, WellFormedOrReplaced) {
    const struct {
        std::string text;
        std::string valid; // with U+FFFD, shown as "?", for each stray byte
    } cases[] = {
        {"Gr\xC3\xBC\xC3\x9F"
         "e \xE2\x82\xAC \xF0\x9F\x8E\x82",
         "Gr\xC3\xBC\xC3\x9F"
         "e \xE2\x82\xAC \xF0\x9F\x8E\x82"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
        {"caf\xE9", "caf?"},                                              // windows-1252, not UTF-8
        {"\x80x", "?x"},                                                  // a trail byte alone
        {"\xC3", "?"},                                                    // cut at the end
        {"\xE2\x82x", "??x"},                                             // cut in the middle
        {"\xC0\xAF", "??"},                                               // overlong
        {"\xE0\x80\xAF", "???"},                                          // overlong
        {"\xED\xA0\x80", "???"},                                          // a surrogate
        {"\xF4\x90\x80\x80", "????"},                                     // above U+10FFFF
        {"\xEF\xBF\xBF\xF4\x8F\xBF\xBF", "\xEF\xBF\xBF\xF4\x8F\xBF\xBF"}, // the highest ones
    };
    for (const auto& c : cases) {
        std::string shown = ToValidUtf8(c.text);
        for (std::size_t at; (at = shown.find("\xEF\xBF\xBD")) != std::string::npos;)
            shown.replace(at, 3, "?");
        EXPECT_EQ(shown, c.valid) << c.text;
        EXPECT_EQ(IsUtf8(c.text), c.valid.find('?') == std::string::npos) << c.text;
        EXPECT_TRUE(IsUtf8(ToValidUtf8(c.text))) << c.text;
    }
}

} // namespace

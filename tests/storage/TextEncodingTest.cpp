#include "storage/TextEncoding.h"

#include "core/Utf8.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <iconv.h>
#endif

namespace {

TEST(TextEncoding, CalendarBytesBecomeUtf8Text) {
    const struct {
        const char* what;
        std::string bytes, text;
    } cases[] = {
        {"ASCII as it is", "\"1/2/2024\";\"a\"\r\n", "\"1/2/2024\";\"a\"\r\n"},
        {"UTF-8 as it is", "Grüße, Жук 😀", "Grüße, Жук 😀"},
        {"empty", "", ""},
        {"byte-order mark skipped", "\xef\xbb\xbf\"x\"", "\"x\""},
        {"byte-order mark alone", "\xef\xbb\xbf", ""},
        {"only a leading mark is one", "x\xef\xbb\xbf", "x\xef\xbb\xbf"},
        {"legacy bytes converted", "Gr\xfc\xdf Gott \x80", "Grüß Gott €"},
        {"UTF-8 mixed with a legacy byte: all of it legacy", "\xc3\xa9=\xe9", "Ã©=é"},
        {"overlong", "\xc0\xaf", "À¯"},
        {"surrogate", "\xed\xa0\x80", "í\u00a0€"},
        {"truncated at the end", "ab\xe2\x82", "abâ‚"},
        {"undefined in 1252: a C1 control", "\x81\x8d\x8f\x90\x9d",
         "\u0081\u008d\u008f\u0090\u009d"},
        {"a mark before legacy bytes goes too", "\xef\xbb\xbf\xe9", "é"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeCalendarBytes(c.bytes, Windows1252ToUtf8), c.text) << c.what;
}

TEST(TextEncoding, WithoutAConverterBytesStayAsTheyAre) {
    for (const std::string bytes : {"Gr\xfc\xdf Gott", "\xef\xbb\xbf\"x\"", "\xc3\xa9=\xe9", ""})
        EXPECT_EQ(DecodeCalendarBytes(bytes, nullptr), bytes) << testing::PrintToString(bytes);
}

#ifndef _WIN32
// The C library's Windows-1252 where it defines a byte; a C1 control where
// it does not (as Windows maps the five undefined bytes).
TEST(TextEncoding, Windows1252AgreesWithIconv) {
    const iconv_t converter = iconv_open("UTF-8", "CP1252");
    ASSERT_NE(converter, reinterpret_cast<iconv_t>(-1));
    int undefined = 0;
    for (int byte = 0x80; byte < 0x100; ++byte) {
        char in[1] = {static_cast<char>(byte)}, out[8];
        char* from = in;
        char* to = out;
        std::size_t inLeft = 1, outLeft = sizeof out;
        std::string expected;
        if (iconv(converter, &from, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1)) {
            AppendUtf8(expected, static_cast<char32_t>(byte));
            ++undefined;
        } else {
            expected.assign(out, to);
        }
        EXPECT_EQ(Windows1252ToUtf8(std::string(1, in[0])), expected) << std::hex << byte;
    }
    iconv_close(converter);
    EXPECT_EQ(undefined, 5);
}
#endif

} // namespace

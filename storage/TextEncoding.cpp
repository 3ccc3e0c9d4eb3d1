#include "storage/TextEncoding.h"

#include "core/Utf8.h"

namespace {

// The code points of the bytes 0x80 to 0x9F; from 0xA0 on a byte is its own
// code point (Latin-1).
const char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

const std::string_view kByteOrderMark = "\xEF\xBB\xBF";

} // namespace

std::string Windows1252ToUtf8(std::string_view legacy) {
    std::string text;
    text.reserve(legacy.size() + legacy.size() / 8);
    for (const char c : legacy) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            text += c;
        else
            AppendUtf8(text, byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte);
    }
    return text;
}

std::string DecodeCalendarBytes(std::string bytes, const LegacyToUtf8& legacyToUtf8) {
    if (!legacyToUtf8)
        return bytes;
    if (bytes.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0)
        bytes.erase(0, kByteOrderMark.size());
    if (IsValidUtf8(bytes))
        return bytes;
    return legacyToUtf8(bytes);
}

#include "core/Utf8.h"

#include <cstdint>
#include <cstring>

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

Utf8Char DecodeUtf8(std::string_view text, std::size_t at) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80)
        return {lead, 1};
    const Utf8Char invalid{kInvalidByte + lead, 1};
    // The lead limits the second byte, which rules out overlong forms,
    // surrogates and code points above U+10FFFF; later bytes are 80 to BF.
    std::size_t length = 0;
    char32_t value = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return invalid;
    }
    if (text.size() - at < length)
        return invalid;
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[at + k]);
        if (next < low || next > high)
            return invalid;
        low = 0x80;
        high = 0xBF;
        value = value << 6 | (next & 0x3F);
    }
    return {value, length};
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        // Eight ASCII bytes at a time: most of a diary.
        if (at + 8 <= text.size()) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + at, 8);
            if ((word & 0x8080808080808080ull) == 0) {
                at += 8;
                continue;
            }
        }
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            ++at;
            continue;
        }
        const Utf8Char c = DecodeUtf8(text, at);
        if (c.value >= kInvalidByte)
            return false;
        at += c.length;
    }
    return true;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
    const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
    if (codePoint < 0x80) {
        out += byte(codePoint);
    } else if (codePoint < 0x800) {
        out += byte(0xC0 | codePoint >> 6);
        out += byte(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += byte(0xE0 | codePoint >> 12);
        out += byte(0x80 | (codePoint >> 6 & 0x3F));
        out += byte(0x80 | (codePoint & 0x3F));
    } else {
        out += byte(0xF0 | codePoint >> 18);
        out += byte(0x80 | (codePoint >> 12 & 0x3F));
        out += byte(0x80 | (codePoint >> 6 & 0x3F));
        out += byte(0x80 | (codePoint & 0x3F));
    }
}

std::size_t Utf8CutLength(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes)
        return text.size();
    // A byte that is not a continuation byte always starts a character, so
    // the character that holds the first byte past the cut starts at most
    // three bytes before it.
    std::size_t start = maxBytes;
    while (start > 0 && maxBytes - start < 3 && IsContinuationByte(text[start]))
        --start;
    return start + DecodeUtf8(text, start).length > maxBytes ? start : maxBytes;
}

std::size_t Utf8PreviousCharacter(std::string_view text, std::size_t end) {
    // As for a cut: the character starts at the nearest byte that is no
    // continuation byte, unless the bytes between are continuation bytes of
    // no character.
    std::size_t start = end - 1;
    while (start > 0 && end - start < 4 && IsContinuationByte(text[start]))
        --start;
    return start + DecodeUtf8(text, start).length == end ? start : end - 1;
}

std::size_t Utf16Offset(std::string_view text, std::size_t byteOffset) {
    std::size_t units = 0;
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Char c = DecodeUtf8(text, at);
        at += c.length;
        if (at > byteOffset)
            break;
        units += c.value >= 0x10000 && c.value < kInvalidByte ? 2 : 1;
    }
    return units;
}

std::string ToValidUtf8(std::string_view text) {
    std::string valid;
    valid.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Char c = DecodeUtf8(text, at);
        if (c.value >= kInvalidByte)
            valid += "\xEF\xBF\xBD";
        else
            valid.append(text, at, c.length);
        at += c.length;
    }
    return valid;
}

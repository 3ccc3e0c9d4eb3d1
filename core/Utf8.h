#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Texts are UTF-8. A text read from an older file without conversion may not
// be: each byte that does not belong to a well-formed sequence is then a
// character of its own, so nothing is lost and every walk moves forward.

// One character of a UTF-8 text.
struct Utf8Char {
    // The code point; for a byte outside any well-formed sequence,
    // kInvalidByte plus the byte, which no code point equals.
    char32_t value;
    std::size_t length; // in bytes, 1 to 4
};

constexpr char32_t kInvalidByte = 0x110000;

// The character that starts at `at`, which must be inside the text.
Utf8Char DecodeUtf8(std::string_view text, std::size_t at);

bool IsValidUtf8(std::string_view text);

// The text with every byte outside a well-formed sequence replaced by
// U+FFFD, for a format that must be UTF-8 whatever the diary holds.
std::string ToValidUtf8(std::string_view text);

// Appends a code point (up to U+10FFFF, no surrogate) as UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);

// The length of the longest start of the text, at most maxBytes long, that
// does not end inside a character.
std::size_t Utf8CutLength(std::string_view text, std::size_t maxBytes);

// Where the character that ends at `end`, a character boundary above 0,
// starts.
std::size_t Utf8PreviousCharacter(std::string_view text, std::size_t end);

// Where a byte offset of a UTF-8 text lies in UTF-16 code units, the units
// of the Windows edit controls: the units of the characters that end at or
// before it. A code point above U+FFFF takes two, everything else one (a
// byte outside any sequence shows as one U+FFFD).
std::size_t Utf16Offset(std::string_view text, std::size_t byteOffset);

inline std::size_t Utf16Length(std::string_view text) {
    return Utf16Offset(text, text.size());
}

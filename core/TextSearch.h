#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

// What the find dialog asks for. Without matchCase, letters of every script
// match regardless of case (the simple case folding of Unicode); wholeWord
// takes letters and digits of every script for word characters.
struct FindRequest {
    std::string text;
    bool down = true;
    bool matchCase = false;
    bool wholeWord = false;
};

// The find text as compared: case-folded unless case matters, kept as UTF-8
// so that a short one needs no allocation. Made once for many texts.
struct SearchPattern {
    std::string text;
    char32_t first; // its first character
    // The bytes that can begin an occurrence: the one or two ASCII bytes
    // of the first character, and every byte outside ASCII, which may begin
    // a character that folds to it (the Kelvin sign to "k"). Most of a diary
    // is ASCII text that cannot, and is passed over a byte at a time.
    std::array<bool, 256> mayBegin;
    bool matchCase;
    bool down;
};

// Needs a request with some text.
SearchPattern MakeSearchPattern(const FindRequest& request);

// An occurrence in a text, in bytes. Folded characters may differ in length
// from the find text's ("K", the Kelvin sign, is three bytes and finds "k").
struct Occurrence {
    std::size_t start, end;
};

// The first occurrence in the text as searched: the text itself downward,
// starting at or after `offset`; the text reversed upward, which is the last
// occurrence in the text that ends at or before length - offset. An offset
// inside a character (one past the start of a hit) begins at the next one.
std::optional<Occurrence> FindOccurrence(const std::string& text, const SearchPattern& pattern,
                                         int offset);

// No letter or digit right before or after the occurrence.
bool StandsAlone(const std::string& text, const Occurrence& occurrence);

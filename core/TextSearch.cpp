#include "core/TextSearch.h"

#include "core/UnicodeCharacters.h"
#include "core/Utf8.h"

#include <algorithm>

namespace {

// The ASCII case folding, looked up without a search in the Unicode tables:
// most diaries are mostly ASCII. A table, not a branch: on mixed-case text a
// branch mispredicts so often that it doubles the time of a search through
// the whole diary.
const struct AsciiFoldTable {
    char32_t folded[128];
    AsciiFoldTable() {
        for (char32_t c = 0; c < 128; ++c)
            folded[c] = FoldCase(c);
    }
} kAsciiFold;

// A character outside ASCII as compared: case-folded, or as it is.
template <bool foldCase> Utf8Char ComparedNonAsciiCharAt(const std::string& text, std::size_t at) {
    Utf8Char c = DecodeUtf8(text, at);
    if (foldCase)
        c.value = FoldCase(c.value);
    return c;
}

// The character at `at` as compared. Small enough to be inlined into the
// loops over every byte of the diary.
template <bool foldCase> inline Utf8Char ComparedCharAt(const std::string& text, std::size_t at) {
    const unsigned char byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80)
        return {foldCase ? kAsciiFold.folded[byte] : byte, 1};
    return ComparedNonAsciiCharAt<foldCase>(text, at);
}

// The end of the occurrence of the pattern's characters from byte
// `patternAt` on that starts at `at`, if there is one.
template <bool foldCase>
std::optional<std::size_t> MatchEnd(const std::string& text, std::size_t at,
                                    const std::string& pattern, std::size_t patternAt) {
    while (patternAt < pattern.size()) {
        if (at == text.size())
            return std::nullopt;
        const Utf8Char expected = ComparedCharAt<false>(pattern, patternAt);
        const Utf8Char c = ComparedCharAt<foldCase>(text, at);
        if (c.value != expected.value)
            return std::nullopt;
        patternAt += expected.length;
        at += c.length;
    }
    return at;
}

// The first occurrence in the text as searched: the text itself downward,
// starting at or after `offset`; the text reversed upward, which is the last
// occurrence in the text that ends at or before length - offset. An offset
// inside a character (one past the start of a hit) begins at the next one.
template <bool foldCase>
std::optional<Occurrence> FindOccurrence(const std::string& text, const SearchPattern& pattern,
                                         int offset) {
    if (offset < 0 || static_cast<std::size_t>(offset) > text.size())
        return std::nullopt;
    std::size_t at = 0;
    if (pattern.down) {
        const std::size_t cut = Utf8CutLength(text, static_cast<std::size_t>(offset));
        at = cut == static_cast<std::size_t>(offset) ? cut : cut + DecodeUtf8(text, cut).length;
    }
    const std::size_t endLimit = pattern.down ? text.size() : text.size() - offset;
    const std::size_t firstLength = ComparedCharAt<false>(pattern.text, 0).length;
    std::optional<Occurrence> found;
    while (at < endLimit) {
        // Bytes that cannot begin a hit are ASCII, a character each, so
        // passing over them keeps to character boundaries.
        at = std::find_if(
                 text.data() + at, text.data() + endLimit,
                 [&pattern](char c) { return pattern.mayBegin[static_cast<unsigned char>(c)]; }) -
             text.data();
        if (at == endLimit)
            break;
        const Utf8Char c = ComparedCharAt<foldCase>(text, at);
        if (c.value == pattern.first) {
            const std::optional<std::size_t> end =
                MatchEnd<foldCase>(text, at + c.length, pattern.text, firstLength);
            // Occurrences end in the order they start: past the limit, none is left.
            if (end && *end > endLimit)
                break;
            if (end) {
                found = Occurrence{at, *end};
                if (pattern.down)
                    break;
            }
        }
        at += c.length;
    }
    return found;
}

bool IsWordCharacter(char32_t c) {
    if (c < 0x80)
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return IsLetterOrDigit(c);
}

} // namespace

SearchPattern MakeSearchPattern(const FindRequest& request) {
    SearchPattern pattern{{}, 0, {}, request.matchCase, request.down};
    for (std::size_t at = 0; at < request.text.size();) {
        const Utf8Char c = request.matchCase ? ComparedCharAt<false>(request.text, at)
                                             : ComparedCharAt<true>(request.text, at);
        // A byte outside UTF-8 is kept, and stays outside UTF-8 in the folded
        // text: what follows it there is the same bytes as before or a
        // character, and no character begins with a continuation byte.
        if (c.value >= kInvalidByte)
            pattern.text += request.text[at];
        else
            AppendUtf8(pattern.text, c.value);
        at += c.length;
    }
    pattern.first = ComparedCharAt<false>(pattern.text, 0).value;
    std::fill(pattern.mayBegin.begin(), pattern.mayBegin.begin() + 0x80, false);
    std::fill(pattern.mayBegin.begin() + 0x80, pattern.mayBegin.end(), true);
    if (pattern.first < 0x80) {
        pattern.mayBegin[pattern.first] = true;
        if (!pattern.matchCase && pattern.first >= 'a' && pattern.first <= 'z')
            pattern.mayBegin[pattern.first - 'a' + 'A'] = true;
    }
    return pattern;
}

std::optional<Occurrence> FindOccurrence(const std::string& text, const SearchPattern& pattern,
                                         int offset) {
    return pattern.matchCase ? FindOccurrence<false>(text, pattern, offset)
                             : FindOccurrence<true>(text, pattern, offset);
}

bool StandsAlone(const std::string& text, const Occurrence& occurrence) {
    return !(occurrence.start > 0 &&
             IsWordCharacter(
                 DecodeUtf8(text, Utf8PreviousCharacter(text, occurrence.start)).value)) &&
           !(occurrence.end < text.size() &&
             IsWordCharacter(DecodeUtf8(text, occurrence.end).value));
}

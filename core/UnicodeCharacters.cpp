#include "core/UnicodeCharacters.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace {

// first, first + step, ... up to last fold to themselves plus delta; with a
// step of 2 the code points between them (the other case) do not fold.
struct FoldRun {
    char32_t first, last;
    std::int32_t delta;
    std::uint32_t step;
};

struct CodePointRange {
    char32_t first, last;
};

#include "core/UnicodeTables.inc"

// The table entry that starts at or before c, if any.
template <typename Entry, std::size_t size>
const Entry* LastStartingAtOrBefore(const Entry (&table)[size], char32_t c) {
    const Entry* after = std::upper_bound(std::begin(table), std::end(table), c,
                                          [](char32_t c, const Entry& e) { return c < e.first; });
    return after == std::begin(table) ? nullptr : after - 1;
}

} // namespace

char32_t FoldCase(char32_t c) {
    const FoldRun* run = LastStartingAtOrBefore(kFoldRuns, c);
    if (run == nullptr || c > run->last || (c - run->first) % run->step != 0)
        return c;
    return static_cast<char32_t>(static_cast<std::int32_t>(c) + run->delta);
}

bool IsLetterOrDigit(char32_t c) {
    const CodePointRange* range = LastStartingAtOrBefore(kWordRanges, c);
    return range != nullptr && c <= range->last;
}

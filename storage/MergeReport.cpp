#include "storage/MergeReport.h"

#include "res/MessageTexts.h"

#include <cstdio>

std::string DayCountText(int count) {
    if (count == 1)
        return ORVIK_DAY_COUNT_ONE;
    char text[32];
    std::snprintf(text, sizeof text, ORVIK_DAY_COUNT, count);
    return text;
}

std::string ConflictDatesText(const std::vector<Date>& days, std::size_t shown) {
    std::string text;
    for (std::size_t i = 0; i < days.size() && i < shown; ++i)
        text += days[i].Format(3) + "\n";
    if (days.size() > shown) {
        char more[48];
        std::snprintf(more, sizeof more, ORVIK_MERGE_MORE_DATES,
                      static_cast<int>(days.size() - shown));
        text += more;
    }
    return text;
}

// The date text constructor on any text: every result is a consistent date,
// and the dates it reads come back from their file and screen forms.
#include "core/Date.h"
#include "core/Now.h"
#include "fuzz/Invariant.h"

#include <cstdint>
#include <string>

namespace {

bool SameFields(const Date& a, const Date& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // "Today" and a missing year read the clock; a pinned one keeps runs repeatable.
    PinNow(1796558400); // 6 December 2026
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const Date date(text.c_str());

    Require(date.weekday == static_cast<int>((date.dayNumber + 1u) % 7u + 1u),
            "the weekday follows the day number");
    Require(Date(date).dayNumber == date.dayNumber, "the day number follows the fields");
    if (date.month == 0) {
        Require(date.year == 0 && date.day == 0 && date.dayNumber == 1721028,
                "an unreadable text gives the zero date");
        return 0;
    }
    Require(date.month > 0 && date.day > 0, "a read date has a positive month and day");
    Require(date.year < 1 || date.year > 99, "two-digit years are read as 19xx");

    // Every date of the year 0 is written as "invalid date", by design.
    if (date.year != 0)
        Require(SameFields(Date(date.Format(0).c_str()), date), "the file form reads back");
    if (date.month <= 12)
        Require(SameFields(Date(date.Format(3).c_str()), date), "the screen form reads back");
    return 0;
}

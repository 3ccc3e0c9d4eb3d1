// The calendar-file reader on any bytes: whatever it reads is written and
// read again with the same entries, and writing that gives the same bytes.
#include "core/Now.h"
#include "fuzz/Invariant.h"
#include "storage/CalendarFile.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    PinNow(1796558400); // 6 December 2026: "Today" and missing years stay put
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    EventStore read;
    Require(ParseCalendar(bytes, read), "any file fits in memory here");

    const std::string written = FormatCalendar(read);
    EventStore readBack;
    Require(ParseCalendar(written, readBack), "the written file fits in memory");
    Require(readBack.GetCount() == read.GetCount(), "every entry read comes back");
    for (int i = 0; i < read.GetCount(); ++i) {
        Require(readBack.GetTextAt(i) == read.GetTextAt(i), "texts come back unchanged");
        // Compared in the file form: dates that are written as "invalid date"
        // (the year 0) come back as the zero date, by design.
        Require(readBack.GetDateAt(i).Format(0) == read.GetDateAt(i).Format(0), "dates come back");
    }
    Require(FormatCalendar(readBack) == written, "writing again gives the same bytes");
    return 0;
}

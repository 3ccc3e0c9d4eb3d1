// The event-time parser on any line, against the C library's sscanf with the
// three patterns it stands in for.
#include "core/EventTime.h"
#include "fuzz/Invariant.h"
#include "tests/support/SscanfEventTime.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The whole bytes for ours; sscanf stops at the first NUL, and so must it.
    const std::string line(reinterpret_cast<const char*>(data), size);
    const std::optional<TimeOfDay> ours = ParseEventTime(line);
    const std::optional<TimeOfDay> expected = SscanfEventTime(line);
    Require(ours.has_value() == expected.has_value(), "an event exactly where sscanf reads one");
    if (ours) {
        Require(ours->hour == expected->hour, "the hour sscanf reads");
        Require(ours->minute == expected->minute, "the minute sscanf reads");
    }
    return 0;
}
